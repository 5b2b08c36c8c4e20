#include "app/open_failure_dlg.h"

#include "base/ui_text.h"
#include "ui/passive_controls.h"
#include "ui/ui_scale.h"

namespace {

// The frame picture is stretched to this size: its title rule lands at about
// a third of the height, so the text starts below that.
const FramedDlgLook kLook{COpenFailureDlg::kBaseWidth,
                          COpenFailureDlg::kBaseHeight,
                          u"skins/Frame_warning.bmp",
                          u"attention",
                          COpenFailureDlg::kOk,
                          0,
                          DialogKey::PassOn,
                          DialogKey::PassOn,
                          0,
                          520};

}  // namespace

COpenFailureDlg::COpenFailureDlg(const std::u16string& message, const std::u16string& commands)
    : CFramedDlg(kLook, 0), message_(message), commands_(commands)
{
}

bool COpenFailureDlg::ShowModeless()
{
    if (!Create(parent_)) return false;
    Host().SetTopmost(hwnd_, true);
    return true;
}

void COpenFailureDlg::AddControls()
{
    AddCloseButton(541);
    AddPushButton(kOk, 477, 200, 546, 220, UiText(4));
    auto text = std::make_unique<CStaticText>(hwnd_, 2013, ScaleRect(20, 82, 540, 146), RGB(200, 200, 200),
                                              DT_LEFT | DT_WORDBREAK);
    text->SetLabelText(message_);
    AddControl(0, std::move(text));
    auto commands = std::make_unique<CStaticText>(hwnd_, 2014, ScaleRect(20, 150, 540, 196), RGB(255, 255, 255),
                                                  DT_LEFT | DT_WORDBREAK);
    commands->SetLabelText(commands_);
    AddControl(0, std::move(commands));
}
