#include "ui/power_manage_button.h"

#include <string>

#include "base/text_codec.h"
#include "ui/ui_scale.h"

namespace {

struct Wedge {
    double px, py, qx, qy;
};

// P and Q of regions 0 .. 9 in base units from the rectangle's corner.
constexpr Wedge kWedges[10] = {
    {0, 0, 1, 1},       {0, 0, 1, 1},       {3, 71, 7, 51},     {7, 51, 17, 32},    {17, 32, 40, 13},
    {40, 13, 70, 5},    {70, 5, 100, 14},   {100, 14, 121, 31}, {121, 31, 131, 51}, {131, 51, 134, 71},
};

}  // namespace

bool PointInTriangle(Point p, Point a, Point b, Point c)
{
    // Crossing test at the pixel centre: a point on a shared edge belongs to
    // exactly one of two neighbouring wedges.
    const double x = p.x + 0.5, y = p.y + 0.5;
    const Point v[3] = {a, b, c};
    bool in = false;
    for (int i = 0, j = 2; i < 3; j = i++) {
        double yi = v[i].y, yj = v[j].y, xi = v[i].x, xj = v[j].x;
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
    }
    return in;
}

CPowerManageButton::CPowerManageButton(HWND owner, UINT id, Rect rect, std::u16string caption, bool visible, bool available,
                                       bool disabled)
    : CSkinButton(owner, id, rect, std::move(caption), visible, available, disabled, true)
{
    const double s = g_uiScale;
    const int l = rect.left, t = rect.top;
    Point centre{static_cast<int>(l + 70 * s), static_cast<int>(t + 71 * s)};
    for (int k = 0; k < 10; ++k) {
        const Wedge& w = kWedges[k];
        if (k < 2) {
            regions_[k] = {Point{l, t}, Point{l + 1, t + 1}, centre};
            continue;
        }
        regions_[k] = {Point{static_cast<int>(l + w.px * s), static_cast<int>(t + w.py * s)},
                       Point{static_cast<int>(l + w.qx * s), static_cast<int>(t + w.qy * s)}, centre};
    }
}

int CPowerManageButton::ValueAt(int x, int y) const
{
    for (int k = 2; k <= 9; ++k) {
        const auto& r = regions_[k];
        if (PointInTriangle({x, y}, r[0], r[1], r[2])) return k + 1;
    }
    return 0;
}

void CPowerManageButton::Draw(platform::ICanvas& dc, const Rect&)
{
    if (value_ < 3 || value_ > 10) return;
    if (valueImages_[value_]) valueImages_[value_]->Draw(dc, rect_);
    // The hub, below the wedges' labels, in base units of the 140 x 84 dial.
    const Rect hub{rect_.left + ScaleUnits(30), rect_.top + ScaleUnits(50), rect_.left + ScaleUnits(110),
                   rect_.top + ScaleUnits(70)};
    platform::FontSpec font = font_;
    font.height = ScaleUnits(13);
    font.weight = 600;
    dc.DrawText(Ascii(std::to_string(value_)) + unit_, hub, DT_CENTER | DT_VCENTER | DT_SINGLELINE, font,
                RGB(255, 255, 255));
}

int CPowerManageButton::OnLButtonUp(WPARAM, int x, int y)
{
    if (disabled_) return 0;
    int before = state_;
    if (!Contains(x, y)) {
        state_ = kStateNormal;
        return state_ != before;
    }
    int v = ValueAt(x, y);
    if (v == 0) {
        // Between the wedges: the value stays and nothing is reported; the
        // press itself is over, so the dial does not stay pressed.
        state_ = kStateHover;
        return state_ != before;
    }
    value_ = v;
    state_ = kStateHover;
    Notify(CE_CLICK);
    return 1;
}

void CPowerManageButton::ReleaseImages()
{
    CSkinButton::ReleaseImages();
    for (auto& i : valueImages_) i.reset();
}

bool CPowerManageButton::LoadValueImages(const std::u16string& folderPrefix)
{
    bool all = true;
    for (int v = 3; v <= 10; ++v) {
        valueImages_[v] = CSkinImage::FromFile(folderPrefix + u"power_manage_" + Ascii(std::to_string(v)) + u"min.png");
        all = all && valueImages_[v] != nullptr;
    }
    return all;
}

bool CPowerManageButton::KeyClickPoint(KeyAction action, Point* at)
{
    // Values 3 .. 10 are wedges 2 .. 9.
    int next = SteppedIndex(action, value_ - 3, 8) + 3;
    if (next == value_ || !at) return false;
    const auto& r = regions_[static_cast<size_t>(next - 1)];
    *at = {(r[0].x + r[1].x + r[2].x) / 3, (r[0].y + r[1].y + r[2].y) / 3};
    return ValueAt(at->x, at->y) == next;
}

void CPowerManageButton::Describe(platform::AccessibleNode& node) const
{
    CSkinButton::Describe(node);
    node.role = platform::AccessibleRole::Dial;
    node.numericValue = value_;
    node.minimum = 3;
    node.maximum = 10;
    node.step = 1;
    node.value = Ascii(std::to_string(value_)) + valueUnit_;
    node.actions = {u"increase", u"decrease"};
}
