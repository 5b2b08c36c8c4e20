#include "buttons/ui/button_list_section.h"

#include "buttons/button_assignment.h"
#include "buttons/function_catalogue.h"
#include "buttons/menu_placement.h"
#include "buttons/ui/button_list_ids.h"
#include "buttons/ui/catalogue_popups.h"
#include "buttons/ui/combo_popup.h"
#include "buttons/ui/fire_key_dlg.h"
#include "buttons/ui/macro_set_cascade_popup.h"
#include "buttons/ui/macro_set_popup.h"
#include "buttons/ui/shortcut_dlg.h"
#include "macros/macro_library_file.h"
#include "base/ui_text.h"
#include "profile/profile_record.h"
#include "ui/combo_button.h"
#include "ui/control_events.h"
#include "ui/dlg_base.h"
#include "ui/skin_image.h"
#include "ui/ui_scale.h"

using namespace button_list;

namespace {

struct SubMenuKind {
    UINT open, dismissed;
    int kind;
    ButtonMenu menu;
};

constexpr SubMenuKind kSubMenus[] = {
    {kMsgDpiOpen, kMsgDpiDismissed, kKindDpi, ButtonMenu::Dpi},
    {kMsgMediaOpen, kMsgMediaDismissed, kKindMedia, ButtonMenu::Multimedia},
    {kMsgLockOpen, kMsgLockDismissed, kKindLock, ButtonMenu::DpiLock},
    {kMsgWindowsOpen, kMsgWindowsDismissed, kKindWindows, ButtonMenu::Windows},
    {kMsgOfficeOpen, kMsgOfficeDismissed, kKindOffice, ButtonMenu::Office},
};

const SubMenuKind* SubMenuOpenedBy(UINT message)
{
    for (const SubMenuKind& s : kSubMenus)
        if (s.open == message) return &s;
    return nullptr;
}

bool IsCatalogueSubMenu(const CWndPopup* p)
{
    if (!p) return false;
    for (const SubMenuKind& s : kSubMenus)
        if (s.kind == p->Kind()) return true;
    return false;
}

CItemPopup* MakeSubMenu(ButtonMenu menu)
{
    switch (menu) {
    case ButtonMenu::Dpi: return new CDPIPopup();
    case ButtonMenu::DpiLock: return new CDPILockPopup();
    case ButtonMenu::Multimedia: return new CMultimediaPopup();
    case ButtonMenu::Office: return new COfficePopup();
    case ButtonMenu::Windows: return new CWindowsManagePopup();
    default: return nullptr;
    }
}

void SetMenuImages(CItemPopup& popup)
{
    popup.SetItemImages(SkinPath(u"skins/menu_nr.png"), SkinPath(u"skins/menu_ov.png"),
                        SkinPath(u"skins/menusub_nr.png"), SkinPath(u"skins/menusub_ov.png"));
}

platform::IWindowHost& Win() { return *platform::g_windowHost; }

}  // namespace

CButtonListSection::CButtonListSection(ISectionHost& host, const MacroLibrary* library)
    : CWindowSection(host), library_(library ? *library : g_macroLibrary)
{
}

const MacroLibrary& CButtonListSection::Library() const
{
    // The window reads its library after the first frame; a menu opened
    // before that reads it now.
    if (&library_ == &g_macroLibrary) EnsureApplicationMacroLibrary();
    return library_;
}

