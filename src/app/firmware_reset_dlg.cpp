#include "app/firmware_reset_dlg.h"

#include "persist/ui_text.h"
#include "ui/dialog_parts.h"
#include "ui/passive_controls.h"
#include "ui/ui_scale.h"

CFirmwareResetDlg::CFirmwareResetDlg(HWND owner) : CDlgBase(true)
{
    owner_ = owner;
    windowWidth = ScaleUnits(kBaseWidth);
    windowHeight = ScaleUnits(kBaseHeight);
    MapMessage(2010, [this](WPARAM w, LPARAM l) { return OnOkButton(w, l); });
    MapMessage(2011, [this](WPARAM w, LPARAM l) { return OnCloseButton(w, l); });
}

bool CFirmwareResetDlg::OnInitDialog()
{
    CDlgBase::OnInitDialog();
    frame_ = CSkinImage::FromFile(SkinPath(u"skins/Frame_common.bmp"));
    Host().DescribeWindow(hwnd_, u"firmware-reset", UiText(140));
    return true;
}

void CFirmwareResetDlg::CreateControls(Rect)
{
    if (controlsCreated) return;
    controlsCreated = true;
    AddControl(0, MakeDialogCloseButton(hwnd_, ScaleRect(405, 4, 420, 19)));

    AddControl(0, MakeDialogPushButton(hwnd_, 2010, ScaleRect(260, 110, 329, 130), UiText(4)));

    AddControl(0, MakeDialogPushButton(hwnd_, 2011, ScaleRect(350, 110, 419, 130), UiText(5)));

    auto text = std::make_unique<CStaticText>(hwnd_, 3001, ScaleRect(0, 60, 429, 108), RGB(180, 180, 180),
                                              DT_CENTER | DT_VCENTER | DT_WORDBREAK);
    text->SetLabelText(UiText(140));
    text->SetFont(g_uiFont.height, g_uiFont.face);
    AddControl(0, std::move(text));
}

void CFirmwareResetDlg::DrawBackground(platform::ICanvas& dc, const Rect& client)
{
    DrawFramedDialog(*this, dc, client, frame_.get(), kBaseWidth, kBaseHeight);
}

bool CFirmwareResetDlg::PreTranslateMessage(HWND, const platform::Msg& msg)
{
    if (msg.message != WM_KEYDOWN) return false;
    if (msg.wParam == VK_RETURN) {
        OnOkButton(2010, CE_CLICK);
        return true;
    }
    return msg.wParam == VK_ESCAPE;
}

LRESULT CFirmwareResetDlg::OnOkButton(WPARAM, LPARAM lParam)
{
    if (lParam != CE_CLICK) return 0;
    ReleaseControlImages();
    OnOK();
    return 0;
}
