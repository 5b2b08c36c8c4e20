#pragma once
// The value label of one DPI level k (0..7, given by whoever makes it). It
// shows checked while level k is enabled in the shared DPI enable mask;
// clicking it enables levels 0 .. k. Its value is drawn as value * 50 in a band at its top.
#include "ui/skin_button.h"

class CDPIRadioButton : public CSkinButton {
public:
    // The level's on/off switch: one of the DPI levels, so the arrows walk them.
    ControlKind Kind() const override { return ControlKind::Radio; }
    void Describe(platform::AccessibleNode& node) const override;
    CDPIRadioButton(HWND owner, UINT id, int level, Rect rect, std::u16string caption = {}, bool visible = true,
                    bool available = true, bool disabled = false);
    void Draw(platform::ICanvas& dc, const Rect& area) override;
    int LookIndex() const;
    int Level() const { return level_; }

    int Value() const { return value_; }
    void SetValue(int v) { value_ = v; }
    void SetCaptionColour(COLORREF c) { colour_ = c; }

protected:
    void OnClick() override;

private:
    int level_;
    int value_ = 0;
    COLORREF colour_ = kCaptionNormal;
};
