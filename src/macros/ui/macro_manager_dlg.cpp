#include "macros/ui/macro_manager_dlg.h"

#include <algorithm>

#include "base/text_codec.h"
#include "base/ui_text.h"
#include "macros/macro_library_file.h"
#include "macros/macro_texts.h"
#include "macros/ui/macro_manager_ids.h"
#include "macros/ui/macro_manager_names.h"
#include "macros/ui/macro_set_add_dlg.h"
#include "macros/ui/macro_set_del_dlg.h"
#include "ui/attention_dlg.h"
#include "ui/combo_button.h"
#include "ui/radio_state.h"
#include "ui/show_lists.h"
#include "ui/ui_scale.h"
#include "ui/vscroll_bar.h"

namespace ids = macro_ids;

namespace {

FramedDlgLook ManagerLook()
{
    FramedDlgLook look;
    look.baseWidth = CMacroManagerDlg::kBaseWidth;
    look.baseHeight = CMacroManagerDlg::kBaseHeight;
    look.frame = u"skins/Frame_Macro_Manager.bmp";
    look.kind = u"macro manager";
    // Enter reaches the focused control only (the window has no default
    // button); Escape closes it as its close button does.
    look.enter = DialogKey::PassOn;
    look.escape = DialogKey::PassOn;
    look.title = 8;
    return look;
}

}  // namespace

CMacroManagerDlg::CMacroManagerDlg(int initialSet, HWND owner)
    : CMacroManagerDlg(initialSet, owner, g_macroWorkLibrary, MacroLibraryPath())
{
}

CMacroManagerDlg::CMacroManagerDlg(int initialSet, HWND owner, MacroLibrary& library, std::string libraryPath)
    : CFramedDlg(ManagerLook(), owner),
      library_(library),
      libraryPath_(std::move(libraryPath)),
      initialSet_(initialSet),
      state_(library),
      setSource_(library)
{
    MapHandlers();
}

CMacroManagerDlg::~CMacroManagerDlg() { hook_.StopHook(); }

void CMacroManagerDlg::MapHandlers()
{
    MapSetHandlers();
    MapMacroHandlers();
    MapActionHandlers();
}

void CMacroManagerDlg::MapSetHandlers()
{
    MapMessage(ids::kSetComboMessage, [this](WPARAM, LPARAM l) {
        if (l == CComboButton::kClick) OnSetCombo();
        return LRESULT(0);
    });
    MapMessage(ids::kSetMenuChoice, [this](WPARAM, LPARAM value) {
        OnSetMenuChoice(int(value));
        return LRESULT(0);
    });
    MapMessage(ids::kSetMenuDismissed, [this](WPARAM, LPARAM) {
        if (setCombo_) setCombo_->SetOpen(false);
        Repaint();
        return LRESULT(0);
    });
    MapMessage(ids::kRunAddSet, [this](WPARAM, LPARAM) {
        CMacroSetAddDlg(hwnd_, [this](const std::u16string& name) { return OnSetName(true, name); }).DoModal();
        return LRESULT(0);
    });
    MapMessage(ids::kRunDeleteSet, [this](WPARAM, LPARAM) {
        CMacroSetDelDlg(hwnd_, [this](const std::u16string& name) { return OnSetName(false, name); }).DoModal();
        return LRESULT(0);
    });
    MapClick(ids::kExport, [this] { OnExport(); });
    MapClick(ids::kImport, [this] { OnImport(); });
}

void CMacroManagerDlg::MapMacroHandlers()
{
    MapMessage(ids::kMacroList, [this](WPARAM, LPARAM event) {
        if (event == CE_CLICK) OnMacroListClick();
        if (event == CE_DBLCLK) OnMacroListDoubleClick();
        return LRESULT(0);
    });
    MapMessage(ids::kMacroScroll, [this](WPARAM part, LPARAM event) {
        OnScrollBar(macroList_, macroScroll_, event, part);
        return LRESULT(0);
    });
    MapClick(ids::kNewMacro, [this] { OnNewMacro(); });
    MapClick(ids::kDeleteMacro, [this] { OnDeleteMacro(); });
    MapClick(ids::kRecord, [this] { OnRecordClick(); });
    MapMessage(platform::kKeyHookMessage, [this](WPARAM w, LPARAM l) {
        OnKeyEvent(w, l);
        return LRESULT(0);
    });
    MapClick(ids::kLoopHeld, [this] { OnLoopType(1); });
    MapClick(ids::kLoopToggle, [this] { OnLoopType(4); });
    MapClick(ids::kLoopCount, [this] { OnLoopType(2); });
    MapMessage(WM_COMMAND, [this](WPARAM w, LPARAM) {
        if (LOWORD(w) == int(ids::kLoopCountEdit) && UINT(HIWORD(w)) == EN_CHANGE) OnLoopCountChanged();
        return LRESULT(0);
    });
    MapMessage(ids::kWarnDigitsOnly, [this](WPARAM, LPARAM) {
        ShowText(macro_text::kDigitsOnly);
        return LRESULT(0);
    });
}

