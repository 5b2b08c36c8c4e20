#pragma once
// CButtonListSection: the main window's list of programmable buttons, one
// combo per button (ids from kFirstCombo), each showing its button's
// function. The combos report with one shared message; their hover belongs
// to the mouse picture, their click to the button menus of this section.
//
// A click opens the function menu; hovering its rows opens one sub-menu at
// a time (DPI, DPI lock, multimedia, office, desktop, or the macros: of the
// only set, or through the list of sets when there are several); two rows
// open the key-combination and fire dialogs. Whatever the path, the choice
// is stored by AssignButtonFunction, which also keeps a left button on the
// mouse; a refused choice is told 100 ms later, once the menus are gone.
//
// Window thread only (see ui/section_host.h).
#include <optional>
#include <string>

#include "buttons/ui/button_list_ids.h"
#include "platform/window/geometry.h"
#include "ui/section_host.h"

class CComboButton;
class CItemPopup;
class MacroLibrary;
struct AssignmentOutcome;
struct ButtonFunctionCode;
struct KeyCombination;
struct MacroKey;
struct MenuBox;
struct PopupResult;


class CButtonListSection final : public CWindowSection {
public:
    static constexpr UINT kFirstCombo = button_list::kFirstCombo;  // + i for button i

    // The macros offered are those of `library` (the application's by default).
    explicit CButtonListSection(ISectionHost& host, const MacroLibrary* library = nullptr);

    void MapMessages(CDlgBase& dlg) override;
    // The number badges and the combos, one row per button.
    void CreateControls(ISectionPlaces& at, int part) override;
    // Sets each combo's label from the profile's button labels.
    void Refresh(const ProfileRecord* profile) override;
    bool OnTimer(UINT id) override;

    // Profile `index` (0-4) -> the eight captions; other indexes change nothing.
    void RefreshButtonCaptions(int profileIndex);

private:
    void OnComboClick(WPARAM comboId);
    void OpenSubMenu(UINT message, WPARAM comboId);
    void OpenMacroSets(WPARAM comboId);
    void OpenMacroSet(WPARAM comboId, int setIndex);
    void OnPlainRowHovered();
    void RaiseOpenMenus();
    void OnMenuChoice(WPARAM comboId, const PopupResult& chosen);
    // The macro chosen is read from the macro popup in its slot.
    void OnMacroChoice(WPARAM comboId);
    void OnMenuDismissed(WPARAM comboId, LPARAM kind);
    void OnSubMenuDismissed(WPARAM comboId, LPARAM kind);
    void OnMacroSetsDismissed(WPARAM comboId);
    void OnMacroDismissed(WPARAM comboId, LPARAM kind);
    void OnDialogRowClicked(WPARAM comboId, UINT openMessage);
    void RunKeyDialog();
    void RunFireDialog();
    // What the key-combination or fire dialog answered OK with.
    void OnDialogChoice(const std::optional<KeyCombination>& chosen);

    // Stores a choice for the combo and shows what came of it.
    void Assign(CComboButton& combo, int comboId, const std::u16string& label, ButtonFunctionCode code,
                const MacroKey* macro);
    // Creates the popup at box (client coordinates of the window), keeps it
    // on the work area and puts it in slot; false (and nothing kept) when
    // the window could not be made.
    bool Show(CItemPopup* popup, const MenuBox& box, UINT dismissal, WPARAM comboId, int slot);
    CComboButton* Combo(WPARAM id) const;
    CWndPopup* InSlot(int slot) const;
    bool CursorInside(const CWndPopup* popup) const;
    bool MacroListOpen() const;
    void CloseSubMenus();
    void CloseAll();
    void MarkClosed(WPARAM comboId);
    void CloseCombo(CComboButton& combo);

    // The library the menus show; the application's is read on first use.
    const MacroLibrary& Library() const;
    const MacroLibrary& library_;
    int dialogCombo_ = 0;  // the combo whose dialog runs
    int warningText_ = 0;  // shown when the warning timer runs out
    bool creating_ = false;  // a popup of the chain is being made
};