void CButtonListSection::MapMessages(CDlgBase& dlg)
{
    dlg.SubscribeShared(kMsgCombo, CComboButton::kClick, [this](WPARAM id) { OnComboClick(id); });
    auto map = [&dlg](UINT message, std::function<void(WPARAM, LPARAM)> f) {
        dlg.MapMessage(message, [f = std::move(f)](WPARAM w, LPARAM l) -> LRESULT {
            f(w, l);
            return 0;
        });
    };
    map(kMsgMenuPressed, [this](WPARAM, LPARAM) { RaiseOpenMenus(); });
    map(kMsgMenuDismissed, [this](WPARAM w, LPARAM l) { OnMenuDismissed(w, l); });
    map(kMsgPlainRowHovered, [this](WPARAM, LPARAM) { OnPlainRowHovered(); });
    for (const SubMenuKind& s : kSubMenus) {
        const UINT open = s.open;
        map(s.open, [this, open](WPARAM w, LPARAM) { OpenSubMenu(open, w); });
        map(s.dismissed, [this](WPARAM w, LPARAM l) { OnSubMenuDismissed(w, l); });
    }
    map(kMsgMacroSetsOpen, [this](WPARAM w, LPARAM) { OpenMacroSets(w); });
    map(kMsgMacroSetsDismissed, [this](WPARAM w, LPARAM) { OnMacroSetsDismissed(w); });
    map(kMsgMacroOpen, [this](WPARAM w, LPARAM l) { OpenMacroSet(w, int(l) - 1); });
    map(kMsgMacroDismissed, [this](WPARAM w, LPARAM l) { OnMacroDismissed(w, l); });
    map(kMsgKeysClicked, [this](WPARAM w, LPARAM) { OnDialogRowClicked(w, kMsgKeysOpen); });
    map(kMsgFireClicked, [this](WPARAM w, LPARAM) { OnDialogRowClicked(w, kMsgFireOpen); });
    map(kMsgKeysOpen, [this](WPARAM, LPARAM) { RunKeyDialog(); });
    map(kMsgFireOpen, [this](WPARAM, LPARAM) { RunFireDialog(); });
}

void CButtonListSection::Refresh(const ProfileRecord* profile)
{
    if (!profile) return;
    for (int i = 0; i < kButtonCount; ++i) {
        auto* combo = host_.Dialog().Find<CComboButton>(kFirstCombo + UINT(i));
        if (!combo) continue;
        const ButtonSlot& button = profile->buttons[size_t(i)];
        combo->SetLabel(ButtonCaption(button.label, button.code));
        host_.RepaintControl(combo);
    }
}

void CButtonListSection::RefreshButtonCaptions(int profileIndex)
{
    if (profileIndex >= 0 && profileIndex < kProfileCount) Refresh(&g_profiles[size_t(profileIndex)]);
}

bool CButtonListSection::OnTimer(UINT id)
{
    if (id != kTimerLeftButtonWarning) return false;
    host_.StopTimer(int(id));
    const int text = warningText_;
    warningText_ = 0;
    if (text && !host_.IsClosing()) host_.MessageBox(UiText(text));
    return true;
}

// ---- opening --------------------------------------------------------------------

CComboButton* CButtonListSection::Combo(WPARAM id) const { return host_.Dialog().Find<CComboButton>(UINT(id)); }

CWndPopup* CButtonListSection::InSlot(int slot) const { return host_.Dialog().Popup(slot); }

bool CButtonListSection::Show(CItemPopup* popup, const MenuBox& box, UINT dismissal, WPARAM comboId, int slot)
{
    const HWND window = host_.Dialog().GetSafeHwnd();
    SetMenuImages(*popup);
    const Point at = Win().ClientToScreen(window, {box.left, box.top});
    // The new popup takes the activation from the one that opened it, whose
    // dismissal then arrives before the new one is in its slot.
    creating_ = true;
    const bool made = popup->Create(window, Rect::FromSize(at.x, at.y, box.right - box.left, box.bottom - box.top),
                                    0, int(comboId), dismissal);
    creating_ = false;
    if (!made) {
        delete popup;
        return false;
    }
    // The places above leave a long menu hanging below the work area when
    // the window sits low; such a menu moves up until its last row shows.
    const Rect shown = Win().GetWindowRect(popup->GetSafeHwnd());
    const Rect work = Win().GetWorkArea();
    const int top = KeepTopInWorkArea(shown.top, shown.Height(), work.top, work.bottom);
    if (top != shown.top) Win().SetWindowPos(popup->GetSafeHwnd(), Rect::FromSize(shown.left, top, shown.Width(), shown.Height()));
    host_.OpenPopup(slot, popup);
    return true;
}

