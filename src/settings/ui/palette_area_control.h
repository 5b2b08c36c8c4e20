#pragma once
// One area of the colour palette as the keyboard and screen readers see it:
// a grid the arrow keys move a cursor over (drawn as a ring around the
// cell). It draws only the ring (the frame picture shows the colours) and
// does not take the mouse: a click picks in the dialog, which then moves
// the cursor here. A step reports CE_VALUE (wParam the cell's index) and
// the dialog picks the cell's colour as a click there would.
#include "settings/palette_cursor.h"
#include "ui/control_base.h"

class CPaletteAreaControl : public CControlBase {
public:
    CPaletteAreaControl(HWND owner, UINT id, const PaletteGrid& grid, std::u16string name);

    ControlKind Kind() const override { return ControlKind::Grid; }
    bool KeyStep(KeyAction action) override;
    void Draw(platform::ICanvas& dc, const Rect& area) override;
    // Read out by its name, with the chosen colour as value and its hex
    // code as description.
    void Describe(platform::AccessibleNode& node) const override;

    const PaletteGrid& Grid() const { return grid_; }
    PaletteCell Cell() const { return cell_; }
    // Moves the cursor (none: no ring); the owner repaints.
    void SetCell(PaletteCell c) { cell_ = c; }
    void SetChosenColour(COLORREF c) { chosen_ = c; }
    // The cursor's cell in client pixels.
    Rect CellRect(PaletteCell c) const;

private:
    PaletteGrid grid_;
    PaletteCell cell_;
    COLORREF chosen_ = 0;
};
