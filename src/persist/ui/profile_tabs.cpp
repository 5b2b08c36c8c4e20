#include "persist/ui/profile_tabs.h"

#include <array>
#include <string>
#include <vector>

#include "persist/profile_manager.h"
#include "persist/settings_file.h"
#include "base/text_codec.h"
#include "persist/ui/add_profile_dlg.h"
#include "persist/ui/combo_profile_popup.h"
#include "persist/ui/edit_profile_dlg.h"
#include "persist/ui/profile_ids.h"
#include "persist/ui/profile_popup_places.h"
#include "persist/ui/profile_rkey_popup.h"
#include "base/ui_text.h"
#include "platform/shell/shell_services.h"
#include "profile/profile_record.h"
#include "ui/control_events.h"
#include "ui/dlg_base.h"
#include "ui/long_message_dlg.h"
#include "ui/tab_control.h"
#include "ui/ui_scale.h"

using namespace profile_ids;

namespace {

platform::FileDialogParams ProfileFileDialog(int titleText)
{
    platform::FileDialogParams p;
    p.title = UiText(titleText);
    p.filter = u"psf file(*.psf)|*.psf||";
    p.defaultExt = u"psf";
    p.initialName = u".psf";
    return p;  // the initial folder: the process's current one
}

}  // namespace

bool IsProfileShown(int p) { return ReadProfileSlots().IsShown(p); }

void RefreshProfileTabs(const CDlgBase& dlg)
{
    const HWND w = dlg.GetSafeHwnd();
    bool shownChanged = false;
    std::vector<const CTabControl*> changed;
    const ProfileSlots slots = ReadProfileSlots();
    for (int p = 0; p < kProfileCount; ++p) {
        auto* tab = dlg.Find<CTabControl>(CProfileTabsSection::kFirstTab + UINT(p));
        if (!tab) continue;
        const bool shown = slots.IsShown(p);
        std::u16string name = GetProfileName(g_profiles[size_t(p)]);
        if (tab->IsVisible() != shown) shownChanged = true;
        if (shown && (tab->label != name || tab->LookChanged())) changed.push_back(tab);
        tab->SetVisible(shown);
        tab->label = std::move(name);
    }
    if (!w || !platform::g_windowHost) return;
    // A tab that comes or goes moves the tabs below it and the add button:
    // the whole window. Otherwise only the tabs whose caption or selected
    // look changed (an apply refreshes from the profile, and repainting the
    // whole window for it kept the window thread busy too long).
    if (shownChanged) {
        platform::g_windowHost->Invalidate(w);
        return;
    }
    for (const CTabControl* tab : changed) platform::g_windowHost->InvalidateRect(w, tab->GetRect());
}

CProfileTabsSection::CProfileTabsSection(ISectionHost& host, int* selection, std::function<void()> refreshWindow,
                                         std::function<void(int)> openGames)
    : CWindowSection(host), selection_(selection), refreshWindow_(std::move(refreshWindow)),
      openGames_(std::move(openGames))
{
}

void CProfileTabsSection::MapMessages(CDlgBase& dlg)
{
    for (int p = 0; p < kTabCount; ++p) {
        dlg.MapMessage(kFirstTab + UINT(p), [this, p](WPARAM, LPARAM event) -> LRESULT {
            if (event == CE_CLICK) Select(p);
            if (event == CE_RCLICK)
                if (auto* tab = host_.Dialog().FindControl(kFirstTab + UINT(p))) OpenSlotMenu(p, tab->GetRect(), false);
            return 0;
        });
    }
    dlg.MapClick(kAdd, [this] { AddProfile(); });
    // The current profile's own buttons act at once: no menu to close first.
    dlg.MapClick(kRename, [this] { RenameProfile(GetCurrentProfile()); });
    dlg.MapClick(kExport, [this] { ExportProfile(GetCurrentProfile()); });
    dlg.MapClick(kImport, [this] { ImportProfile(GetCurrentProfile()); });
    dlg.MapMessage(kListButton, [this](WPARAM, LPARAM event) {
        OnListButton(event);
        return LRESULT(0);
    });
    dlg.MapMessage(kMsgListReport, [this](WPARAM w, LPARAM l) {
        OnListReport(w, l);
        return LRESULT(0);
    });
    dlg.MapMessage(kMsgListDismissed, [this](WPARAM, LPARAM kind) {
        if (kind == CComboProfilePopup::kKind) OnListDismissed();
        return LRESULT(0);
    });
    dlg.MapMessage(kMsgSlotMenuDismissed, [this](WPARAM, LPARAM kind) {
        if (kind == CProfileRKeyPopup::kKind) OnSlotMenuDismissed();
        return LRESULT(0);
    });
}

