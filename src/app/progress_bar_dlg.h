#pragma once
// The progress of a transfer to the mouse that takes long enough to be
// noticed (a macro upload, a full apply): a message and a bar in a small
// window over the lower part of the main window. It never takes the focus,
// the keyboard or the pointer: clicks go through it to the window below, and
// the user goes on working while the reports go out. Its owner moves the bar
// as the transfer advances and destroys it when the transfer has gone out.
//
// Window thread only.
#include <memory>
#include <string>

#include "platform/window/window_host.h"

class CSkinImage;

class CProgressBarDlg final : public platform::IWindowClient {
public:
    static constexpr int kBaseWidth = 429;
    // The upper part of the frame picture (caption strip and bar): low
    // enough to leave the controls above it uncovered.
    static constexpr int kBaseHeight = 92;
    static constexpr int kBarTop = 66;  // base units, in both pictures
    static constexpr int kBarHeight = 12;
    static constexpr int kBottomMargin = 40;  // base units above the owner's lower edge

    explicit CProgressBarDlg(std::u16string text);
    ~CProgressBarDlg() override;
    CProgressBarDlg(const CProgressBarDlg&) = delete;
    CProgressBarDlg& operator=(const CProgressBarDlg&) = delete;

    // Shows the window centred over the lower part of owner without
    // activating anything; false when the window system refused it.
    bool Create(HWND owner);
    void Destroy();
    HWND GetSafeHwnd() const { return hwnd_; }
    const std::u16string& Text() const { return text_; }

    // 0..100; repaints the part of the bar that changed.
    void SetProgress(int percent);
    int Progress() const { return progress_; }
    // Width in base units of the part of the bar drawn for a progress.
    static int BarWidth(int progress) { return progress * kBaseWidth / 100; }

    LRESULT OnMessage(HWND self, UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint(HWND self, platform::ICanvas& canvas, const Rect& dirty) override;

private:
    std::u16string text_;
    HWND hwnd_ = 0;
    int progress_ = 0;
    std::unique_ptr<CSkinImage> frame_;
    std::unique_ptr<CSkinImage> bar_;
};
