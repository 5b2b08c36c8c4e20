// What the manager's buttons and menus change: the shown set, the macros of
// the set, the actions of a macro, and the library as a whole by import and
// export. The rules are the core's; these read the controls, call them and
// show what they refuse.
#include "macros/ui/macro_manager_dlg.h"

#include "base/ui_text.h"
#include "macros/macro_action_edits.h"
#include "macros/macro_library_edits.h"
#include "macros/macro_library_file.h"
#include "macros/macro_usage.h"
#include "macros/ui/action_key_modify_dlg.h"
#include "macros/ui/action_time_modify_dlg.h"
#include "macros/ui/action_xy_modify_dlg.h"
#include "macros/ui/combo_action_insert_popup.h"
#include "macros/ui/macro_delete_dlg.h"
#include "macros/ui/macro_key_add_dlg.h"
#include "macros/ui/macro_key_rename_dlg.h"
#include "macros/ui/macro_manager_ids.h"
#include "macros/ui/macro_set_list_popup.h"
#include "platform/shell/shell_services.h"
#include "profile/profile_record.h"
#include "ui/combo_button.h"
#include "ui/show_lists.h"

namespace ids = macro_ids;

namespace {

const std::u16string kMlfFilter = u"mlf file(*.mlf)|*.mlf||";

}  // namespace

// ---- sets -------------------------------------------------------------------

void CMacroManagerDlg::OnSetCombo()
{
    auto* popup = new CMacroSetListPopup(library_, 194);
    const Rect r = setCombo_->GetRect();
    const Point at = Host().ClientToScreen(hwnd_, {r.left, r.bottom});
    if (!popup->Create(hwnd_, {at.x, at.y, at.x + r.Width(), at.y + r.Height()}, ids::kSetMenuChoice,
                       int(ids::kSetCombo), ids::kSetMenuDismissed)) {
        delete popup;
        return;
    }
    SetPopup(ids::kSetMenuSlot, popup);
    setCombo_->SetOpen(true);
}

void CMacroManagerDlg::OnSetMenuChoice(int value)
{
    CDlgBase::ClosePopup(ids::kSetMenuSlot);
    setCombo_->SetOpen(false);
    if (value == CMacroSetListPopup::kAdd) {
        Host().PostMessage(hwnd_, ids::kRunAddSet, 0, 0);
    } else if (value == CMacroSetListPopup::kDelete) {
        Host().PostMessage(hwnd_, ids::kRunDeleteSet, 0, 0);
    } else {
        initialSet_ = value - 1;
        state_.ShowSet(value - CMacroSetListPopup::kFirstSet);
        macroList_->firstRow = 0;
        Synchronise();
        const MacroKey* m = state_.CurrentMacro();
        ShowLoopEdit(m && m->loopType == 2);
    }
    Repaint();
}

bool CMacroManagerDlg::OnSetName(bool add, const std::u16string& name)
{
    MacroRefusal r = add ? state_.AddSet(name) : state_.DeleteSet(name);
    if (r.Refused()) {
        ShowText(r.text);
        return false;
    }
    Synchronise();
    const MacroKey* m = state_.CurrentMacro();
    ShowLoopEdit(m && m->loopType == 2);
    return true;
}

// ---- macros -----------------------------------------------------------------

void CMacroManagerDlg::OnMacroListClick()
{
    state_.SelectMacro(macroList_->selection);
    Synchronise();
    const MacroKey* m = state_.CurrentMacro();
    ShowLoopEdit(m && m->loopType == 2);
}

void CMacroManagerDlg::OnMacroListDoubleClick()
{
    if (!state_.CurrentMacro() || state_.MacroSelection() < 0) return;
    if (CMacroKeyRenameDlg(state_, hwnd_).DoModal() == IDOK) {
        WriteLibrary();
        Repaint();
    }
}

void CMacroManagerDlg::OnNewMacro()
{
    MacroRefusal r = state_.CanAddMacro();
    if (r.Refused()) return ShowText(r.text);
    if (CMacroKeyAddDlg(state_, hwnd_).DoModal() != IDOK) return;
    Synchronise();
    WriteLibrary();
    ShowLoopEdit(true, true);
    ScrollTo(macroList_, macroScroll_, state_.MacroSelection());
}

void CMacroManagerDlg::OnDeleteMacro()
{
    MacroRefusal r = state_.CanDeleteMacro();
    if (r.Refused()) return ShowText(r.text);
    // The buttons that play it are named first: deleting it turns them off.
    const MacroSet* set = state_.ShownSet();
    const std::u16string name = std::next(set->macros.begin(), state_.MacroSelection())->name;
    const std::u16string uses = DescribeMacroUses(g_profiles, ButtonsUsingMacro(name));
    if (CMacroDeleteDlg(name, uses, hwnd_).DoModal() != IDOK) return;
    state_.DeleteSelectedMacro();
    WriteLibrary();
    if (state_.CurrentMacro()) {
        if (macroList_->ItemCount() <= macroList_->visibleRows) macroList_->firstRow = 0;
        Synchronise();
        ShowLoopEdit(true, true);
        ScrollTo(macroList_, macroScroll_, macroList_->firstRow - 1);
    } else {
        Synchronise();
        ShowLoopEdit(false);
    }
}

void CMacroManagerDlg::OnLoopType(uint8_t loopType)
{
    state_.SetLoopType(loopType);
    SetRadiosFromMacro();
    ShowLoopEdit(loopType == 2 && state_.CurrentMacro(), loopType == 2);
    Repaint();
}

