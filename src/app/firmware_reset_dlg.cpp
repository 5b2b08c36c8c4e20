#include "app/firmware_reset_dlg.h"

#include "base/ui_text.h"
#include "ui/passive_controls.h"
#include "ui/ui_scale.h"

namespace {

constexpr UINT kOk = 2010;
constexpr UINT kCancel = 2011;
constexpr UINT kQuestion = 3001;
constexpr int kQuestionText = 140;

const FramedDlgLook kLook{CFirmwareResetDlg::kBaseWidth,
                          CFirmwareResetDlg::kBaseHeight,
                          u"skins/Frame_common.bmp",
                          u"firmware-reset",
                          kOk,
                          kCancel,
                          DialogKey::PassOn,
                          DialogKey::PassOn,
                          0,
                          7,
                          true};  // Enter keeps the settings: Cancel is the default

}  // namespace

CFirmwareResetDlg::CFirmwareResetDlg(HWND owner) : CFramedDlg(kLook, owner) {}

std::u16string CFirmwareResetDlg::Description() const { return UiText(kQuestionText); }

void CFirmwareResetDlg::AddControls()
{
    AddCloseButton(405);
    AddPushButton(kOk, 260, 110, 329, 130, UiText(4));
    AddPushButton(kCancel, 350, 110, 419, 130, UiText(5));

    auto text = std::make_unique<CStaticText>(hwnd_, kQuestion, ScaleRect(0, 60, 429, 108), RGB(180, 180, 180),
                                              DT_CENTER | DT_VCENTER | DT_WORDBREAK);
    text->SetLabelText(UiText(kQuestionText));
    text->SetFont(g_uiFont.height, g_uiFont.face);
    AddControl(0, std::move(text));
}
