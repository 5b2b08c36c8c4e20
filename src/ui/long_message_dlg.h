#pragma once
// The message box for a text the standard one (CAttentionDlg, 319 x 102) has
// no room for: the same frame, OK and close button, as tall as the wrapped
// text needs. A file path inside the text is shortened in its middle to one
// line, so that the start of its folder and the file's name stay in view;
// the dialog still describes itself with the whole text. Run modally it
// answers IDOK (OK) or IDCANCEL (closed), as the standard box does.
#include <string>

#include "ui/framed_dlg.h"

class CLongMessageDlg : public CFramedDlg {
public:
    static constexpr int kBaseWidth = 319;
    static constexpr UINT kOk = 2010;
    static constexpr UINT kText = 2013;

    // path: the part of message that names a file; empty when there is none.
    CLongMessageDlg(const std::u16string& message, const std::u16string& path, HWND parent);

    const std::u16string& Message() const { return message_; }
    // The text as shown, its path shortened when it was too long for a line.
    const std::u16string& Shown() const { return shown_; }

protected:
    void AddControls() override;
    std::u16string Description() const override { return message_; }

private:
    struct Fitted {
        std::u16string shown;
        int lines = 1;
    };
    CLongMessageDlg(Fitted fitted, const std::u16string& message, HWND parent);
    static Fitted Fit(const std::u16string& message, const std::u16string& path);

    std::u16string message_;
    std::u16string shown_;
};
