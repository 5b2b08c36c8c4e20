#include "buttons/ui/shortcut_dlg.h"

#include "base/ui_text.h"
#include "ui/check_button.h"
#include "ui/key_capture_box.h"
#include "ui/passive_controls.h"
#include "ui/ui_scale.h"

namespace {

constexpr UINT kOk = 2010;
constexpr UINT kCancel = 2011;
constexpr COLORREF kLabelColour = RGB(180, 180, 180);
constexpr int kTextTitle = 180;
constexpr int kTextShift = 320, kTextCtrl = 321, kTextAlt = 322, kTextWin = 323;

// Enter is a key like any other while the key box has the focus (it may be
// the key wanted); elsewhere it answers OK. Escape always cancels.
const FramedDlgLook kLook{CShortcutDlg::kBaseWidth,
                          CShortcutDlg::kBaseHeight,
                          u"skins/Frame_common.bmp",
                          u"key-combination",
                          0,
                          kCancel,
                          DialogKey::PassOn,
                          DialogKey::PassOn,
                          kOk,
                          kTextTitle};

constexpr int kTextKeyBox = 522;


}  // namespace

CShortcutDlg::CShortcutDlg(HWND owner) : CFramedDlg(kLook, owner)
{
    MapClick(kOk, [this] { OnOk(); });
}

CShortcutDlg::~CShortcutDlg() { hook_.StopHook(); }

bool CShortcutDlg::OnInitDialog()
{
    CFramedDlg::OnInitDialog();
    // The key comes first: the box takes the keys from the start.
    if (CControlBase* box = FindControl(kKeyNameId)) SetFocusedControl(box);
    hook_.StartHook(hwnd_);
    return true;
}

std::u16string CShortcutDlg::Description() const { return UiText(kTextTitle); }

void CShortcutDlg::AddControls()
{
    AddTitle(2013, UiText(kTextTitle));
    AddCloseButton(405);
    AddOkCancelButtons(kOk, kCancel);
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
                                                   kLabelColour, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        label->SetLabelText(UiText(c.text));
        label->SetFont(ScaleUnits(16), u"Tahoma");
        AddControl(0, std::move(label));
    }
    auto name = std::make_unique<CKeyCaptureBox>(hwnd_, kKeyNameId, ScaleRect(25, 35, 183, 57), RGB(0, 0, 0),
                                                 DT_CENTER | DT_VCENTER | DT_SINGLELINE, UiText(kTextKeyBox));
    name->SetFont(ScaleUnits(22), u"Tahoma");
    AddControl(1, std::move(name));
}

void CShortcutDlg::DrawOverFrame(platform::ICanvas& dc) { dc.FillRect(ScaleRect(22, 35, 179, 57), RGB(255, 255, 255)); }

bool CShortcutDlg::PreTranslateMessage(HWND self, const platform::Msg& msg)
{
    // While the key box has the focus its keys belong to the capture: none
    // may answer the dialog or reach anything else. The modifiers still
    // pass, so that Shift+Tab leads out.
    const bool key = msg.message == WM_KEYDOWN || msg.message == WM_KEYUP;
    if ((key || msg.message == WM_CHAR) && BoxFocused()) {
        if (msg.message == WM_CHAR) return true;
        const UINT vk = UINT(msg.wParam);
        if (KeyCaptureTakes(true, vk) && !IsModifierVk(vk)) return true;
    }
    return CFramedDlg::PreTranslateMessage(self, msg);
}

bool CShortcutDlg::BoxFocused() const
{
    const CControlBase* f = FocusedControl();
    return f && f->Id() == kKeyNameId;
}

LRESULT CShortcutDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == platform::kKeyHookMessage) {
        OnKeyEvent(wParam, lParam);
        return 0;
    }
    return CFramedDlg::WindowProc(message, wParam, lParam);
}

void CShortcutDlg::OnKeyEvent(WPARAM wParam, LPARAM lParam)
{
    // The hook puts the key code in the low byte.
    const int vk = int(wParam & 0xFF);
    const bool release = (uint32_t(lParam) & platform::kKeyHookRelease) != 0;
    const uint8_t modifier = ModifierBitOfKey(vk);
    if (modifier) heldModifiers_ = release ? uint8_t(heldModifiers_ & ~modifier) : uint8_t(heldModifiers_ | modifier);
    if (!KeyCaptureTakes(BoxFocused(), UINT(vk))) return;
    std::optional<CapturedKey> key = CaptureKeyEvent(vk);
    if (!key) return;
    key_ = std::move(key);
    // Ctrl+C pressed as one combination checks Ctrl as well; a key pressed
    // alone keeps the boxes the user checked.
    if (!release) CheckModifiers(heldModifiers_);
    if (auto* name = Find<CStaticText>(kKeyNameId)) {
        name->SetLabelText(key_->name);
        InvalidateControl(name);
    }
}

uint8_t CShortcutDlg::ModifierBitOfKey(int vk)
{
    switch (vk) {
    case VK_LCONTROL:
    case VK_RCONTROL: return kModCtrl;
    case VK_LSHIFT:
    case VK_RSHIFT: return kModShift;
    case VK_LMENU:
    case VK_RMENU: return kModAlt;
    case VK_LWIN:
    case VK_RWIN: return kModWin;
    default: return 0;
    }
}

void CShortcutDlg::CheckModifiers(uint8_t bits)
{
    const struct {
        UINT id;
        uint8_t bit;
    } map[] = {{kCtrlId, kModCtrl}, {kShiftId, kModShift}, {kAltId, kModAlt}, {kWinId, kModWin}};
    for (const auto& m : map)
        if (auto* c = Find<CCheckButton>(m.id); c && (bits & m.bit) && !c->IsChecked()) {
            c->SetChecked(true);
            InvalidateControl(c);
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

void CShortcutDlg::OnOk()
{
    result_ = ConfirmKeyCombination(CheckedModifiers(), key_);
    AnswerOk();
}
