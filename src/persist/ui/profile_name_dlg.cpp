#include "persist/ui/profile_name_dlg.h"

#include "persist/profile_manager.h"
#include "base/ui_text.h"
#include "ui/attention_dlg.h"
#include "ui/passive_controls.h"
#include "ui/ui_scale.h"

namespace {

// OK is checked here before the dialog ends, so the base does not map it.
const FramedDlgLook kLook{CProfileNameDlg::kBaseWidth, CProfileNameDlg::kBaseHeight, u"skins/Frame_common.bmp",
                          u"profile name", 0, CProfileNameDlg::kCancel, DialogKey::PassOn, DialogKey::PassOn,
                          CProfileNameDlg::kOk};

}  // namespace

CProfileNameDlg::CProfileNameDlg(int titleText, std::u16string name, HWND parent)
    : CFramedDlg(kLook, parent), titleText_(titleText), name_(std::move(name))
{
    MapClick(kOk, [this] { OnOk(); });
}

std::u16string CProfileNameDlg::Description() const { return UiText(titleText_); }

std::u16string CProfileNameDlg::WindowTitle() const { return UiText(titleText_); }

void CProfileNameDlg::AddControls()
{
    AddCloseButton(405);
    AddPushButton(kOk, 260, 110, 329, 130, UiText(4));
    AddPushButton(kCancel, 350, 110, 419, 130, UiText(5));
    auto title =
        std::make_unique<CStaticText>(hwnd_, kTitle, ScaleRect(10, 5, 420, 23), RGB(180, 180, 180), DT_LEFT | DT_SINGLELINE);
    title->SetLabelText(UiText(titleText_));
    AddControl(0, std::move(title));
}

bool CProfileNameDlg::OnInitDialog()
{
    CFramedDlg::OnInitDialog();
    platform::EditParams params;
    // A 10-point face at the UI scale; the desktop scales real edit boxes by
    // its own DPI again, hence the division.
    params.font.face = u"Tahoma";
    params.font.height = static_cast<int>(13.0f * g_uiScale / (g_dpiFactor > 0 ? g_dpiFactor : 1.0f));
    params.align = DT_CENTER;
    params.accessibleName = UiText(titleText_);
    edit_ = CreateEditBox(kEdit, ScaleRect(15, 65, 415, 87), params);
    if (edit_) {
        Host().SetWindowText(edit_, name_);
        Host().SetEditSelection(edit_, -1, -1);
        Host().SetFocus(edit_);
    }
    return true;
}

bool CProfileNameDlg::PreTranslateMessage(HWND self, const platform::Msg& msg)
{
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) {
        OnOk();
        return true;
    }
    return CFramedDlg::PreTranslateMessage(self, msg);
}

void CProfileNameDlg::OnOk()
{
    const std::u16string typed = edit_ ? Host().GetWindowText(edit_) : name_;
    if (ProfileResult check = CheckProfileName(typed); !check.Done()) {
        CAttentionDlg box(u"", check.Message(), hwnd_);
        box.DoModal();
        if (edit_) Host().SetFocus(edit_);
        return;
    }
    name_ = typed;
    AnswerOk();
}