static MenuAnchor AnchorOf(const CComboButton& combo)
{
    const HWND window = combo.Owner();
    const Rect r = combo.GetRect();
    return {{r.left, r.top, r.right, r.bottom},
            Win().GetWindowRect(window).top,
            Win().GetWorkArea().bottom,
            double(g_uiScale)};
}

void CButtonListSection::OnComboClick(WPARAM comboId)
{
    CComboButton* combo = Combo(comboId);
    if (!combo || host_.IsClosing()) return;
    CloseAll();
    combo->SetOpen(true);
    auto* menu = new CComboPopup(int(Library().count()));
    menu->OnChoice([this, comboId](const PopupResult& chosen) { OnMenuChoice(comboId, chosen); });
    if (!Show(menu, FunctionMenuBox(AnchorOf(*combo)), kMsgMenuDismissed, comboId, kSlotFunctionMenu))
        CloseCombo(*combo);
}

void CButtonListSection::OpenSubMenu(UINT message, WPARAM comboId)
{
    const SubMenuKind* kind = SubMenuOpenedBy(message);
    if (!kind) return;
    const CWndPopup* open = InSlot(kSlotSubMenu);
    if (open && open->Kind() == kind->kind) return;  // a second hover on the same row
    CloseSubMenus();
    CComboButton* combo = Combo(comboId);
    if (!combo) return;
    CItemPopup* menu = MakeSubMenu(kind->menu);
    if (!menu) return;
    menu->OnChoice([this, comboId](const PopupResult& chosen) { OnMenuChoice(comboId, chosen); });
    Show(menu, SubMenuBox(AnchorOf(*combo), kind->menu), kind->dismissed, comboId, kSlotSubMenu);
}

void CButtonListSection::OpenMacroSets(WPARAM comboId)
{
    const CWndPopup* open = InSlot(kSlotSubMenu);
    if (open && open->Kind() == kKindMacroSets) return;
    CloseSubMenus();
    CComboButton* combo = Combo(comboId);
    if (!combo) return;
    auto* list = new CMacroSetCascadePopup(Library());
    Show(list, MacroMenuBox(AnchorOf(*combo), int(Library().count())), kMsgMacroSetsDismissed, comboId,
         kSlotSubMenu);
}

void CButtonListSection::OpenMacroSet(WPARAM comboId, int setIndex)
{
    const CWndPopup* open = InSlot(kSlotMacroSet);
    if (open && open->Kind() == kKindMacroSetBase + setIndex) return;
    CComboButton* combo = Combo(comboId);
    auto* list = dynamic_cast<CMacroSetCascadePopup*>(InSlot(kSlotSubMenu));
    // From the list of sets only this set's macros change; from the function
    // menu everything but the function menu goes.
    if (list)
        host_.ClosePopup(kSlotMacroSet);
    else
        CloseSubMenus();
    if (!combo || setIndex < 0) return;
    const MacroSet* set = Library().SetAt(setIndex);
    const int rows = set ? int(set->macroNum()) : 0;
    const MenuAnchor anchor = AnchorOf(*combo);
    MenuBox box = MacroMenuBox(anchor, rows);
    if (list) {
        const HWND window = host_.Dialog().GetSafeHwnd();
        const Rect l = Win().GetWindowRect(list->GetSafeHwnd());
        const Point tl = Win().ScreenToClient(window, {l.left, l.top});
        const Point br = Win().ScreenToClient(window, {l.right, l.bottom});
        box = MacroCascadeBox(anchor, {tl.x, tl.y, br.x, br.y}, setIndex, rows);
    }
    auto* macros = new CMacroSetPopup(Library(), setIndex);
    macros->OnChoice([this, comboId](const PopupResult&) { OnMacroChoice(comboId); });
    Show(macros, box, kMsgMacroDismissed, comboId, kSlotMacroSet);
}

