#pragma once
// The confirmation the factory reset asks for: a question, OK and Cancel.
// Run modally; IDOK only when the user confirmed (OK or Enter). Escape is
// swallowed so a stray key press cannot answer the question either way.
#include "ui/framed_dlg.h"

class CFirmwareResetDlg final : public CFramedDlg {
public:
    static constexpr int kBaseWidth = 429;
    static constexpr int kBaseHeight = 140;

    explicit CFirmwareResetDlg(HWND owner);

protected:
    void AddControls() override;
    std::u16string Description() const override;
};
