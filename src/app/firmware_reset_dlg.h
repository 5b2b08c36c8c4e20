#pragma once
// The confirmation the factory reset asks for: a question, OK and Cancel.
// Run modally; IDOK only when the user confirmed (OK or Enter). Escape is
// swallowed so a stray key press cannot answer the question either way.
#include <memory>

#include "ui/dlg_base.h"

class CFirmwareResetDlg final : public CDlgBase {
public:
    static constexpr int kBaseWidth = 429;
    static constexpr int kBaseHeight = 140;

    explicit CFirmwareResetDlg(HWND owner);
    LRESULT DoModal() { return CDlgBase::DoModal(owner_); }

    bool OnInitDialog() override;
    void CreateControls(Rect client) override;
    void DrawBackground(platform::ICanvas& dc, const Rect& client) override;
    bool PreTranslateMessage(HWND self, const platform::Msg& msg) override;

private:
    LRESULT OnOkButton(WPARAM wParam, LPARAM lParam);
    std::unique_ptr<CSkinImage> frame_;
};
