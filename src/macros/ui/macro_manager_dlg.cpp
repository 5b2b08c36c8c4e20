#include "macros/ui/macro_manager_dlg.h"

#include <algorithm>

#include "macros/macro_action_edits.h"
#include "macros/macro_library_edits.h"
#include "macros/macro_library_file.h"
#include "macros/macro_usage.h"
#include "macros/ui/action_key_modify_dlg.h"
#include "macros/ui/action_time_modify_dlg.h"
#include "macros/ui/action_xy_modify_dlg.h"
#include "macros/ui/combo_action_insert_popup.h"
#include "macros/ui/macro_key_add_dlg.h"
#include "macros/ui/macro_delete_dlg.h"
#include "macros/ui/macro_key_rename_dlg.h"
#include "macros/ui/macro_manager_ids.h"
#include "macros/ui/macro_set_add_dlg.h"
#include "macros/ui/macro_set_del_dlg.h"
#include "macros/ui/macro_set_list_popup.h"
#include "base/text_codec.h"
#include "base/ui_text.h"
#include "platform/shell/shell_services.h"
#include "profile/profile_record.h"
#include "ui/attention_dlg.h"
#include "ui/check_button.h"
#include "ui/combo_button.h"
#include "ui/image_button.h"
#include "ui/passive_controls.h"
#include "ui/radio_button.h"
#include "ui/radio_state.h"
#include "ui/show_lists.h"
#include "macros/ui/macro_manager_names.h"
#include "ui/skin_image.h"
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

constexpr COLORREF kText = RGB(180, 180, 180);
constexpr COLORREF kListFrame = RGB(0x94, 0x94, 0x94);
// The edit box is hidden by moving it this far right, out of the window.
constexpr int kHiddenOffset = 1000;

