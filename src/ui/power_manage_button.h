#pragma once
// The power-saving dial: a half dial opening downwards whose
// eight wedges select 3 to 10 minutes from left to right. The picture of the
// selected value fills the control; a click between the wedges selects
// nothing.
#include <array>
#include <vector>

#include "ui/skin_button.h"

class CPowerManageButton : public CSkinButton {
public:
    ControlKind Kind() const override { return ControlKind::Dial; }
    // A step is a click inside the neighbouring wedge.
    bool KeyClickPoint(KeyAction action, Point* at) override;
    void Describe(platform::AccessibleNode& node) const override;
    CPowerManageButton(HWND owner, UINT id, Rect rect, std::u16string caption = {}, bool visible = true,
                       bool available = true, bool disabled = false);
    void Draw(platform::ICanvas& dc, const Rect& area) override;
    int OnLButtonUp(WPARAM flags, int x, int y) override;
    void ReleaseImages() override;

    // "skins\power_manage_3min.png" .. "skins\power_manage_10min.png" from
    // folderPrefix (the program folder followed by "skins\"); true when all
    // eight loaded.
    bool LoadValueImages(const std::u16string& folderPrefix);

    int Value() const { return value_; }
    void SetValue(int v) { value_ = v; }
    // The value is written in the hub with this unit after it (" min",
    // "分钟"): the pictures carry no words, so every language reads its own.
    void SetValueUnit(const std::u16string& unit) { unit_ = unit; }
    // The value a point selects (3 .. 10), or 0 outside every wedge.
    int ValueAt(int x, int y) const;

private:
    int value_ = 6;
    std::u16string unit_;
    // Triangles built once from the construction rectangle; 0 and 1 are
    // degenerate and never tested.
    std::array<std::array<Point, 3>, 10> regions_{};
    std::array<std::unique_ptr<CSkinImage>, 11> valueImages_;
};

// Whether p lies inside the triangle (a, b, c), edges counted the way the
// desktop fills polygons (left and top edges in, right and bottom out).
bool PointInTriangle(Point p, Point a, Point b, Point c);
