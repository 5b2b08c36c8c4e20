#include "app/open_failure_dlg.h"

#include "persist/ui_text.h"
#include "ui/dialog_parts.h"
#include "ui/passive_controls.h"
#include "ui/skin_image.h"
#include "ui/ui_scale.h"

COpenFailureDlg::COpenFailureDlg(const std::u16string& message, const std::u16string& commands)
    : CAttentionDlg(u"", message, 0), commands_(commands)
{
    windowWidth = ScaleUnits(kBaseWidth);
    windowHeight = ScaleUnits(kBaseHeight);
}

void COpenFailureDlg::CreateControls(Rect)
{
    if (controlsCreated) return;
    controlsCreated = true;
    // The frame picture is stretched to this size: its title rule lands at
    // about a third of the height, so the text starts below that.
    frame_ = CSkinImage::FromFile(SkinPath(u"skins/Frame_warning.bmp"));
    AddControl(0, MakeDialogCloseButton(hwnd_, ScaleRect(541, 4, 556, 19)));
    AddControl(0, MakeDialogPushButton(hwnd_, 2010, ScaleRect(477, 200, 546, 220), UiText(4)));

    auto text = std::make_unique<CStaticText>(hwnd_, 2013, ScaleRect(20, 82, 540, 146), RGB(200, 200, 200),
                                              DT_LEFT | DT_WORDBREAK);
    text->SetLabelText(Message());
    AddControl(0, std::move(text));
    auto commands = std::make_unique<CStaticText>(hwnd_, 2014, ScaleRect(20, 150, 540, 196), RGB(255, 255, 255),
                                                  DT_LEFT | DT_WORDBREAK);
    commands->SetLabelText(commands_);
    AddControl(0, std::move(commands));
}

void COpenFailureDlg::DrawBackground(platform::ICanvas& dc, const Rect& client)
{
    DrawFramedDialog(*this, dc, client, frame_.get(), kBaseWidth, kBaseHeight);
}
