#include "buttons/ui/shortcut_dlg.h"

#include "buttons/ui/button_list_ids.h"
#include "persist/ui_text.h"
#include "ui/check_button.h"
#include "ui/dialog_parts.h"
#include "ui/passive_controls.h"
#include "ui/ui_scale.h"

namespace {
constexpr COLORREF kLabelColour = RGB(180, 180, 180);
constexpr int kTextTitle = 180;
constexpr int kTextShift = 320, kTextCtrl = 321, kTextAlt = 322, kTextWin = 323;
}  // namespace

CShortcutDlg::CShortcutDlg(HWND owner) : CDlgBase(true)
{
    owner_ = owner;
    windowWidth = ScaleUnits(kBaseWidth);
    windowHeight = ScaleUnits(kBaseHeight);
    MapMessage(2010, [this](WPARAM w, LPARAM l) { return OnOkButton(w, l); });
    MapMessage(2011, [this](WPARAM w, LPARAM l) { return OnCloseButton(w, l); });
}

CShortcutDlg::~CShortcutDlg() { hook_.StopHook(); }

bool CShortcutDlg::OnInitDialog()
{
    CDlgBase::OnInitDialog();
    frame_ = CSkinImage::FromFile(SkinPath(u"skins/Frame_common.bmp"));
    Host().DescribeWindow(hwnd_, u"key-combination", UiText(kTextTitle));
    hook_.StartHook(hwnd_);
    return true;
}

void CShortcutDlg::CreateControls(Rect)
{
    if (controlsCreated) return;
    controlsCreated = true;
    auto title = std::make_unique<CStaticText>(hwnd_, 2013, ScaleRect(20, 3, 230, 27), RGB(255, 255, 255),
                                               DT_LEFT | DT_VCENTER | DT_SINGLELINE, UiText(kTextTitle));
    title->SetFont(ScaleUnits(18), g_uiFont.face);
    AddControl(0, std::move(title));
    AddControl(0, MakeDialogCloseButton(hwnd_, ScaleRect(405, 4, 420, 19)));
    AddControl(0, MakeDialogPushButton(hwnd_, 2010, ScaleRect(260, 110, 329, 130), UiText(4)));
    AddControl(0, MakeDialogPushButton(hwnd_, 2011, ScaleRect(350, 110, 419, 130), UiText(5)));
    const struct {
        UINT id;
        int left;
        int text;
    } checks[] = {{kShiftId, 25, kTextShift}, {kCtrlId, 82, kTextCtrl}, {kAltId, 139, kTextAlt}, {kWinId, 196, kTextWin}};
    for (const auto& c : checks) {
        auto check = std::make_unique<CCheckButton>(hwnd_, c.id, ScaleRect(c.left, 72, c.left + 11, 83), u"");
        check->LoadImage1(SkinPath(u"skins/check_nr.png"));
        check->LoadImage2(SkinPath(u"skins/check_ov.png"));
        check->LoadImage3(SkinPath(u"skins/check_dn.png"));
        AddControl(0, std::move(check));
        auto label = std::make_unique<CStaticText>(hwnd_, 3000 + c.id, ScaleRect(c.left + 15, 70, c.left + 45, 88),
                                                   kLabelColour, DT_LEFT | DT_VCENTER | DT_SINGLELINE, UiText(c.text));
        label->SetFont(ScaleUnits(16), u"Tahoma");
        AddControl(0, std::move(label));
    }
    auto name = std::make_unique<CStaticText>(hwnd_, kKeyNameId, ScaleRect(25, 35, 183, 57), RGB(0, 0, 0),
                                              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    name->SetFont(ScaleUnits(22), u"Tahoma");
    AddControl(1, std::move(name));
}

void CShortcutDlg::DrawBackground(platform::ICanvas& dc, const Rect& client)
{
    PaintBackgroundCache(dc, client);
    if (frame_)
        frame_->Draw(dc, Rect{0, 0, ScaleUnits(kBaseWidth), ScaleUnits(kBaseHeight)});
    else
        dc.FillRect(client, RGB(0x1F, 0x1F, 0x1F));
    dc.FillRect(ScaleRect(22, 35, 179, 57), RGB(255, 255, 255));
    DrawControls(dc, client);
}

bool CShortcutDlg::PreTranslateMessage(HWND, const platform::Msg& msg)
{
    // Every key belongs to the capture: Enter or Escape must not answer the
    // dialog while the user is trying to set them as the key.
    return msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR;
}

LRESULT CShortcutDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == platform::kKeyHookMessage) {
        OnKeyEvent(wParam);
        return 0;
    }
    return CDlgBase::WindowProc(message, wParam, lParam);
}

void CShortcutDlg::OnKeyEvent(WPARAM wParam)
{
    std::optional<CapturedKey> key = CaptureKeyEvent(int(wParam & 0xFF));
    if (!key) return;
    key_ = std::move(key);
    if (auto* name = Find<CStaticText>(kKeyNameId)) {
        name->SetLabelText(key_->name);
        InvalidateControl(name);
    }
}

uint8_t CShortcutDlg::CheckedModifiers() const
{
    uint8_t bits = 0;
    const struct {
        UINT id;
        uint8_t bit;
    } map[] = {{kCtrlId, kModCtrl}, {kShiftId, kModShift}, {kAltId, kModAlt}, {kWinId, kModWin}};
    for (const auto& m : map)
        if (auto* c = Find<CCheckButton>(m.id); c && c->IsChecked()) bits |= m.bit;
    return bits;
}

LRESULT CShortcutDlg::OnOkButton(WPARAM wParam, LPARAM lParam)
{
    if (lParam != CE_CLICK) return 0;
    if (owner_) {
        if (std::optional<KeyCombination> combo = ConfirmKeyCombination(CheckedModifiers(), key_)) {
            result_ = std::move(*combo);
            Host().SendMessage(owner_, button_list::kMsgKeysReport, wParam, reinterpret_cast<LPARAM>(&result_));
        }
    }
    ReleaseControlImages();
    OnOK();
    return 0;
}