void CButtonListSection::OnPlainRowHovered()
{
    CloseSubMenus();
    if (CWndPopup* menu = InSlot(kSlotFunctionMenu)) Win().SetForegroundWindow(menu->GetSafeHwnd());
}

// ---- choosing -------------------------------------------------------------------

void CButtonListSection::Assign(CComboButton& combo, int comboId, const std::u16string& label, ButtonFunctionCode code,
                                const MacroKey* macro)
{
    ProfileRecord* profile = host_.WorkingProfile();
    AssignmentOutcome out;
    if (profile) {
        out = AssignButtonFunction(*profile, comboId - int(kFirstCombo), label, code, macro);
    } else {
        out.caption = label;
    }
    // The left button put back shows as what it is now, not as what was chosen.
    combo.SetLabel(out.leftButtonRestored ? out.caption : ButtonCaption(out.caption, code));
    CloseCombo(combo);
    if (out.sendButtons) host_.ScheduleApply(PendingGroup::Keys);
    if (out.warningText) {
        warningText_ = out.warningText;
        host_.StartTimer(int(kTimerLeftButtonWarning), kLeftButtonWarningDelayMs);
    }
}

void CButtonListSection::RaiseOpenMenus()
{
    // A press on one of the mouse-button rows: keep the chain on top.
    for (int slot : {kSlotFunctionMenu, kSlotSubMenu, kSlotMacroSet})
        if (CWndPopup* p = InSlot(slot)) Win().SetForegroundWindow(p->GetSafeHwnd());
}

void CButtonListSection::OnMenuChoice(WPARAM comboId, const PopupResult& chosen)
{
    CComboButton* combo = Combo(comboId);
    if (!combo || host_.IsClosing()) return;
    const ButtonFunctionCode code{chosen.bytes[0], chosen.bytes[1], chosen.bytes[2]};
    CloseAll();
    Assign(*combo, int(comboId), chosen.caption, code, nullptr);
}

void CButtonListSection::OnMacroChoice(WPARAM comboId)
{
    CComboButton* combo = Combo(comboId);
    auto* popup = dynamic_cast<CMacroSetPopup*>(InSlot(kSlotMacroSet));
    if (!combo || !popup || host_.IsClosing()) return;
    const auto choice = ChooseLibraryMacro(Library(), popup->SetIndex(), popup->ChosenMacro());
    CloseAll();
    if (!choice) {
        MarkClosed(comboId);
        return;
    }
    Assign(*combo, int(comboId), choice->label, choice->code, choice->macro);
}

void CButtonListSection::OnDialogRowClicked(WPARAM comboId, UINT openMessage)
{
    if (!Combo(comboId)) return;
    MarkClosed(comboId);
    CloseAll();
    dialogCombo_ = int(comboId);
    Win().PostMessage(host_.Dialog().GetSafeHwnd(), openMessage, comboId, 0);
}

void CButtonListSection::RunKeyDialog()
{
    if (host_.IsClosing()) return;
    CShortcutDlg dialog(host_.Dialog().GetSafeHwnd());
    if (host_.RunModal(dialog) == IDOK) OnDialogChoice(dialog.Chosen());
}

void CButtonListSection::RunFireDialog()
{
    if (host_.IsClosing()) return;
    CFireKeyDlg dialog(host_.Dialog().GetSafeHwnd());
    if (host_.RunModal(dialog) == IDOK) OnDialogChoice(dialog.Chosen());
}

void CButtonListSection::OnDialogChoice(const std::optional<KeyCombination>& chosen)
{
    CComboButton* combo = Combo(WPARAM(dialogCombo_));
    if (!combo || !chosen || host_.IsClosing()) return;
    Assign(*combo, dialogCombo_, chosen->caption, chosen->code, nullptr);
}

