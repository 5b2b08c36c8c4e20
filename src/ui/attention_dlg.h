#pragma once
// The program's one message box: a message text, an OK button and a close
// button. Run modally it answers IDOK (OK clicked) or IDCANCEL (closed);
// callers that ask a question act only on IDOK. The start-up warning shows
// it modeless and topmost instead.
#include <string>

#include "ui/framed_dlg.h"

class CAttentionDlg : public CFramedDlg {
public:
    static constexpr int kBaseWidth = 319;
    static constexpr int kBaseHeight = 102;
    static constexpr UINT kOk = 2010;

    // The title is not shown: the title line always stays empty.
    CAttentionDlg(const std::u16string& title, const std::u16string& message, HWND parent = 0);

    // Shows it without waiting, on top of every other window.
    bool ShowModeless();

    const std::u16string& Message() const { return message_; }

protected:
    void AddControls() override;
    std::u16string Description() const override { return message_; }

private:
    std::u16string message_;
};
