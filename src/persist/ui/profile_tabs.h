#pragma once
// The profile tabs of the main window (2049 + p for profile p) and what
// manages the profiles from there: selecting by tab or from the profile
// list above the "Profiles" button, the slot menu of a tab or list row
// (import, export, rename, delete), the add button and the current
// profile's rename, export and import buttons.
//
// Only the shown profiles have a visible tab, each captioned with its
// profile's name; where the shown tabs sit is the layout's business (it
// re-reads the shown list on every paint).
//
// The handlers read what the user chose and call the profile operations of
// persist/profile_manager.h, which hold the rules; a refusal or failure
// comes back as a text, shown here in the window's message box.
//
// Window thread only.
#include <functional>
#include <string>

#include "persist/ui/profile_ids.h"
#include "platform/window/geometry.h"
#include "ui/section_host.h"

class CDlgBase;
class CComboProfilePopup;
class CProfileRKeyPopup;
struct PopupResult;
struct ProfileRecord;
struct ProfileResult;

// Shows the tabs of the profiles in the shown list, hides the others and
// sets every tab's caption to its profile's name.
void RefreshProfileTabs(const CDlgBase& dlg);
// Whether profile p is among the first ProfileShowCount entries of the list.
bool IsProfileShown(int p);

class CProfileTabsSection final : public CWindowSection {
public:
    static constexpr UINT kFirstTab = profile_ids::kFirstTab;  // + p for profile p
    // The tabs and the buttons under them come first; the "Profiles" button
    // of the bottom row later, in the window's tab order.
    enum Part { kPartTabs = 0, kPartListButton = 1 };

    // What a menu choice does once the menu is gone (the action timer).
    enum class Action { Import = 0, Export = 1, Rename = 2, Delete = 3, Add = 4, TooMany = 5, None = 6, Games = 7 };

    // selection: the window's index of the profile it shows, which the tabs
    // share. refreshWindow: the window's refresh of every section from the
    // current profile (the tabs, the button captions, the settings), which
    // follows every change of the profiles. openGames: the window's dialog of
    // the games bound to a profile.
    CProfileTabsSection(ISectionHost& host, int* selection, std::function<void()> refreshWindow = {},
                        std::function<void(int)> openGames = {});

    void MapMessages(CDlgBase& dlg) override;
    // The tabs at the places of the first five shown profiles, the add button
    // and the current profile's buttons below three of them (the layout moves
    // them with the shown list); or the "Profiles" button.
    void CreateControls(ISectionPlaces& at, int part) override;
    void OnControlsCreated() override;
    // Every tab, whatever the working profile (the names come from all profiles).
    void Refresh(const ProfileRecord* profile) override;
    bool OnTimer(UINT id) override;

    // ---- what the handlers do; the window's messages lead here ----
    // Makes a shown profile current and sends the mouse what differs.
    void Select(int index);
    void AddProfile();
    void RenameProfile(int index);
    void DeleteProfile(int index);
    void ImportProfile(int index);
    void ExportProfile(int index);

    // The open menus (null when closed), for tests.
    CComboProfilePopup* List() const;
    CProfileRKeyPopup* SlotMenu() const;
    Action PendingAction() const { return action_; }
    int PendingTarget() const { return target_; }

private:
    void OnListButton(LPARAM event);
    void OpenList();
    void OnListReport(WPARAM event, LPARAM row);
    void OnListDismissed();
    // The slot menu for a profile next to an anchor (client coordinates).
    void OpenSlotMenu(int index, const Rect& anchor, bool fromList);
    void OnSlotMenuChoice(int index, const PopupResult& chosen);
    void OnSlotMenuDismissed();
    void CloseMenus();
    void Defer(Action action, int target);
    void Perform(Action action, int target);
    // After an operation: the window shows what changed, and the message
    // box says why, when it failed or was refused.
    void Finish(const ProfileResult& result);
    // The mouse gets the current profile's settings that it does not hold.
    void ApplyCurrent();
    bool CursorInside(const CWndPopup* popup) const;

    int* selection_;
    std::function<void()> refreshWindow_;
    std::function<void(int)> openGames_;
    Action action_ = Action::None;
    int target_ = -1;
    // Whether the list was open when the pointer was last over the list
    // button: the press that closes the list (by taking the focus from it)
    // must not open it again on its release.
    bool listOpenAtHover_ = false;
    UINT slotMenuAnchor_ = 0;  // the control the slot menu opened from
    bool openingSlotMenu_ = false;
};
