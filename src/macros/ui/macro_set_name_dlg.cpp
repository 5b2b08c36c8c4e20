#include "macros/ui/macro_set_name_dlg.h"

#include <string_view>

#include "macros/ui/macro_manager_ids.h"
#include "base/ui_text.h"
#include "ui/image_button.h"
#include "ui/passive_controls.h"
#include "ui/ui_scale.h"

namespace {

FramedDlgLook LookFor(const char16_t* kind)
{
    FramedDlgLook look;
    look.baseWidth = CMacroSetNameDlg::kBaseWidth;
    look.baseHeight = CMacroSetNameDlg::kBaseHeight;
    look.frame = u"skins/res/300.png";
    look.kind = kind;
    look.cancelId = macro_ids::kDlgCancel;
    look.defaultId = macro_ids::kDlgOk;
    // Deleting a set cannot be undone: Enter keeps it.
    look.destructive = std::u16string_view(kind) == u"macro set delete";
    look.title = look.destructive ? 524 : 523;
    return look;
}

}  // namespace

CMacroSetNameDlg::CMacroSetNameDlg(const char16_t* kind, int promptText, NameHandler onName, HWND parent)
    : CFramedDlg(LookFor(kind), parent), promptText_(promptText), onName_(std::move(onName))
{
    MapClick(macro_ids::kDlgOk, [this] { TryOk(); });
}

void CMacroSetNameDlg::AddControls()
{
    auto close = std::make_unique<CImageButton>(hwnd_, macro_ids::kClose, ScaleRect(494, 10, 509, 25), u"");
    close->LoadStrip(333, 3);
    close->SetAccessibleName(UiText(408));
    AddControl(0, std::move(close));
    auto ok = std::make_unique<CImageButton>(hwnd_, macro_ids::kDlgOk, ScaleRect(306, 158, 398, 185), UiText(4));
    ok->LoadStrip(296, 3);
    AddControl(0, std::move(ok));
    auto cancel =
        std::make_unique<CImageButton>(hwnd_, macro_ids::kDlgCancel, ScaleRect(408, 158, 500, 185), UiText(5));
    cancel->LoadStrip(297, 3);
    AddControl(0, std::move(cancel));

    auto prompt = std::make_unique<CStaticText>(hwnd_, macro_ids::kSetDlgPrompt, ScaleRect(65, 76, 465, 94),
                                                RGB(180, 180, 180), DT_LEFT | DT_SINGLELINE);
    prompt->SetLabelText(UiText(promptText_));
    AddControl(0, std::move(prompt));

    platform::EditParams p;
    p.font = {u"Tahoma", ScaleUnits(14)};
    p.textColour = RGB(255, 255, 255);
    p.backColour = RGB(11, 11, 11);
    p.accessibleName = UiText(promptText_);
    edit_ = CreateEditBox(int(macro_ids::kSetDlgEdit), ScaleRect(66, 101, 464, 123), p);
}

bool CMacroSetNameDlg::OnInitDialog()
{
    CFramedDlg::OnInitDialog();
    if (edit_) Host().SetFocus(edit_);
    return true;
}

std::u16string CMacroSetNameDlg::Description() const { return UiText(promptText_); }

void CMacroSetNameDlg::TryOk()
{
    const std::u16string name = edit_ ? Host().GetWindowText(edit_) : std::u16string();
    if (onName_ && onName_(name)) {
        AnswerOk();
    } else if (edit_) {
        Host().SetFocus(edit_);
    }
}
