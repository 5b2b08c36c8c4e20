#include "buttons/ui/fire_key_dlg.h"

#include "buttons/fire_input.h"
#include "base/ui_text.h"
#include "ui/attention_dlg.h"
#include "ui/passive_controls.h"
#include "ui/ui_scale.h"

namespace {

constexpr UINT kOk = 2010;
constexpr UINT kCancel = 2011;
constexpr COLORREF kTextColour = RGB(180, 180, 180);
constexpr int kTextTitle = 170, kTextInterval = 171, kTextCount = 172, kTextExplain = 173;

// Enter answers OK (which checks the two boxes) and Escape cancels, as in
// every dialog.
const FramedDlgLook kLook{CFireKeyDlg::kBaseWidth,
                          CFireKeyDlg::kBaseHeight,
                          u"skins/Frame_common.bmp",
                          u"fire",
                          0,
                          kCancel,
                          DialogKey::PassOn,
                          DialogKey::PassOn,
                          kOk,
                          kTextTitle};

}  // namespace

CFireKeyDlg::CFireKeyDlg(HWND owner) : CFramedDlg(kLook, owner)
{
    MapClick(kOk, [this] { OnOk(); });
}

std::u16string CFireKeyDlg::Description() const { return UiText(kTextTitle); }

bool CFireKeyDlg::OnInitDialog()
{
    CFramedDlg::OnInitDialog();
    platform::EditParams edit;
    // Point size 10 at the UI scale, in pixels of the screen's DPI.
    edit.font = {u"Tahoma", int(13 * g_uiScale / (g_dpiFactor > 0 ? g_dpiFactor : 1.0f))};
    edit.align = DT_CENTER;
    edit.accessibleName = UiText(kTextInterval);
    intervalEdit_ = CreateEditBox(kIntervalEditId, ScaleRect(70, 50, 168, 72), edit);
    edit.accessibleName = UiText(kTextCount);
    countEdit_ = CreateEditBox(kCountEditId, ScaleRect(250, 50, 348, 72), edit);
    Host().SetWindowText(intervalEdit_, u"50");
    Host().SetWindowText(countEdit_, u"0");
    Host().SetFocus(intervalEdit_);
    Host().SetEditSelection(intervalEdit_, 2, 2);
    Host().SetTimer(hwnd_, kTimerCheck, kFireCheckPeriodMs);
    return true;
}

void CFireKeyDlg::AddControls()
{
    AddTitle(2012, UiText(kTextTitle));
    AddCloseButton(405);
    // OK and Cancel side by side in the bottom-right corner, as in the
    // key-combination dialog, below the explanation; each caption above its
    // own box and inside the dialog.
    AddOkCancelButtons(kOk, kCancel);
    const struct {
        int text;
        Rect r;
        unsigned format;
    } texts[] = {
        {kTextInterval, ScaleRect(70, 30, 240, 48), DT_LEFT | DT_VCENTER | DT_SINGLELINE},
        {kTextCount, ScaleRect(250, 30, 420, 48), DT_LEFT | DT_VCENTER | DT_SINGLELINE},
        {kTextExplain, ScaleRect(70, 75, 420, 108), DT_LEFT | DT_WORDBREAK},
    };
    for (const auto& t : texts) {
        auto c = std::make_unique<CStaticText>(hwnd_, 2012, t.r, kTextColour, t.format);
        c->SetLabelText(UiText(t.text));
        c->SetFont(g_uiFont.height, g_uiFont.face);
        AddControl(0, std::move(c));
    }
}

bool CFireKeyDlg::PreTranslateMessage(HWND self, const platform::Msg& msg)
{
    if (msg.message == WM_CHAR && msg.hwnd != hwnd_) {
        const char16_t ch = char16_t(msg.wParam);
        if (ch == u'\r' || ch == 0x1B) return true;
        // The character still goes into the box; the warning only tells.
        if (const int warning = TypedCharacterWarning(ch)) Warn(warning);
        return false;
    }
    return CFramedDlg::PreTranslateMessage(self, msg);
}

LRESULT CFireKeyDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == kTimerCheck) {
        CheckBoxes();
        return 0;
    }
    return CFramedDlg::WindowProc(message, wParam, lParam);
}

void CFireKeyDlg::CheckBoxes()
{
    const struct {
        HWND edit;
        std::optional<FireBoxFix> (*check)(const std::u16string&);
    } boxes[] = {{intervalEdit_, CheckIntervalBox}, {countEdit_, CheckRepeatCountBox}};
    for (const auto& b : boxes) {
        if (!b.edit) continue;
        if (std::optional<FireBoxFix> fix = b.check(Host().GetWindowText(b.edit))) {
            Host().SetWindowText(b.edit, fix->text);
            Host().SetEditSelection(b.edit, int(fix->text.size()), int(fix->text.size()));
            Warn(fix->warningText);
        }
    }
}

void CFireKeyDlg::Warn(int textNumber)
{
    CAttentionDlg warning(u"", UiText(textNumber), hwnd_);
    warning.DoModal();
}

void CFireKeyDlg::OnOk()
{
    const FireConfirmation fire = ConfirmFire(Host().GetWindowText(intervalEdit_), Host().GetWindowText(countEdit_));
    if (fire.refusalText) {
        Warn(fire.refusalText);
        return;
    }
    result_ = fire.result;
    Host().KillTimer(hwnd_, kTimerCheck);
    AnswerOk();
}
