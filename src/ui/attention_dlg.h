#pragma once
// The program's one message box: a message text, an OK button and a close
// button. Run modally it answers IDOK (OK clicked) or IDCANCEL (closed);
// callers that ask a question act only on IDOK. The start-up warning shows
// it modeless and topmost instead.
#include <memory>
#include <string>

#include "ui/dlg_base.h"

class CAttentionDlg : public CDlgBase {
public:
    static constexpr int kBaseWidth = 319;
    static constexpr int kBaseHeight = 102;

    // The title is not shown: the title line always stays empty.
    CAttentionDlg(const std::u16string& title, const std::u16string& message, HWND parent = 0);

    LRESULT DoModal() { return CDlgBase::DoModal(parent_); }
    // Shows it without waiting, on top of every other window.
    bool ShowModeless();

    const std::u16string& Message() const { return message_; }

    void DrawBackground(platform::ICanvas& dc, const Rect& client) override;
    void CreateControls(Rect client) override;
    bool OnInitDialog() override;

private:
    LRESULT OnOkButton(WPARAM wParam, LPARAM lParam);

    std::u16string message_;
    HWND parent_;
    std::unique_ptr<CSkinImage> frame_;
};
