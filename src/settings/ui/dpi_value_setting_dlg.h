#pragma once
// CDPIValueSettingDlg: sets one DPI level's step, by dragging or clicking the
// slider, with the arrow keys, or by typing a DPI value (Enter or OK takes the
// first step that reaches it). OK writes the step into the level's bar and
// answers IDOK; Cancel and the close button change nothing; Escape is
// swallowed.
//
// Window thread only; run modally.
#include "ui/framed_dlg.h"

class CDPIValueShowControl;
class CSliderControl;

class CDPIValueSettingDlg final : public CFramedDlg {
public:
    static constexpr UINT kConfirm = 2010;
    static constexpr UINT kCancel = 2011;
    static constexpr UINT kValueText = 2013;
    static constexpr UINT kEdit = 2017;
    static constexpr UINT kTrack = 2020;
    static constexpr UINT kSlider = 2021;

    // Starts at the bar's position; the scale is the current sensor's table
    // with stepCount steps.
    CDPIValueSettingDlg(CDPIValueShowControl& bar, int stepCount, HWND parent);

    bool OnInitDialog() override;
    bool PreTranslateMessage(HWND self, const platform::Msg& msg) override;
    void OnOK() override;

    int Step() const { return step_; }
    HWND Edit() const { return edit_; }

protected:
    void AddControls() override;
    std::u16string Description() const override;

private:
    // Shows step i (clamped) in the slider, the value text and the edit box.
    void ShowStep(int i, bool updateEdit = true);
    // The edit box's text as a DPI value: the first step that reaches it.
    void ApplyTypedValue();

    CDPIValueShowControl& bar_;
    int stepCount_;
    int step_;
    HWND edit_ = 0;
    CSliderControl* slider_ = nullptr;
};
