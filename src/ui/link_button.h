#pragma once
// A web link: its caption in the state colour, or a
// three-frame strip when one is loaded. It tells its owner when the mouse
// enters (CE_ENTER) and leaves (CE_LEAVE) so the owner can change the cursor.
#include "ui/skin_button.h"

class CLinkButton : public CSkinButton {
public:
    ControlKind Kind() const override { return ControlKind::Link; }
    CLinkButton(HWND owner, UINT id, Rect rect, std::u16string caption, unsigned align = DT_CENTER, bool visible = true,
                bool available = true, bool disabled = false);
    void Draw(platform::ICanvas& dc, const Rect& area) override;
    int OnMouseMove(WPARAM flags, int x, int y) override;

private:
    bool hoverNotified_ = false;
};
