#pragma once
// CFireKeyDlg: sets the fire function (a click repeated at an interval) on
// a button. Two real edit boxes take the interval and the repeat count; a
// 100 ms check puts numbers past 255 back to 255 with a warning, and OK
// refuses an interval below 5. OK ends it with IDOK; the owner then reads the
// fire label and code from Chosen().
#include <optional>

#include "buttons/function_catalogue.h"
#include "ui/framed_dlg.h"

class CFireKeyDlg final : public CFramedDlg {
public:
    static constexpr int kBaseWidth = 429;
    static constexpr int kBaseHeight = 140;
    static constexpr int kIntervalEditId = 2017;
    static constexpr int kCountEditId = 2018;
    static constexpr UINT kTimerCheck = 1;

    explicit CFireKeyDlg(HWND owner);

    bool OnInitDialog() override;
    bool PreTranslateMessage(HWND self, const platform::Msg& msg) override;
    const std::optional<KeyCombination>& Chosen() const { return result_; }

protected:
    void AddControls() override;
    std::u16string Description() const override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnOk();
    void CheckBoxes();
    void Warn(int textNumber);

    HWND intervalEdit_ = 0;
    HWND countEdit_ = 0;
    std::optional<KeyCombination> result_;
};
