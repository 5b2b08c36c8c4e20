#include "ui/attention_dlg.h"

#include "persist/ui_text.h"
#include "ui/dialog_parts.h"
#include "ui/passive_controls.h"
#include "ui/ui_scale.h"

CAttentionDlg::CAttentionDlg(const std::u16string&, const std::u16string& message, HWND parent)
    : CDlgBase(true), message_(message), parent_(parent)
{
    windowWidth = ScaleUnits(kBaseWidth);
    windowHeight = ScaleUnits(kBaseHeight);
    MapMessage(2010, [this](WPARAM w, LPARAM l) { return OnOkButton(w, l); });
}

bool CAttentionDlg::ShowModeless()
{
    if (!Create(parent_)) return false;
    Host().SetTopmost(hwnd_, true);
    return true;
}

bool CAttentionDlg::OnInitDialog()
{
    CDlgBase::OnInitDialog();
    frame_ = CSkinImage::FromFile(SkinPath(u"skins/Frame_warning.bmp"));
    Host().DescribeWindow(hwnd_, u"attention", message_);
    return true;
}

void CAttentionDlg::CreateControls(Rect)
{
    if (controlsCreated) return;
    controlsCreated = true;
    AddControl(0, MakeDialogCloseButton(hwnd_, ScaleRect(300, 4, 315, 19)));

    AddControl(0, MakeDialogPushButton(hwnd_, 2010, ScaleRect(240, 70, 309, 90), UiText(4)));

    auto title = std::make_unique<CStaticText>(hwnd_, 2012, ScaleRect(21, 11, 175, 31), RGB(0x52, 0x90, 0xFE),
                                               DT_LEFT | DT_SINGLELINE);
    AddControl(0, std::move(title));

    // A long message wraps as one block centred on its line; it may spread
    // above and below that line rather than be cut off, and nothing else of
    // the layout moves.
    auto text = std::make_unique<CStaticText>(hwnd_, 2013, ScaleRect(0, 40, 319, 60), RGB(180, 180, 180),
                                              DT_CENTER | DT_WORDBREAK | DT_NOCLIP);
    text->SetLabelText(message_);
    AddControl(0, std::move(text));
}

void CAttentionDlg::DrawBackground(platform::ICanvas& dc, const Rect& client)
{
    DrawFramedDialog(*this, dc, client, frame_.get(), kBaseWidth, kBaseHeight);
}

LRESULT CAttentionDlg::OnOkButton(WPARAM, LPARAM lParam)
{
    if (lParam != CE_CLICK) return 0;
    ReleaseControlImages();
    OnOK();
    return 0;
}