void CMacroManagerDlg::OnLoopCountChanged()
{
    if (settingEditText_) return;
    MacroLoopCount c = state_.SetLoopCountText(Host().GetWindowText(loopEdit_));
    if (c.shown) {
        SetLoopEditText(*c.shown);
        Host().SetEditSelection(loopEdit_, -1, -1);
    }
}

// ---- actions ----------------------------------------------------------------

void CMacroManagerDlg::OnInsertCombo()
{
    auto* popup = new CComboActionInsertPopup();
    popup->OnChoice([this](const PopupResult& chosen) { OnInsertChoice(chosen); });
    const Rect r = insertCombo_->GetRect();
    const Point at = Host().ClientToScreen(hwnd_, {r.left, r.bottom});
    if (!popup->Create(hwnd_, {at.x, at.y, at.x + r.Width(), at.y + r.Height()}, 0, int(ids::kInsertCombo),
                       ids::kInsertMenuDismissed)) {
        delete popup;
        return;
    }
    SetPopup(ids::kInsertMenuSlot, popup);
    insertCombo_->SetOpen(true);
}

void CMacroManagerDlg::OnInsertChoice(const PopupResult& chosen)
{
    CDlgBase::ClosePopup(ids::kInsertMenuSlot);
    if (insertCombo_) insertCombo_->SetOpen(false);
    if (chosen.bytes[0] < kMacroInsertKinds) {
        insertChoice_ = chosen.bytes[0];
        pendingInsert_ = true;
        // Carried out once the menu has gone, with the window drawn again.
        Host().PostMessage(hwnd_, ids::kRunInsert, 0, 0);
    }
    Repaint();
}

void CMacroManagerDlg::RunPendingInsert()
{
    if (!pendingInsert_) return;
    pendingInsert_ = false;
    const auto kind = MacroInsertKind(insertChoice_);
    MacroKey* m = state_.CurrentMacro();
    MacroRefusal r = CheckMacroInsert(m, kind);
    if (r.Refused()) return ShowText(r.text);

    // The dialogs' own typing must not be recorded.
    const bool recording = recorder_.Recording();
    if (recording) hook_.StopHook();
    const int sel = actionList_->selection;
    int newSel = sel;
    MacroAction a = MacroInsertStartAction(*m, sel, kind);
    switch (kind) {
    case MacroInsertKind::LeftClick:
    case MacroInsertKind::RightClick:
    case MacroInsertKind::MiddleClick: newSel = InsertMacroClick(*m, sel, kind); break;
    case MacroInsertKind::Pause:
        if (CActionTimeModifyDlg(a, hwnd_).DoModal() == IDOK) newSel = InsertMacroPause(*m, sel, a.PauseMs());
        break;
    case MacroInsertKind::Key:
        if (CActionKeyModifyDlg(a, hwnd_).DoModal() == IDOK) newSel = InsertMacroKey(*m, sel, a.b0);
        break;
    default:
        if (CActionXYModifyDlg(a, int(kind), hwnd_).DoModal() == IDOK) newSel = InsertMacroMove(*m, sel, a);
        break;
    }
    if (recording) hook_.StartHook(hwnd_);
    actionList_->selection = newSel;
    KeepActionSelectionVisible();
    Repaint();
}

void CMacroManagerDlg::OnModifyAction()
{
    MacroKey* m = state_.CurrentMacro();
    const int sel = actionList_->selection;
    if (!m || sel < 0 || sel >= m->UsedActions()) return;
    MacroAction a = m->GetAction(sel);
    switch (MacroModifyKindOf(a)) {
    case MacroModifyKind::Pause:
        if (CActionTimeModifyDlg(a, hwnd_).DoModal() == IDOK) ModifyMacroPause(*m, sel, a.PauseMs());
        break;
    case MacroModifyKind::Key:
        if (CActionKeyModifyDlg(a, hwnd_).DoModal() == IDOK) ModifyMacroKey(*m, sel, a.b0);
        break;
    case MacroModifyKind::None: break;
    }
    Repaint();
}

void CMacroManagerDlg::OnDeleteAction()
{
    MacroKey* m = state_.CurrentMacro();
    if (!m) return;
    actionList_->selection = DeleteMacroAction(*m, actionList_->selection);
    ScrollTo(actionList_, actionScroll_, actionList_->firstRow);
    Repaint();
}

// ---- files ------------------------------------------------------------------

void CMacroManagerDlg::OnExport()
{
    if (!platform::g_shellServices) return;
    platform::FileDialogParams p{UiText(230), kMlfFilter, u"mlf", DefaultMacroExportName(library_), {}};
    std::optional<std::string> path = platform::g_shellServices->GetSaveFileName(p);
    if (!path) return;
    MacroRefusal r = ExportMacroLibrary(library_, *path);
    if (r.Refused()) ShowText(r.text, r.path);
}

void CMacroManagerDlg::OnImport()
{
    if (!platform::g_shellServices) return;
    platform::FileDialogParams p{UiText(231), kMlfFilter, u"mlf", u".mlf", {}};
    std::optional<std::string> path = platform::g_shellServices->GetOpenFileName(p);
    if (!path) return;
    // The shown macro may not survive the import: forget it first.
    rows_.SetMacro(nullptr);
    actionList_->shownItem = nullptr;
    MacroRefusal r = state_.Import(*path);
    if (r.Refused()) {
        Synchronise();
        return ShowText(r.text, r.path);
    }
    Synchronise();
    const MacroKey* m = state_.CurrentMacro();
    ShowLoopEdit(m && m->loopType == 2);
    WriteLibrary();
}
