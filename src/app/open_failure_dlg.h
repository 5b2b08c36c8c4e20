#pragma once
// The start-up message for a mouse that is plugged in but cannot be opened:
// why, and the command line that fixes it. The plain message box is too small
// for a command line, so this one is wider and shows the command apart.
#include <string>

#include "ui/framed_dlg.h"

class COpenFailureDlg : public CFramedDlg {
public:
    static constexpr int kBaseWidth = 560;
    static constexpr int kBaseHeight = 230;
    static constexpr UINT kOk = 2010;

    // commands may be empty (nothing to run, only the message).
    COpenFailureDlg(const std::u16string& message, const std::u16string& commands);

    // Shows it without waiting, on top of every other window.
    bool ShowModeless();

    const std::u16string& Message() const { return message_; }
    const std::u16string& Commands() const { return commands_; }

protected:
    void AddControls() override;
    std::u16string Description() const override { return message_; }

private:
    std::u16string message_;
    std::u16string commands_;
};
