#include "app/progress_bar_dlg.h"

#include <algorithm>

#include "persist/ui_text.h"
#include "ui/passive_controls.h"
#include "ui/ui_scale.h"

namespace {

// Nothing to answer: the dialog ends by itself, keys must not end it early.
const FramedDlgLook kLook{CProgressBarDlg::kBaseWidth,
                          CProgressBarDlg::kBaseHeight,
                          u"skins/Frame_progress_nr.bmp",
                          u"progress",
                          0,
                          0,
                          DialogKey::Ignore,
                          DialogKey::Ignore,
                          0,
                          525};

}  // namespace

CProgressBarDlg::CProgressBarDlg(const std::u16string& text, const std::u16string& caption, HWND parent)
    : CFramedDlg(kLook, parent), text_(text), caption_(caption)
{
}

bool CProgressBarDlg::OnInitDialog()
{
    CFramedDlg::OnInitDialog();
    bar_ = CSkinImage::FromFile(SkinPath(u"skins/Frame_progress_ov.bmp"));
    progress_ = 0;
    Host().SetTimer(hwnd_, kStepTimer, kStepMs);
    return true;
}

void CProgressBarDlg::AddControls()
{
    // As wide as the dialog: the texts of the language files are longer than
    // the short caption strip the picture was drawn for.
    auto text = std::make_unique<CStaticText>(hwnd_, 2012, ScaleRect(10, 3, 419, 23), RGB(190, 190, 190),
                                              DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    text->SetLabelText(text_);
    text->SetFont(ScaleUnits(18), g_uiFont.face);
    AddControl(0, std::move(text));
}

void CProgressBarDlg::DrawOverFrame(platform::ICanvas& dc)
{
    const int w = BarWidth(progress_);
    if (w > 0) {
        const Rect dst{0, ScaleUnits(kBarTop), ScaleUnits(w), ScaleUnits(kBarTop) + ScaleUnits(kBarHeight)};
        if (bar_)
            bar_->Draw(dc, dst, Rect{0, kBarTop, w, kBarTop + kBarHeight});
        else
            dc.FillRect(dst, RGB(0x35, 0xA0, 0xDE));
    }
}

LRESULT CProgressBarDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_TIMER) return CDlgBase::WindowProc(message, wParam, lParam);
    if (wParam == kStepTimer) {
        const int before = BarWidth(progress_);
        progress_ = std::min(100, progress_ + kStep);
        const int after = BarWidth(progress_);
        Host().InvalidateRect(hwnd_, Rect{ScaleUnits(before), ScaleUnits(kBarTop), ScaleUnits(after) + 1,
                                          ScaleUnits(kBarTop) + ScaleUnits(kBarHeight)});
        if (progress_ >= 100) {
            Host().KillTimer(hwnd_, kStepTimer);
            Host().SetTimer(hwnd_, kEndTimer, kEndMs);
        }
    } else if (wParam == kEndTimer) {
        Host().KillTimer(hwnd_, kEndTimer);
        ReleaseFrame();
        bar_.reset();
        ReleaseControlImages();
        OnOK();
    }
    return 0;
}
