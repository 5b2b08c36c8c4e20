#include "buttons/ui/fire_key_dlg.h"

#include "buttons/fire_input.h"
#include "buttons/ui/button_list_ids.h"
#include "persist/ui_text.h"
#include "ui/attention_dlg.h"
#include "ui/dialog_parts.h"
#include "ui/passive_controls.h"
#include "ui/ui_scale.h"

namespace {
constexpr COLORREF kTextColour = RGB(180, 180, 180);
constexpr int kTextTitle = 170, kTextInterval = 171, kTextCount = 172, kTextExplain = 173;
}  // namespace

CFireKeyDlg::CFireKeyDlg(HWND owner) : CDlgBase(true)
{
    owner_ = owner;
    windowWidth = ScaleUnits(kBaseWidth);
    windowHeight = ScaleUnits(kBaseHeight);
    MapMessage(2010, [this](WPARAM w, LPARAM l) { return OnOkButton(w, l); });
    MapMessage(2011, [this](WPARAM w, LPARAM l) { return OnCloseButton(w, l); });
}

bool CFireKeyDlg::OnInitDialog()
{
    CDlgBase::OnInitDialog();
    frame_ = CSkinImage::FromFile(SkinPath(u"skins/Frame_common.bmp"));
    Host().DescribeWindow(hwnd_, u"fire", UiText(kTextTitle));
    platform::EditParams edit;
    edit.font = {u"Tahoma", int(13 * g_uiScale / (g_dpiFactor > 0 ? g_dpiFactor : 1.0f))};
    edit.align = DT_CENTER;
    intervalEdit_ = Host().CreateEdit(hwnd_, kIntervalEditId, ScaleRect(70, 50, 168, 72), edit);
    countEdit_ = Host().CreateEdit(hwnd_, kCountEditId, ScaleRect(250, 50, 348, 72), edit);
    Host().SetWindowText(intervalEdit_, u"50");
    Host().SetWindowText(countEdit_, u"0");
    Host().SetFocus(intervalEdit_);
    Host().SetEditSelection(intervalEdit_, 2, 2);
    Host().SetTimer(hwnd_, kTimerCheck, kFireCheckPeriodMs);
    return true;
}

void CFireKeyDlg::CreateControls(Rect)
{
    if (controlsCreated) return;
    controlsCreated = true;
    auto title = std::make_unique<CStaticText>(hwnd_, 2012, ScaleRect(20, 3, 230, 27), RGB(255, 255, 255),
                                               DT_LEFT | DT_VCENTER | DT_SINGLELINE, UiText(kTextTitle));
    title->SetFont(ScaleUnits(18), g_uiFont.face);
    AddControl(0, std::move(title));
    AddControl(0, MakeDialogCloseButton(hwnd_, ScaleRect(405, 4, 420, 19)));
    // OK and Cancel sit side by side in the bottom-right corner as in the
    // key-combination dialog, below the explanation; each caption stands
    // above its own box and inside the dialog.
    AddControl(0, MakeDialogPushButton(hwnd_, 2010, ScaleRect(260, 110, 329, 130), UiText(4)));
    AddControl(0, MakeDialogPushButton(hwnd_, 2011, ScaleRect(350, 110, 419, 130), UiText(5)));
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
        auto c = std::make_unique<CStaticText>(hwnd_, 2012, t.r, kTextColour, t.format, UiText(t.text));
        c->SetFont(g_uiFont.height, g_uiFont.face);
        AddControl(0, std::move(c));
    }
}

void CFireKeyDlg::DrawBackground(platform::ICanvas& dc, const Rect& client)
{
    DrawFramedDialog(*this, dc, client, frame_.get(), kBaseWidth, kBaseHeight);
}

bool CFireKeyDlg::PreTranslateMessage(HWND, const platform::Msg& msg)
{
    // Enter does not confirm and Escape does not cancel: a stray key must
    // not set or drop the function.
    if ((msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) &&
        (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE))
        return true;
    if (msg.message == WM_CHAR && msg.hwnd != hwnd_) {
        const char16_t ch = char16_t(msg.wParam);
        if (ch == u'\r' || ch == 0x1B) return true;
        if (const int warning = TypedCharacterWarning(ch)) Warn(warning);
    }
    return false;
}

LRESULT CFireKeyDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == kTimerCheck) {
        CheckBoxes();
        return 0;
    }
    return CDlgBase::WindowProc(message, wParam, lParam);
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

LRESULT CFireKeyDlg::OnOkButton(WPARAM wParam, LPARAM lParam)
{
    if (lParam != CE_CLICK) return 0;
    const FireConfirmation fire = ConfirmFire(Host().GetWindowText(intervalEdit_), Host().GetWindowText(countEdit_));
    if (fire.refusalText) {
        Warn(fire.refusalText);
        return 0;
    }
    if (owner_) {
        result_ = fire.result;
        Host().SendMessage(owner_, button_list::kMsgFireReport, wParam, reinterpret_cast<LPARAM>(&result_));
    }
    Host().KillTimer(hwnd_, kTimerCheck);
    ReleaseControlImages();
    OnOK();
    return 0;
}
