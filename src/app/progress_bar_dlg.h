#pragma once
// The short progress display after an apply that wrote something (and after
// a factory reset): a message and a bar that fills in about half a second,
// then the dialog ends by itself with IDOK. The transfer it stands for has
// already been queued when it opens; the bar only tells the user that
// something went to the mouse.
//
// The bar is animated by a timer of the dialog on the window thread, so the
// drawing never races the window's own painting.
#include <memory>
#include <string>

#include "ui/framed_dlg.h"

class CProgressBarDlg final : public CFramedDlg {
public:
    static constexpr int kBaseWidth = 429;
    static constexpr int kBaseHeight = 140;
    static constexpr UINT kStepTimer = 1;  // one bar step every 10 ms
    static constexpr UINT kEndTimer = 2;   // the short pause at 100 %
    static constexpr int kStepMs = 10;
    static constexpr int kEndMs = 20;
    static constexpr int kStep = 2;     // percent per step
    static constexpr int kBarTop = 66;  // base units, in both pictures
    static constexpr int kBarHeight = 12;

    // caption is kept but not shown.
    CProgressBarDlg(const std::u16string& text, const std::u16string& caption, HWND parent);

    int Progress() const { return progress_; }
    // Width in base units of the part of the bar drawn for a progress.
    static int BarWidth(int progress) { return progress * kBaseWidth / 100; }

    bool OnInitDialog() override;

protected:
    void AddControls() override;
    std::u16string Description() const override { return text_; }
    void DrawOverFrame(platform::ICanvas& dc) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::u16string text_;
    std::u16string caption_;
    int progress_ = 0;
    std::unique_ptr<CSkinImage> bar_;
};
