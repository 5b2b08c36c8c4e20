#include "ui/framed_dlg.h"

#include "base/ui_text.h"
#include "ui/dialog_parts.h"
#include "ui/passive_controls.h"
#include "ui/ui_scale.h"

CFramedDlg::CFramedDlg(const FramedDlgLook& look, HWND parent) : CDlgBase(true), parent_(parent), look_(look)
{
    owner_ = parent;
    windowWidth = ScaleUnits(look_.baseWidth);
    windowHeight = ScaleUnits(look_.baseHeight);
    if (look_.okId) MapClick(look_.okId, [this] { AnswerOk(); });
    if (look_.cancelId) MapMessage(look_.cancelId, [this](WPARAM w, LPARAM l) { return OnCloseButton(w, l); });
}

bool CFramedDlg::OnInitDialog()
{
    CDlgBase::OnInitDialog();
    frame_ = CSkinImage::FromFile(SkinPath(look_.frame));
    Host().DescribeWindow(hwnd_, look_.kind, Description());
    // The keyboard starts on the default button, as a message box's does,
    // so that Space answers as well as Enter; a dialog that asks for text
    // puts the focus in its edit box instead.
    if (!HasEditBoxes())
        if (CControlBase* c = DefaultButtonId() ? FindControl(DefaultButtonId()) : nullptr; c && c->TakesFocus())
            SetFocusedControl(c);
    return true;
}

std::u16string CFramedDlg::WindowTitle() const
{
    if (look_.title) {
        std::u16string t = UiText(look_.title);
        if (!t.empty()) return t;
    }
    return CDlgBase::WindowTitle();
}

void CFramedDlg::CreateControls(Rect)
{
    if (controlsCreated) return;
    controlsCreated = true;
    AddControls();
}

void CFramedDlg::DrawBackground(platform::ICanvas& dc, const Rect& client)
{
    PaintBackgroundCache(dc, client);
    if (frame_)
        DrawFrame(dc);
    else
        dc.FillRect(client, RGB(0x1F, 0x1F, 0x1F));
    DrawOverFrame(dc);
    DrawControls(dc, client);
}

void CFramedDlg::DrawFrame(platform::ICanvas& dc) const
{
    const int w = ScaleUnits(look_.baseWidth), h = ScaleUnits(look_.baseHeight);
    const int band = look_.titleBand, pictureHeight = frame_->Height(), pictureWidth = frame_->Width();
    if (band <= 0 || band + 1 >= pictureHeight || look_.baseHeight <= pictureHeight) {
        frame_->Draw(dc, Rect{0, 0, w, h});
        return;
    }
    // The title band and the bottom edge row as they are, the body between
    // them (rows that repeat one another) stretched.
    const int bandBottom = ScaleUnits(band), edgeTop = h - ScaleUnits(1);
    frame_->Draw(dc, Rect{0, 0, w, bandBottom}, Rect{0, 0, pictureWidth, band});
    frame_->Draw(dc, Rect{0, bandBottom, w, edgeTop}, Rect{0, band, pictureWidth, pictureHeight - 1});
    frame_->Draw(dc, Rect{0, edgeTop, w, h}, Rect{0, pictureHeight - 1, pictureWidth, pictureHeight});
}

bool CFramedDlg::PreTranslateMessage(HWND self, const platform::Msg& msg)
{
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) && !ControlHeld() &&
        !AltHeld()) {
        switch (msg.wParam == VK_RETURN ? look_.enter : look_.escape) {
        case DialogKey::PassOn: break;
        case DialogKey::Ignore: return true;
        case DialogKey::Ok: AnswerOk(); return true;
        }
    }
    return CDlgBase::PreTranslateMessage(self, msg);
}

void CFramedDlg::AddCloseButton(int left)
{
    AddControl(0, MakeDialogCloseButton(hwnd_, ScaleRect(left, 4, left + 15, 19)));
}

void CFramedDlg::AddPushButton(UINT id, int l, int t, int r, int b, const std::u16string& caption)
{
    AddControl(0, MakeDialogPushButton(hwnd_, int(id), ScaleRect(l, t, r, b), caption));
}

void CFramedDlg::AddTitle(UINT id, const std::u16string& text)
{
    auto title = std::make_unique<CStaticText>(hwnd_, id, ScaleRect(20, 3, 230, 27), RGB(255, 255, 255),
                                               DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    title->SetLabelText(text);
    title->SetFont(ScaleUnits(18), g_uiFont.face);
    AddControl(0, std::move(title));
}

void CFramedDlg::AddOkCancelButtons(UINT okId, UINT cancelId)
{
    AddPushButton(okId, 260, 110, 329, 130, UiText(4));
    AddPushButton(cancelId, 350, 110, 419, 130, UiText(5));
}

void CFramedDlg::AnswerOk()
{
    ReleaseControlImages();
    OnOK();
}