void CProfileTabsSection::OnControlsCreated()
{
    for (int p = 0; p < kProfileCount; ++p)
        if (auto* tab = host_.Dialog().Find<CTabControl>(kFirstTab + UINT(p))) tab->BindSelection(selection_, p);
}

void CProfileTabsSection::Refresh(const ProfileRecord*) { RefreshProfileTabs(host_.Dialog()); }

// ---- operations ---------------------------------------------------------------------------

void CProfileTabsSection::ApplyCurrent()
{
    // Everything the profile holds; the apply compares each report with
    // what the mouse was last sent and sends only what differs.
    host_.ScheduleApply(PendingGroup::Keys);
    host_.ScheduleApply(PendingGroup::DpiAndMore);
    host_.ScheduleApply(PendingGroup::Power);
    host_.ScheduleApply(PendingGroup::Wake);
}

void CProfileTabsSection::Finish(const ProfileResult& result)
{
    if (result.changed && refreshWindow_) refreshWindow_();
    if (result.Done()) return;
    if (result.path.empty()) {
        host_.MessageBox(result.Message());
        return;
    }
    // A message that names a file is longer than the standard box holds.
    CLongMessageDlg box(result.Message(), Utf8ToU16(result.path), host_.Dialog().GetSafeHwnd());
    host_.RunModal(box);
}

void CProfileTabsSection::Select(int index)
{
    const ProfileResult r = ::SelectProfile(index);
    if (refreshWindow_) refreshWindow_();
    if (!r.Done()) return;  // a hidden profile has no tab or row to pick it from
    ApplyCurrent();
}

void CProfileTabsSection::AddProfile()
{
    if (ProfileResult can = CanAddProfile(); !can.Done()) {
        Finish(can);
        return;
    }
    CAddProfileDlg dlg(host_.Dialog().GetSafeHwnd());
    if (host_.RunModal(dlg) != IDOK) return;
    Finish(::AddProfile(dlg.Name()));
}

void CProfileTabsSection::RenameProfile(int index)
{
    if (index < 0 || index >= kProfileCount) return;
    CEditProfileDlg dlg(GetProfileName(g_profiles[size_t(index)]), host_.Dialog().GetSafeHwnd());
    if (host_.RunModal(dlg) != IDOK) return;
    Finish(::RenameProfile(index, dlg.Name()));
}

void CProfileTabsSection::DeleteProfile(int index) { Finish(::DeleteProfile(index)); }

void CProfileTabsSection::ImportProfile(int index)
{
    if (!platform::g_shellServices) return;
    const auto path = platform::g_shellServices->GetOpenFileName(ProfileFileDialog(142));
    if (!path) return;
    const ProfileResult r = ::ImportProfile(index, *path);
    Finish(r);
    // The window now shows the imported settings; the mouse must hold them too.
    if (r.changed && index == GetCurrentProfile()) ApplyCurrent();
}

void CProfileTabsSection::ExportProfile(int index)
{
    if (!platform::g_shellServices) return;
    const auto path = platform::g_shellServices->GetSaveFileName(ProfileFileDialog(143));
    if (!path) return;
    Finish(::ExportProfile(index, *path));
}

