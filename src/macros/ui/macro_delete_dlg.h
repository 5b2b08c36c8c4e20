#pragma once
// The question before a macro is deleted: OK deletes, Cancel (or the close
// button) keeps it. When buttons play the macro, the dialog names them
// (profile and button) and says they will be turned off, so nothing stops
// working unnoticed.
#include <string>

#include "ui/framed_dlg.h"

class CMacroDeleteDlg : public CFramedDlg {
public:
    static constexpr UINT kOk = 2010;
    static constexpr UINT kCancel = 2011;

    // usesText: one line per button that plays the macro; empty when none does.
    CMacroDeleteDlg(const std::u16string& macroName, const std::u16string& usesText, HWND parent);

    const std::u16string& Message() const { return message_; }

protected:
    void AddControls() override;
    std::u16string Description() const override { return message_; }

private:
    std::u16string message_;
    int lines_ = 0;  // lines of the message, for the dialog's height
};
