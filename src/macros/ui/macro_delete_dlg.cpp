#include "macros/ui/macro_delete_dlg.h"

#include <algorithm>

#include "macros/macro_texts.h"
#include "base/ui_text.h"
#include "ui/passive_controls.h"
#include "ui/ui_scale.h"

namespace {

constexpr int kWidth = 360;
constexpr int kLineHeight = 18;
constexpr int kMessageTop = 36;
constexpr int kMaxLines = 12;  // past that the list ends in "..."
constexpr int kTextUsedBy = 484;

FramedDlgLook LookFor(int lines)
{
    FramedDlgLook look;
    look.baseWidth = kWidth;
    look.baseHeight = kMessageTop + kLineHeight * lines + 50;
    look.frame = u"skins/Frame_warning.bmp";
    look.kind = u"macro delete";
    look.okId = CMacroDeleteDlg::kOk;
    look.cancelId = CMacroDeleteDlg::kCancel;
    look.enter = DialogKey::Ok;
    look.titleBand = kMessageTop;  // a long list must not push the red rule into the text
    return look;
}

int LineCount(const std::u16string& s) { return 1 + int(std::count(s.begin(), s.end(), u'\n')); }

std::u16string Compose(const std::u16string& name, const std::u16string& uses)
{
    std::u16string s = UiText(macro_text::kConfirmDeleteMacro);
    if (!name.empty()) s += u" (" + name + u")";
    if (uses.empty()) return s;
    std::u16string used = UiText(kTextUsedBy);
    std::u16string list = uses;
    // A long list stops after a screenful of lines.
    int lines = 1;
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i] == u'\n' && ++lines > kMaxLines) {
            list = list.substr(0, i) + u"\n...";
            break;
        }
    return s + u"\n" + used + u"\n" + list;
}

}  // namespace

CMacroDeleteDlg::CMacroDeleteDlg(const std::u16string& macroName, const std::u16string& usesText, HWND parent)
    : CFramedDlg(LookFor(LineCount(Compose(macroName, usesText))), parent),
      message_(Compose(macroName, usesText)),
      lines_(LineCount(message_))
{
}

void CMacroDeleteDlg::AddControls()
{
    AddCloseButton(kWidth - 19);
    const int bottom = Look().baseHeight;
    AddPushButton(kOk, kWidth - 160, bottom - 32, kWidth - 91, bottom - 12, UiText(4));
    AddPushButton(kCancel, kWidth - 80, bottom - 32, kWidth - 11, bottom - 12, UiText(5));
    auto text = std::make_unique<CStaticText>(hwnd_, 2013,
                                              ScaleRect(16, kMessageTop, kWidth - 16, kMessageTop + kLineHeight * lines_),
                                              RGB(180, 180, 180), DT_LEFT | DT_WORDBREAK);
    text->SetLabelText(message_);
    AddControl(0, std::move(text));
}