// ---- the profile list -----------------------------------------------------------------------

CComboProfilePopup* CProfileTabsSection::List() const
{
    return dynamic_cast<CComboProfilePopup*>(host_.Dialog().Popup(kListSlot));
}

CProfileRKeyPopup* CProfileTabsSection::SlotMenu() const
{
    return dynamic_cast<CProfileRKeyPopup*>(host_.Dialog().Popup(kSlotMenuSlot));
}

bool CProfileTabsSection::CursorInside(const CWndPopup* popup) const
{
    if (!popup || !popup->GetSafeHwnd() || !platform::g_windowHost) return false;
    auto& h = *platform::g_windowHost;
    return h.GetWindowRect(popup->GetSafeHwnd()).Contains(h.GetCursorPos());
}

void CProfileTabsSection::OnListButton(LPARAM event)
{
    if (event == CE_HOVER) {
        listOpenAtHover_ = List() != nullptr;
        return;
    }
    if (event != CE_CLICK) return;
    // A second click closes the list. The press may already have closed it
    // (the list lost the focus to the window); the hover flag remembers it.
    const bool wasOpen = listOpenAtHover_ || List() != nullptr;
    listOpenAtHover_ = false;
    if (wasOpen) {
        CloseMenus();
        return;
    }
    OpenList();
}

void CProfileTabsSection::OpenList()
{
    CDlgBase& dlg = host_.Dialog();
    CControlBase* button = dlg.FindControl(kListButton);
    if (!button || !platform::g_windowHost) return;
    CloseMenus();

    const ProfileSlots slots = ReadProfileSlots();
    std::array<std::u16string, 5> names;
    int currentRow = 0;
    for (int k = 0; k < slots.count; ++k) {
        const int p = slots.list[size_t(k)];
        names[size_t(k)] = GetProfileName(g_profiles[size_t(p)]);
        if (p == slots.current) currentRow = CComboProfilePopup::kFirstProfileRow + k;
    }
    auto* list = new CComboProfilePopup(std::move(names), currentRow);
    const Rect place = ProfileListPlace(button->GetRect(), g_uiScale);
    const Point screen = platform::g_windowHost->ClientToScreen(dlg.GetSafeHwnd(), place.TopLeft());
    if (!list->Create(dlg.GetSafeHwnd(), Rect::FromSize(screen.x, screen.y, place.Width(), place.Height()),
                      kMsgListReport, int(kListButton), kMsgListDismissed)) {
        delete list;
        return;
    }
    host_.OpenPopup(kListSlot, list);
}

void CProfileTabsSection::OnListReport(WPARAM event, LPARAM row)
{
    const ProfileSlots slots = ReadProfileSlots();
    const int position = int(row) - CComboProfilePopup::kFirstProfileRow;
    const bool profileRow = position >= 0 && position < slots.count;
    if (event == CE_CLICK && row == CComboProfilePopup::kAddRow) {
        CloseMenus();
        Defer(CanAddProfile().Done() ? Action::Add : Action::TooMany, -1);
    } else if (event == CE_CLICK && profileRow) {
        CloseMenus();
        Select(slots.list[size_t(position)]);
    } else if (event == CE_RCLICK && profileRow) {
        if (CControlBase* button = host_.Dialog().FindControl(kListButton))
            OpenSlotMenu(slots.list[size_t(position)], ProfileListRowPlace(button->GetRect(), int(row), g_uiScale),
                         true);
    }
}

void CProfileTabsSection::OnListDismissed()
{
    // Opening the slot menu from a row takes the focus from the list (before
    // the menu is even in its slot); the list stays while its slot menu is
    // open, and closes with it.
    if (openingSlotMenu_ || SlotMenu()) return;
    host_.ClosePopup(kListSlot);
}

// ---- the slot menu ----------------------------------------------------------------------------

