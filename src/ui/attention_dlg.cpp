#include "ui/attention_dlg.h"

#include "base/ui_text.h"
#include "ui/passive_controls.h"
#include "ui/ui_scale.h"

namespace {

const FramedDlgLook kLook{CAttentionDlg::kBaseWidth,
                          CAttentionDlg::kBaseHeight,
                          u"skins/Frame_warning.bmp",
                          u"attention",
                          CAttentionDlg::kOk,
                          0,
                          DialogKey::PassOn,
                          DialogKey::PassOn,
                          0,
                          520};

}  // namespace

CAttentionDlg::CAttentionDlg(const std::u16string&, const std::u16string& message, HWND parent)
    : CFramedDlg(kLook, parent), message_(message)
{
}

bool CAttentionDlg::ShowModeless()
{
    if (!Create(parent_)) return false;
    Host().SetTopmost(hwnd_, true);
    return true;
}

void CAttentionDlg::AddControls()
{
    AddCloseButton(300);
    AddPushButton(kOk, 240, 70, 309, 90, UiText(4));

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
