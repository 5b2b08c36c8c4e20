#include "macros/ui/macro_value_dlg.h"

#include "macros/macro_edit_values.h"
#include "macros/ui/macro_manager_ids.h"
#include "base/ui_text.h"
#include "ui/attention_dlg.h"
#include "ui/key_capture_box.h"
#include "ui/passive_controls.h"
#include "ui/ui_scale.h"

namespace {

FramedDlgLook LookFor(const char16_t* kind, bool withEdit)
{
    FramedDlgLook look;
    look.baseWidth = CMacroValueDlg::kBaseWidth;
    look.baseHeight = CMacroValueDlg::kBaseHeight;
    look.frame = u"skins/Frame_warning.bmp";
    look.kind = kind;
    look.cancelId = macro_ids::kDlgCancel;
    look.defaultId = macro_ids::kDlgOk;
    // Enter confirms (in the edit box through the refusal check below) and
    // Escape cancels; the key dialog's box keeps every other key for itself.
    (void)withEdit;
    return look;
}

constexpr Rect kValueRect{11, 40, 306, 62};

}  // namespace

CMacroValueDlg::CMacroValueDlg(const char16_t* kind, int titleText, bool withEdit, HWND parent)
    : CFramedDlg(LookFor(kind, withEdit), parent), titleText_(titleText), withEdit_(withEdit)
{
    MapClick(macro_ids::kDlgOk, [this] { TryOk(); });
    MapMessage(macro_ids::kWarnDigitsOnly, [this](WPARAM, LPARAM) {
        CAttentionDlg(u"", UiText(macro_text::kDigitsOnly), hwnd_).DoModal();
        return LRESULT(0);
    });
}

void CMacroValueDlg::AddControls()
{
    AddCloseButton(300);
    AddPushButton(macro_ids::kDlgOk, 170, 70, 235, 93, UiText(4));
    AddPushButton(macro_ids::kDlgCancel, 240, 70, 305, 93, UiText(5));
    const UINT titleId = withEdit_ ? macro_ids::kDlgTitle : macro_ids::kDlgKeyTitle;
    AddControl(0, std::make_unique<CStaticText>(hwnd_, titleId, ScaleRect(10, 3, 220, 21), RGB(255, 255, 255),
                                                DT_LEFT | DT_SINGLELINE))
        ->SetLabelText(UiText(titleText_));
    const Rect r = ScaleRect(kValueRect.left, kValueRect.top, kValueRect.right, kValueRect.bottom);
    if (withEdit_) {
        platform::EditParams p;
        p.font = {u"Tahoma", ScaleUnits(14)};
        p.textColour = RGB(0, 0, 0);
        p.backColour = RGB(255, 255, 255);
        p.accessibleName = UiText(titleText_);
        edit_ = CreateEditBox(int(macro_ids::kDlgEdit), r, p);
        Host().SetWindowText(edit_, InitialValue());
    } else {
        value_ = AddControl(0, std::make_unique<CKeyCaptureBox>(hwnd_, macro_ids::kDlgKeyValue, r.Inflate(-4, 0),
                                                                RGB(0, 0, 0), DT_CENTER | DT_SINGLELINE,
                                                                UiText(titleText_)));
        value_->SetLabelText(InitialValue());
    }
}

bool CMacroValueDlg::OnInitDialog()
{
    CFramedDlg::OnInitDialog();
    if (edit_) {
        Host().SetFocus(edit_);
        Host().SetEditSelection(edit_, -1, -1);
    }
    if (value_) SetFocusedControl(value_);
    return true;
}

void CMacroValueDlg::DrawOverFrame(platform::ICanvas& dc)
{
    if (withEdit_) return;
    // The key's name sits in a white field, as an edit box would show it.
    dc.FillRect(ScaleRect(kValueRect.left, kValueRect.top, kValueRect.right, kValueRect.bottom), RGB(255, 255, 255));
}

std::u16string CMacroValueDlg::Description() const { return UiText(titleText_); }

std::u16string CMacroValueDlg::EditText() const { return edit_ ? Host().GetWindowText(edit_) : std::u16string(); }

void CMacroValueDlg::ShowValue(const std::u16string& text)
{
    if (!value_) return;
    value_->SetLabelText(text);
    if (hwnd_) Host().Invalidate(hwnd_);
}

bool CMacroValueDlg::KeyBoxTakes(const platform::Msg& msg) const
{
    if (!value_ || FocusedControl() != value_) return false;
    if (msg.message == WM_CHAR) return true;
    return (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) && KeyCaptureTakes(true, UINT(msg.wParam)) &&
           !IsModifierVk(UINT(msg.wParam));
}

std::u16string CMacroValueDlg::WindowTitle() const { return UiText(titleText_); }

bool CMacroValueDlg::PreTranslateMessage(HWND self, const platform::Msg& msg)
{
    // The key box's keys are the key being chosen (they come through the
    // hook); they must not also answer the dialog.
    if (KeyBoxTakes(msg)) return true;
    if (withEdit_ && msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) {
        TryOk();
        return true;
    }
    if (WantsDigits() && msg.message == WM_CHAR && msg.hwnd == edit_ && msg.wParam >= 0x20 &&
        !IsMacroNumberChar(char16_t(msg.wParam))) {
        // The character still reaches the box; the warning comes after it.
        Host().PostMessage(hwnd_, macro_ids::kWarnDigitsOnly, 0, 0);
    }
    return CFramedDlg::PreTranslateMessage(self, msg);
}

void CMacroValueDlg::TryOk()
{
    MacroRefusal r = Confirm();
    if (r.Refused()) {
        CAttentionDlg(u"", UiText(r.text), hwnd_).DoModal();
        if (edit_) Host().SetFocus(edit_);
        return;
    }
    AnswerOk();
}
