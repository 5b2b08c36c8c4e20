#pragma once
// The start-up message for a mouse that is plugged in but cannot be opened:
// why, and the command line that fixes it. The plain message box is too small
// for a command line, so this one is wider and shows the command apart.
#include <memory>
#include <string>

#include "ui/attention_dlg.h"

class COpenFailureDlg : public CAttentionDlg {
public:
    static constexpr int kBaseWidth = 560;
    static constexpr int kBaseHeight = 230;

    // commands may be empty (nothing to run, only the message).
    COpenFailureDlg(const std::u16string& message, const std::u16string& commands);

    const std::u16string& Commands() const { return commands_; }

    void DrawBackground(platform::ICanvas& dc, const Rect& client) override;
    void CreateControls(Rect client) override;

private:
    std::u16string commands_;
    std::unique_ptr<CSkinImage> frame_;
};