void CProfileTabsSection::OpenSlotMenu(int index, const Rect& anchor, bool fromList)
{
    CDlgBase& dlg = host_.Dialog();
    if (!platform::g_windowHost || index < 0 || index >= kProfileCount) return;
    host_.ClosePopup(kSlotMenuSlot);
    auto& h = *platform::g_windowHost;

    SlotMenuPlaceInput in;
    in.anchor = anchor;
    in.fromList = fromList;
    in.clientOrigin = h.ClientToScreen(dlg.GetSafeHwnd(), {0, 0});
    in.workBottom = h.GetWorkArea().bottom;
    const Point at = SlotMenuPlace(in, g_uiScale);
    const int size = ScaleUnits(300);

    auto* menu = new CProfileRKeyPopup();
    menu->OnChoice([this, index](const PopupResult& chosen) { OnSlotMenuChoice(index, chosen); });
    openingSlotMenu_ = true;
    const bool made = menu->Create(dlg.GetSafeHwnd(), Rect::FromSize(at.x, at.y, size, size), 0,
                                   int(kFirstTab) + index, kMsgSlotMenuDismissed);
    openingSlotMenu_ = false;
    if (!made) {
        delete menu;
        return;
    }
    // Its real height is known now that its items are laid out.
    const Rect shown = h.GetWindowRect(menu->GetSafeHwnd());
    in.menuHeight = shown.Height();
    const Point fitted = SlotMenuPlace(in, g_uiScale);
    if (fitted.y != shown.top)
        h.SetWindowPos(menu->GetSafeHwnd(), Rect::FromSize(fitted.x, fitted.y, shown.Width(), shown.Height()));
    slotMenuAnchor_ = fromList ? kListButton : kFirstTab + UINT(index);
    host_.OpenPopup(kSlotMenuSlot, menu);
}

void CProfileTabsSection::OnSlotMenuChoice(int index, const PopupResult& chosen)
{
    const int action = chosen.bytes[0];
    if (action < 0 || action > CProfileRKeyPopup::kGames) return;
    CloseMenus();
    Defer(action == CProfileRKeyPopup::kGames ? Action::Games : static_cast<Action>(action), index);
}

void CProfileTabsSection::OnSlotMenuDismissed()
{
    CProfileRKeyPopup* menu = SlotMenu();
    if (!menu || CursorInside(menu)) return;
    if (CControlBase* anchor = host_.Dialog().FindControl(slotMenuAnchor_)) host_.RepaintControl(anchor);
    host_.ClosePopup(kSlotMenuSlot);
    // A click back on the list keeps the list; anywhere else closes it too.
    if (!CursorInside(List())) host_.ClosePopup(kListSlot);
}

void CProfileTabsSection::CloseMenus()
{
    host_.ClosePopup(kSlotMenuSlot);
    host_.ClosePopup(kListSlot);
}

// ---- the action timer ---------------------------------------------------------------------

void CProfileTabsSection::Defer(Action action, int target)
{
    action_ = action;
    target_ = target;
    host_.StartTimer(int(kTimerAction), kActionDelayMs);
}

bool CProfileTabsSection::OnTimer(UINT id)
{
    if (id != kTimerAction) return false;
    host_.StopTimer(int(kTimerAction));
    const Action action = action_;
    const int target = target_;
    action_ = Action::None;
    target_ = -1;
    Perform(action, target);
    return true;
}

void CProfileTabsSection::Perform(Action action, int target)
{
    switch (action) {
    case Action::Import: ImportProfile(target); break;
    case Action::Export: ExportProfile(target); break;
    case Action::Rename: RenameProfile(target); break;
    case Action::Delete: DeleteProfile(target); break;
    case Action::Add: AddProfile(); break;
    case Action::TooMany: host_.MessageBox(UiText(kTextTooManyProfiles)); break;
    case Action::Games:
        if (openGames_ && target >= 0) openGames_(target);
        break;
    case Action::None: break;
    }
}
