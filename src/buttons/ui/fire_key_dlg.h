#pragma once
// CFireKeyDlg: sets the fire function (a click repeated at an interval) on
// a button. Two real edit boxes take the interval and the repeat count; a
// 100 ms check puts numbers past 255 back to 255 with a warning, and OK
// refuses an interval below 5. OK reports to the owner with message 1063,
// lParam = the KeyCombination (the fire label and code).
#include <memory>

#include "buttons/function_catalogue.h"
#include "ui/dlg_base.h"

class CFireKeyDlg final : public CDlgBase {
public:
    static constexpr int kBaseWidth = 429;
    static constexpr int kBaseHeight = 140;
    static constexpr int kIntervalEditId = 2017;
    static constexpr int kCountEditId = 2018;
    static constexpr UINT kTimerCheck = 1;

    explicit CFireKeyDlg(HWND owner);
    LRESULT DoModal() { return CDlgBase::DoModal(owner_); }

    bool OnInitDialog() override;
    void CreateControls(Rect client) override;
    void DrawBackground(platform::ICanvas& dc, const Rect& client) override;
    bool PreTranslateMessage(HWND self, const platform::Msg& msg) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnOkButton(WPARAM wParam, LPARAM lParam);
    void CheckBoxes();
    void Warn(int textNumber);

    HWND intervalEdit_ = 0;
    HWND countEdit_ = 0;
    KeyCombination result_;
    std::unique_ptr<CSkinImage> frame_;
};