const std::u16string kMlfFilter = u"mlf file(*.mlf)|*.mlf||";

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
        CMacroSetAddDlg(hwnd_).DoModal();
        return LRESULT(0);
    });
    MapMessage(ids::kRunDeleteSet, [this](WPARAM, LPARAM) {
        CMacroSetDelDlg(hwnd_).DoModal();
        return LRESULT(0);
    });
    MapMessage(ids::kAddSetName, [this](WPARAM, LPARAM l) {
        return OnSetName(true, *reinterpret_cast<const std::u16string*>(l));
    });
    MapMessage(ids::kDeleteSetName, [this](WPARAM, LPARAM l) {
        return OnSetName(false, *reinterpret_cast<const std::u16string*>(l));
    });
    MapMessage(ids::kMacroList, [this](WPARAM, LPARAM event) {
        if (event == CE_CLICK) OnMacroListClick();
        if (event == CE_DBLCLK) OnMacroListDoubleClick();
        return LRESULT(0);
    });
    MapMessage(ids::kMacroScroll, [this](WPARAM part, LPARAM event) {
        OnScrollBar(macroList_, macroScroll_, event, part);
        return LRESULT(0);
    });
    MapMessage(ids::kActionScroll, [this](WPARAM part, LPARAM event) {
        OnScrollBar(actionList_, actionScroll_, event, part);
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
    MapMessage(ids::kInsertComboMessage, [this](WPARAM, LPARAM l) {
        if (l == CComboButton::kClick) OnInsertCombo();
        return LRESULT(0);
    });
    MapMessage(ids::kInsertMenuChoice, [this](WPARAM, LPARAM l) {
        const auto* result = reinterpret_cast<const PopupResult*>(l);
        CDlgBase::ClosePopup(ids::kInsertMenuSlot);
        if (insertCombo_) insertCombo_->SetOpen(false);
        if (result && result->bytes[0] < kMacroInsertKinds) {
            insertChoice_ = result->bytes[0];
            pendingInsert_ = true;
            // Carried out once the menu has gone, with the window drawn again.
            Host().PostMessage(hwnd_, ids::kRunInsert, 0, 0);
        }
        Repaint();
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
    MapClick(ids::kExport, [this] { OnExport(); });
    MapClick(ids::kImport, [this] { OnImport(); });
    MapMessage(ids::kWarnDigitsOnly, [this](WPARAM, LPARAM) {
        ShowText(macro_text::kDigitsOnly);
        return LRESULT(0);
    });
}

// ---- building ---------------------------------------------------------------

void CMacroManagerDlg::AddControls()
{
    auto text = [this](UINT id, int l, int t, int r, int b, int textNo) {
        auto c = std::make_unique<CStaticText>(hwnd_, id, ScaleRect(l, t, r, b), kText, DT_LEFT | DT_SINGLELINE);
        c->SetLabelText(UiText(textNo));
        AddControl(0, std::move(c));
    };
    auto button = [this](UINT id, int l, int t, int r, int b, int textNo) {
        auto c = std::make_unique<CImageButton>(hwnd_, id, ScaleRect(l, t, r, b), UiText(textNo));
        c->LoadNormalAndHover(SkinPath(u"skins/button3_nr.png"), SkinPath(u"skins/button3_ov.png"));
        AddControl(1, std::move(c));
    };

    auto setCombo = std::make_unique<CComboButton>(hwnd_, ids::kSetComboMessage, ids::kSetCombo,
                                                   ScaleRect(0, 0, 194, 22), u"", DT_LEFT);
    setCombo->LoadComboStrip();
    setCombo->SetMargins(ScaleUnits(8), ScaleUnits(20));
    setCombo_ = AddControl(1, std::move(setCombo));

    text(ids::kMacroListCaption, 24, 35, 124, 52, 191);
    text(ids::kActionListCaption, 189, 35, 289, 52, 192);

    auto macroList = std::make_unique<CEditShowList>(hwnd_, ScaleRect(25, 54, 168, 323));
    macroList->SetSource(&setSource_);
    macroList_ = AddControl(1, std::move(macroList));
    auto macroScroll = std::make_unique<CVScrollBar>(hwnd_, ids::kMacroScroll, ScaleRect(169, 53, 187, 324));
    macroScroll->LoadArrows();
    macroScroll_ = AddControl(1, std::move(macroScroll));

    auto actionList = std::make_unique<CImageShowList>(hwnd_, ScaleRect(190, 54, 333, 323));
    actionList->LoadIcons(SkinPath(u"skins/macro_up.png"), SkinPath(u"skins/macro_down.png"),
                          SkinPath(u"skins/macro_time.png"));
    actionList_ = AddControl(1, std::move(actionList));
    auto actionScroll = std::make_unique<CVScrollBar>(hwnd_, ids::kActionScroll, ScaleRect(334, 53, 352, 324));
    actionScroll->LoadArrows();
    actionScroll_ = AddControl(1, std::move(actionScroll));

    auto record = std::make_unique<CCheckButton>(hwnd_, ids::kRecord, ScaleRect(370, 53, 460, 71), UiText(198),
                                                 DT_CENTER);
    record->LoadImage1(SkinPath(u"skins/macro_record_nr.png"));
    record->LoadImage2(SkinPath(u"skins/macro_record_nr.png"));
    record->LoadImage3(SkinPath(u"skins/macro_record_dn.png"));
    record->SetUncheckedCaption(UiText(198));
    record->SetCheckedCaption(UiText(199));
    record->SetMargins(ScaleUnits(16), 0);
    record_ = AddControl(1, std::move(record));

    auto pauses = std::make_unique<CCheckButton>(hwnd_, ids::kRecordPauses, ScaleRect(370, 86, 381, 97), u"");
    pauses->LoadImage1(SkinPath(u"skins/check_nr.png"));
    pauses->LoadImage2(SkinPath(u"skins/check_ov.png"));
    pauses->LoadImage3(SkinPath(u"skins/check_dn.png"));
    pauses->SetChecked(true);
    recordPauses_ = AddControl(1, std::move(pauses));
    text(ids::kRecordPausesLabel, 390, 84, 516, 102, 193);

    RegisterRadioGroup(
        {{ids::kLoopHeld, ids::kLoopHeldBit}, {ids::kLoopToggle, ids::kLoopToggleBit}, {ids::kLoopCount, ids::kLoopCountBit}});
    struct RadioRow {
        UINT id, label;
        int top, textNo;
    };
    for (RadioRow r : {RadioRow{ids::kLoopHeld, ids::kLoopHeldLabel, 113, 194},
                       RadioRow{ids::kLoopToggle, ids::kLoopToggleLabel, 141, 195},
                       RadioRow{ids::kLoopCount, ids::kLoopCountLabel, 169, 196}}) {
        auto radio = std::make_unique<CRadioButton>(hwnd_, r.id, ScaleRect(368, r.top, 383, r.top + 15));
        radio->LoadImage1(SkinPath(u"skins/radio_nr.png"));
        radio->LoadImage2(SkinPath(u"skins/radio_ov.png"));
        radio->LoadImage3(SkinPath(u"skins/radio_dn.png"));
        AddControl(1, std::move(radio));
        // Up to two lines in a smaller face, centred on the radio: "Repeat
        // until pressed again" is wider than the column in most languages.
        auto label = std::make_unique<CStaticText>(hwnd_, r.label, ScaleRect(390, r.top - 6, 522, r.top + 21), kText,
                                                   DT_LEFT | DT_WORDBREAK);
        label->SetLabelText(UiText(r.textNo));
        label->SetFont(std::min(ScaleUnits(13), g_uiFont.height), g_uiFont.face);
        AddControl(0, std::move(label));
    }

    platform::EditParams p;
    p.font = {u"Tahoma", ScaleUnits(14)};
    p.textColour = RGB(180, 180, 180);
    p.backColour = RGB(20, 20, 20);
    p.maxLength = 8;
    loopEditRect_ = ScaleRect(392, 190, 470, 210);
    p.visible = true;
    p.accessibleName = UiText(196);
    loopEdit_ = CreateEditBox(int(ids::kLoopCountEdit),
                                  loopEditRect_.Offset(ScaleUnits(kHiddenOffset), 0), p);

    text(ids::kInsertLabel, 370, 230, 470, 247, 197);
    auto insert = std::make_unique<CComboButton>(hwnd_, ids::kInsertComboMessage, ids::kInsertCombo,
                                                 ScaleRect(370, 250, 487, 264), u"", DT_LEFT);
    insert->LoadNormalAndHover(SkinPath(u"skins/combo3_nr.png"), SkinPath(u"skins/combo3_ov.png"));
    insertCombo_ = AddControl(1, std::move(insert));

    button(ids::kNewMacro, 24, 333, 89, 356, 200);
    button(ids::kDeleteMacro, 104, 333, 169, 356, 202);
    button(ids::kModifyAction, 189, 333, 254, 356, 201);
    button(ids::kDeleteAction, 269, 333, 334, 356, 202);
    button(ids::kExport, 367, 333, 432, 356, 203);
    button(ids::kImport, 444, 333, 509, 356, 204);

    auto close = std::make_unique<CImageButton>(hwnd_, ids::kClose, ScaleRect(505, 3, 520, 18), u"");
    close->LoadNormalAndHover(SkinPath(u"skins/exit_nr.png"), SkinPath(u"skins/exit_ov.png"));
    AddControl(1, std::move(close));
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

void CMacroManagerDlg::DrawOverFrame(platform::ICanvas& dc)
{
    dc.FrameRect(ScaleRect(24, 53, 169, 324), kListFrame);
    dc.FrameRect(ScaleRect(189, 53, 334, 324), kListFrame);
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
    Host().SetWindowPos(loopEdit_, show ? loopEditRect_ : loopEditRect_.Offset(ScaleUnits(kHiddenOffset), 0));
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

LRESULT CMacroManagerDlg::OnSetName(bool add, const std::u16string& name)
{
    MacroRefusal r = add ? state_.AddSet(name) : state_.DeleteSet(name);
    if (r.Refused()) {
        ShowText(r.text);
        return 0;
    }
    Synchronise();
    const MacroKey* m = state_.CurrentMacro();
    ShowLoopEdit(m && m->loopType == 2);
    return 1;
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

// ---- recording --------------------------------------------------------------

void CMacroManagerDlg::OnRecordClick()
{
    if (!record_->IsChecked()) {
        if (recorder_.Recording()) StopRecording(false);
        return;
    }
    MacroRefusal r = recorder_.Start(state_.CurrentMacro());
    if (r.Refused()) {
        record_->SetChecked(false);
        InvalidateControl(record_);
        return ShowText(r.text);
    }
    pressedWhileRecording_.reset();
    hook_.StartHook(hwnd_);
    actionList_->selection = -1;
    ScrollTo(actionList_, actionScroll_, 0);
    EnableForRecording(true);
    Repaint();
}

void CMacroManagerDlg::StopRecording(bool atLimit)
{
    hook_.StopHook();
    recorder_.Stop();
    EnableForRecording(false);
    record_->SetChecked(false);
    InvalidateControl(record_);
    WriteLibrary();
    if (atLimit) ShowText(macro_text::kRecordingFull);
}

void CMacroManagerDlg::EnableForRecording(bool recording)
{
    if (recording) {
        disabledForRecording_.clear();
        for (int g = 0; g < kGroupCount; ++g) {
            for (const auto& c : Group(g)) {
                if (!c || c.get() == record_ || c.get() == insertCombo_ || c->IsDisabled()) continue;
                c->SetDisabled(true);
                disabledForRecording_.push_back(c.get());
            }
        }
        // Typing is what is being recorded: it must not land in the box.
        if (loopEdit_) {
            Host().SetFocus(hwnd_);
            Host().EnableWindow(loopEdit_, false);
        }
    } else {
        for (CControlBase* c : disabledForRecording_) c->SetDisabled(false);
        disabledForRecording_.clear();
        if (loopEdit_) {
            Host().EnableWindow(loopEdit_, true);
            if (loopEditShown_) Host().SetFocus(loopEdit_);
        }
    }
    Repaint();
}

// ---- actions ----------------------------------------------------------------

void CMacroManagerDlg::OnInsertCombo()
{
    auto* popup = new CComboActionInsertPopup();
    const Rect r = insertCombo_->GetRect();
    const Point at = Host().ClientToScreen(hwnd_, {r.left, r.bottom});
    if (!popup->Create(hwnd_, {at.x, at.y, at.x + r.Width(), at.y + r.Height()}, ids::kInsertMenuChoice,
                       int(ids::kInsertCombo), ids::kInsertMenuDismissed)) {
        delete popup;
        return;
    }
    SetPopup(ids::kInsertMenuSlot, popup);
    insertCombo_->SetOpen(true);
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