// ---- dismissal ------------------------------------------------------------------

bool CButtonListSection::CursorInside(const CWndPopup* popup) const
{
    return popup && Win().GetWindowRect(popup->GetSafeHwnd()).Contains(Win().GetCursorPos());
}

bool CButtonListSection::MacroListOpen() const
{
    const CWndPopup* sub = InSlot(kSlotSubMenu);
    return InSlot(kSlotMacroSet) || (sub && sub->Kind() == kKindMacroSets);
}

void CButtonListSection::OnMenuDismissed(WPARAM comboId, LPARAM kind)
{
    if (creating_) return;
    // Opening a sub-menu takes the activation from the function menu; that
    // is no dismissal.
    if (kind != kKindFunctionMenu || InSlot(kSlotSubMenu) || InSlot(kSlotMacroSet)) return;
    MarkClosed(comboId);
    CloseAll();
}

void CButtonListSection::OnSubMenuDismissed(WPARAM comboId, LPARAM kind)
{
    if (creating_) return;
    const CWndPopup* sub = InSlot(kSlotSubMenu);
    if (!sub || sub->Kind() != int(kind) || CursorInside(InSlot(kSlotFunctionMenu))) return;
    if (CComboButton* combo = Combo(comboId)) host_.RepaintControl(combo);
    host_.ClosePopup(kSlotSubMenu);
    if (InSlot(kSlotMacroSet)) return;
    CloseAll();
    MarkClosed(comboId);
}

void CButtonListSection::OnMacroSetsDismissed(WPARAM comboId)
{
    if (creating_) return;
    // The set list loses the activation to the macros it opened, or to the
    // function menu when the mouse goes back there.
    const CWndPopup* sub = InSlot(kSlotSubMenu);
    if (!sub || sub->Kind() != kKindMacroSets || InSlot(kSlotMacroSet) || CursorInside(InSlot(kSlotFunctionMenu)) ||
        CursorInside(sub))
        return;
    CloseAll();
    MarkClosed(comboId);
}

void CButtonListSection::OnMacroDismissed(WPARAM comboId, LPARAM kind)
{
    if (creating_) return;
    if (kind < kKindMacroSetBase) return;
    const CWndPopup* open = InSlot(kSlotMacroSet);
    if (!open || open->Kind() != int(kind)) return;
    host_.ClosePopup(kSlotMacroSet);
    // Back in the function menu or the list of sets: the user goes on choosing.
    const CWndPopup* sub = InSlot(kSlotSubMenu);
    if (CursorInside(InSlot(kSlotFunctionMenu)) || CursorInside(sub)) return;
    if (IsCatalogueSubMenu(sub)) return;
    if (!Combo(comboId)) return;
    MarkClosed(comboId);
    CloseAll();
}

void CButtonListSection::MarkClosed(WPARAM comboId)
{
    if (CComboButton* combo = Combo(comboId)) CloseCombo(*combo);
}

void CButtonListSection::CloseCombo(CComboButton& combo)
{
    combo.SetOpen(false);
    host_.RepaintControl(&combo);
    // An open combo keeps its leave to itself; the mouse picture still
    // shows this button while the pointer is long gone.
    const HWND window = host_.Dialog().GetSafeHwnd();
    if (!combo.GetRect().Contains(Win().ScreenToClient(window, Win().GetCursorPos())))
        Win().SendMessage(window, kMsgCombo, combo.Id(), CComboButton::kLeave);
}

void CButtonListSection::CloseSubMenus()
{
    host_.ClosePopup(kSlotSubMenu);
    host_.ClosePopup(kSlotMacroSet);
}

void CButtonListSection::CloseAll()
{
    CloseSubMenus();
    host_.ClosePopup(kSlotFunctionMenu);
}