void CMacroManagerDlg::MapActionHandlers()
{
    MapMessage(ids::kActionScroll, [this](WPARAM part, LPARAM event) {
        OnScrollBar(actionList_, actionScroll_, event, part);
        return LRESULT(0);
    });
    MapMessage(ids::kInsertComboMessage, [this](WPARAM, LPARAM l) {
        if (l == CComboButton::kClick) OnInsertCombo();
        return LRESULT(0);
    });
    MapMessage(ids::kRunInsert, [this](WPARAM, LPARAM) {
        RunPendingInsert();
        return LRESULT(0);
    });
    MapMessage(ids::kInsertMenuDismissed, [this](WPARAM, LPARAM) {
        if (insertCombo_) insertCombo_->SetOpen(false);
        Repaint();
        return LRESULT(0);
    });
    MapMessage(ids::kActionList, [this](WPARAM, LPARAM event) {
        if (event == CE_DBLCLK) OnModifyAction();
        if (event == CE_CLICK) Repaint();
        return LRESULT(0);
    });
    MapClick(ids::kModifyAction, [this] { OnModifyAction(); });
    MapClick(ids::kDeleteAction, [this] { OnDeleteAction(); });
}

bool CMacroManagerDlg::OnInitDialog()
{
    ReadMacroLibraryFile(library_, libraryPath_);
    CFramedDlg::OnInitDialog();
    NameMacroManagerControls(*this);
    state_.Open(initialSet_, g_lastMacroIndex);
    Synchronise();
    if (macroList_ && state_.MacroSelection() > 0) ScrollTo(macroList_, macroScroll_, state_.MacroSelection());
    const MacroKey* m = state_.CurrentMacro();
    ShowLoopEdit(m && m->loopType == 2);
    return true;
}

// ---- state to controls -----------------------------------------------------

void CMacroManagerDlg::Synchronise()
{
    if (!macroList_) return;
    const int shown = state_.ShownSetIndex();
    if (macroList_->shownCollection != shown) {
        macroList_->shownCollection = shown;
        macroList_->firstRow = 0;
    }
    macroList_->selection = state_.MacroSelection();
    MacroKey* current = state_.CurrentMacro();
    if (current != rows_.Macro()) {
        rows_.SetMacro(current);
        actionList_->shownItem = current ? &rows_ : nullptr;
        actionList_->firstRow = 0;
        actionList_->selection = -1;
    }
    ScrollTo(macroList_, macroScroll_, macroList_->firstRow);
    ScrollTo(actionList_, actionScroll_, actionList_->firstRow);
    const MacroSet* set = state_.ShownSet();
    setCombo_->SetLabel(set ? set->name : std::u16string());
    SetRadiosFromMacro();
    Repaint();
}

void CMacroManagerDlg::SetRadiosFromMacro()
{
    g_radioStateWord &= ~(ids::kLoopHeldBit | ids::kLoopToggleBit | ids::kLoopCountBit);
    if (const MacroKey* m = state_.CurrentMacro()) {
        if (m->loopType == 1) g_radioStateWord |= ids::kLoopHeldBit;
        if (m->loopType == 4) g_radioStateWord |= ids::kLoopToggleBit;
        if (m->loopType == 2) g_radioStateWord |= ids::kLoopCountBit;
    }
}

