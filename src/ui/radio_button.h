#pragma once
// A radio button: its selection lives in the shared radio state word, so it
// shows checked while its bit is set there. No caption is drawn.
#include "ui/skin_button.h"

class CRadioButton : public CSkinButton {
public:
    ControlKind Kind() const override { return ControlKind::Radio; }
    void Describe(platform::AccessibleNode& node) const override;
    CRadioButton(HWND owner, UINT id, Rect rect, std::u16string caption = {}, bool visible = true,
                 bool available = true, bool disabled = false);
    void Draw(platform::ICanvas& dc, const Rect& area) override;
    int LookIndex() const;

protected:
    void OnClick() override;
};
