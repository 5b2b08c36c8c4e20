#include "settings/ui/palette_area_control.h"

#include "ui/ui_scale.h"

namespace {

Rect AreaRect(const PaletteGrid& g) { return ScaleRect(g.area.left, g.area.top, g.area.right, g.area.bottom); }

}  // namespace

CPaletteAreaControl::CPaletteAreaControl(HWND owner, UINT id, const PaletteGrid& grid, std::u16string name)
    : CControlBase(owner, id, AreaRect(grid), {}, true, true, false, false), grid_(grid)
{
    SetAccessibleName(std::move(name));
}

bool CPaletteAreaControl::KeyStep(KeyAction action)
{
    PaletteCell next = cell_;
    switch (action) {
    case KeyAction::StepBack: next = StepPaletteCell(grid_, cell_, -1, 0); break;
    case KeyAction::StepForward: next = StepPaletteCell(grid_, cell_, 1, 0); break;
    case KeyAction::RowBack: next = StepPaletteCell(grid_, cell_, 0, -1); break;
    case KeyAction::RowForward: next = StepPaletteCell(grid_, cell_, 0, 1); break;
    case KeyAction::First: next = PaletteRowEnd(grid_, cell_, false); break;
    case KeyAction::Last: next = PaletteRowEnd(grid_, cell_, true); break;
    default: return false;
    }
    // At the edge the key does nothing, but it is still this control's key.
    if (next == cell_) return true;
    Invalidate();
    cell_ = next;
    Invalidate();
    Notify(CE_VALUE, WPARAM(cell_.row * grid_.columns + cell_.column));
    return true;
}

Rect CPaletteAreaControl::CellRect(PaletteCell c) const
{
    const PaletteArea& a = grid_.area;
    const int w = a.right - a.left, h = a.bottom - a.top;
    return ScaleRect(a.left + c.column * w / grid_.columns, a.top + c.row * h / grid_.rows,
                     a.left + (c.column + 1) * w / grid_.columns, a.top + (c.row + 1) * h / grid_.rows);
}

void CPaletteAreaControl::Draw(platform::ICanvas& dc, const Rect&)
{
    if (!cell_.Valid()) return;
    // White outside black, so that the ring shows on every colour; wider
    // while the area has the keyboard.
    const int t = ScaleUnits(focused_ ? 2 : 1);
    const Rect r = CellRect(cell_);
    auto ring = [&](const Rect& o, int w, COLORREF c) {
        dc.FillRect(Rect{o.left, o.top, o.right, o.top + w}, c);
        dc.FillRect(Rect{o.left, o.bottom - w, o.right, o.bottom}, c);
        dc.FillRect(Rect{o.left, o.top, o.left + w, o.bottom}, c);
        dc.FillRect(Rect{o.right - w, o.top, o.right, o.bottom}, c);
    };
    ring(r, t, RGB(255, 255, 255));
    ring(Rect{r.left + t, r.top + t, r.right - t, r.bottom - t}, t, RGB(0, 0, 0));
}

void CPaletteAreaControl::Describe(platform::AccessibleNode& node) const
{
    CControlBase::Describe(node);
    node.role = platform::AccessibleRole::List;
    node.name = AccessibleName();
    node.value = SpokenColour(chosen_);
    node.description = HexColour(chosen_);
    node.actions.clear();
}