void CMacroManagerDlg::ShowLoopEdit(bool show, bool focus)
{
    if (!loopEdit_) return;
    loopEditShown_ = show;
    Host().SetWindowPos(loopEdit_, show ? loopEditRect_ : loopEditRect_.Offset(ScaleUnits(kHiddenEditOffset), 0));
    if (!show) return;
    const MacroKey* m = state_.CurrentMacro();
    SetLoopEditText(m ? LoopCountText(*m) : std::u16string());
    if (focus) Host().SetFocus(loopEdit_);
    Host().SetEditSelection(loopEdit_, -1, -1);
}

void CMacroManagerDlg::SetLoopEditText(const std::u16string& text)
{
    settingEditText_ = true;
    Host().SetWindowText(loopEdit_, text);
    settingEditText_ = false;
}

void CMacroManagerDlg::WriteLibrary() { WriteMacroLibraryFile(library_, libraryPath_); }

void CMacroManagerDlg::ShowText(int text, const std::string& path)
{
    std::u16string message = UiText(text);
    if (!path.empty()) message += u"\n" + Utf8ToU16(path);
    CAttentionDlg(u"", message, hwnd_).DoModal();
}

void CMacroManagerDlg::Repaint()
{
    if (hwnd_) Host().Invalidate(hwnd_);
}

// ---- scrolling --------------------------------------------------------------

void CMacroManagerDlg::ScrollTo(CShowListBase* list, CVScrollBar* bar, int firstRow)
{
    if (!list || !bar) return;
    const int count = list->ItemCount();
    const int last = std::max(0, count - list->visibleRows);
    list->firstRow = std::clamp(firstRow, 0, last);
    bar->SetScrollState(list->firstRow, list->visibleRows, count);
    Repaint();
}

void CMacroManagerDlg::KeepActionSelectionVisible()
{
    const int sel = actionList_->selection;
    int first = actionList_->firstRow;
    if (sel >= 0 && sel < first) first = sel;
    if (sel >= first + actionList_->visibleRows) first = sel - actionList_->visibleRows + 1;
    ScrollTo(actionList_, actionScroll_, first);
}

void CMacroManagerDlg::OnScrollBar(CShowListBase* list, CVScrollBar* bar, LPARAM event, WPARAM part)
{
    if (event == CE_VALUE) {
        list->firstRow = std::clamp(bar->Position(), 0, std::max(0, list->ItemCount() - list->visibleRows));
        Repaint();
        return;
    }
    if (event != CE_DOWN) return;
    const int page = std::max(1, list->visibleRows - 1);
    switch (part) {
    case CVScrollBar::kPartUpArrow: ScrollTo(list, bar, list->firstRow - 1); break;
    case CVScrollBar::kPartDownArrow: ScrollTo(list, bar, list->firstRow + 1); break;
    case CVScrollBar::kPartAbove: ScrollTo(list, bar, list->firstRow - page); break;
    case CVScrollBar::kPartBelow: ScrollTo(list, bar, list->firstRow + page); break;
    default: break;
    }
}

void CMacroManagerDlg::OnWheel(int delta)
{
    CControlBase* over = HoveredControl();
    if (over == macroList_ || over == macroScroll_) {
        ScrollTo(macroList_, macroScroll_, macroList_->firstRow + (delta > 0 ? -1 : 1));
    } else if (over == actionList_ || over == actionScroll_) {
        ScrollTo(actionList_, actionScroll_, actionList_->firstRow + (delta > 0 ? -1 : 1));
    }
}

LRESULT CMacroManagerDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MOUSEWHEEL) {
        if (!recorder_.Recording()) OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    }
    if (message == WM_MOUSEMOVE) {
        // A thumb dragged beyond its bar still follows the pointer.
        const int x = int(int16_t(lParam & 0xFFFF)), y = int(int16_t((lParam >> 16) & 0xFFFF));
        for (CVScrollBar* bar : {macroScroll_, actionScroll_}) {
            if (bar && bar->IsDragging() && !bar->Contains(x, y)) {
                bar->DragTo(x, y);
                InvalidateControl(bar);
            }
        }
    }
    return CFramedDlg::WindowProc(message, wParam, lParam);
}

// ---- closing ----------------------------------------------------------------

void CMacroManagerDlg::OnCancel()
{
    if (recorder_.Recording()) {
        hook_.StopHook();
        recorder_.Stop();
    }
    // Closing always saves, changed or not: the main window rereads the file.
    WriteLibrary();
    g_lastMacroIndex = state_.MacroSelection();
    CFramedDlg::OnCancel();
}
