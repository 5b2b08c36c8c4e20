#include "ui/attention_dlg.h"

#include <algorithm>

#include "persist/ui_text.h"
#include "ui/passive_controls.h"
#include "ui/ui_scale.h"

namespace {

const FramedDlgLook kLook{CAttentionDlg::kBaseWidth, CAttentionDlg::kBaseHeight, u"skins/Frame_warning.bmp",
                          u"attention", CAttentionDlg::kOk};
constexpr int kLineHeight = 18;

// Lines past the two the box has room for, estimated from the characters
// (text is measured only while painting): a message with a file's path
// makes the box taller instead of running over its title and its OK.
int ExtraLines(const std::u16string& message)
{
    int lines = 1;
    double width = 0;
    for (char16_t c : message) {
        if (c == u'\n') {
            ++lines;
            width = 0;
            continue;
        }
        width += c >= 0x2E80 ? 13 : 7.5;
        if (width > 290) ++lines, width = 0;
    }
    return std::max(0, lines - 2);
}

FramedDlgLook LookFor(const std::u16string& message)
{
    FramedDlgLook look = kLook;
    look.baseHeight += ExtraLines(message) * kLineHeight;
    return look;
}

}  // namespace

CAttentionDlg::CAttentionDlg(const std::u16string&, const std::u16string& message, HWND parent)
    : CFramedDlg(LookFor(message), parent), message_(message)
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
    const int extra = Look().baseHeight - kBaseHeight;
    AddPushButton(kOk, 240, 70 + extra, 309, 90 + extra, UiText(4));

    auto title = std::make_unique<CStaticText>(hwnd_, 2012, ScaleRect(21, 11, 175, 31), RGB(0x52, 0x90, 0xFE),
                                               DT_LEFT | DT_SINGLELINE);
    AddControl(0, std::move(title));

    // A long message wraps as one block centred on its line; it may spread
    // above and below that line rather than be cut off, and nothing else of
    // the layout moves.
    auto text = std::make_unique<CStaticText>(hwnd_, 2013, ScaleRect(extra ? 10 : 0, 40, extra ? 309 : 319, 60 + extra),
                                              RGB(180, 180, 180), DT_CENTER | DT_WORDBREAK | DT_NOCLIP);
    text->SetLabelText(message_);
    AddControl(0, std::move(text));
}
