// The macro manager's controls: the set combo, the two lists and their
// scroll bars, recording, the loop type, the insert menu and the buttons
// along the bottom, placed in the frame's base units.
#include "macros/ui/macro_manager_dlg.h"

#include <algorithm>

#include "base/ui_text.h"
#include "macros/ui/macro_manager_ids.h"
#include "ui/check_button.h"
#include "ui/combo_button.h"
#include "ui/image_button.h"
#include "ui/passive_controls.h"
#include "ui/radio_button.h"
#include "ui/radio_state.h"
#include "ui/show_lists.h"
#include "ui/skin_image.h"
#include "ui/ui_scale.h"
#include "ui/vscroll_bar.h"

namespace ids = macro_ids;

namespace {

constexpr COLORREF kText = RGB(180, 180, 180);
constexpr COLORREF kListFrame = RGB(0x94, 0x94, 0x94);

}  // namespace

void CMacroManagerDlg::AddCaption(UINT id, int l, int t, int r, int b, int textNo)
{
    auto c = std::make_unique<CStaticText>(hwnd_, id, ScaleRect(l, t, r, b), kText, DT_LEFT | DT_SINGLELINE);
    c->SetLabelText(UiText(textNo));
    AddControl(0, std::move(c));
}

void CMacroManagerDlg::AddFooterButton(UINT id, int l, int t, int r, int b, int textNo)
{
    auto c = std::make_unique<CImageButton>(hwnd_, id, ScaleRect(l, t, r, b), UiText(textNo));
    c->LoadNormalAndHover(SkinPath(u"skins/button3_nr.png"), SkinPath(u"skins/button3_ov.png"));
    AddControl(1, std::move(c));
}

// The order of creation is the tab order and the drawing order.
void CMacroManagerDlg::AddControls()
{
    auto setCombo = std::make_unique<CComboButton>(hwnd_, ids::kSetComboMessage, ids::kSetCombo,
                                                   ScaleRect(0, 0, 194, 22), u"", DT_LEFT);
    setCombo->LoadComboStrip();
    setCombo->SetMargins(ScaleUnits(8), ScaleUnits(20));
    setCombo_ = AddControl(1, std::move(setCombo));
    AddListControls();
    AddRecordingControls();
    AddLoopControls();
    AddButtons();
}

void CMacroManagerDlg::AddListControls()
{
    AddCaption(ids::kMacroListCaption, 24, 35, 124, 52, 191);
    AddCaption(ids::kActionListCaption, 189, 35, 289, 52, 192);

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
}

void CMacroManagerDlg::AddRecordingControls()
{
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
    AddCaption(ids::kRecordPausesLabel, 390, 84, 516, 102, 193);
}

void CMacroManagerDlg::AddLoopControls()
{
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
    loopEdit_ = CreateEditBox(int(ids::kLoopCountEdit), loopEditRect_.Offset(ScaleUnits(kHiddenEditOffset), 0), p);
}

void CMacroManagerDlg::AddButtons()
{
    AddCaption(ids::kInsertLabel, 370, 230, 470, 247, 197);
    auto insert = std::make_unique<CComboButton>(hwnd_, ids::kInsertComboMessage, ids::kInsertCombo,
                                                 ScaleRect(370, 250, 487, 264), u"", DT_LEFT);
    insert->LoadNormalAndHover(SkinPath(u"skins/combo3_nr.png"), SkinPath(u"skins/combo3_ov.png"));
    insertCombo_ = AddControl(1, std::move(insert));

    AddFooterButton(ids::kNewMacro, 24, 333, 89, 356, 200);
    AddFooterButton(ids::kDeleteMacro, 104, 333, 169, 356, 202);
    AddFooterButton(ids::kModifyAction, 189, 333, 254, 356, 201);
    AddFooterButton(ids::kDeleteAction, 269, 333, 334, 356, 202);
    AddFooterButton(ids::kExport, 367, 333, 432, 356, 203);
    AddFooterButton(ids::kImport, 444, 333, 509, 356, 204);

    auto close = std::make_unique<CImageButton>(hwnd_, ids::kClose, ScaleRect(505, 3, 520, 18), u"");
    close->LoadNormalAndHover(SkinPath(u"skins/exit_nr.png"), SkinPath(u"skins/exit_ov.png"));
    AddControl(1, std::move(close));
}

void CMacroManagerDlg::DrawOverFrame(platform::ICanvas& dc)
{
    dc.FrameRect(ScaleRect(24, 53, 169, 324), kListFrame);
    dc.FrameRect(ScaleRect(189, 53, 334, 324), kListFrame);
}
