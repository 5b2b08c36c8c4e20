#pragma once
// A push button: strip of three frames (normal, hover, pressed) or image 1
// when normal and image 2 when hovered or pressed, with its caption on top.
#include "ui/skin_button.h"

class CImageButton : public CSkinButton {
public:
    CImageButton(HWND owner, UINT id, Rect rect, std::u16string caption, unsigned align = DT_CENTER,
                 bool visible = true, bool available = true, bool disabled = false);
    void Draw(platform::ICanvas& dc, const Rect& area) override;
    int OnMouseMove(WPARAM flags, int x, int y) override;

    // A button that reports every move over it (CE_HOVER), so its owner can
    // act while the pointer rests there (the main window's profile list).
    void SetReportsHover(bool reports) { reportsHover_ = reports; }
    bool ReportsHover() const { return reportsHover_; }

protected:
    WPARAM ClickWParam() const override { return id_; }

private:
    bool reportsHover_ = false;
};
