#pragma once
// A horizontal slider with n positions. It draws only its thumb (the owner
// puts the track image under it). A click anywhere jumps to the nearest
// position; a press on the thumb drags it, and while the owner routes moves
// outside the slider to DragTo the thumb keeps following the pointer.
#include <memory>
#include <vector>

#include "ui/skin_button.h"

class CSliderControl : public CSkinButton {
public:
    ControlKind Kind() const override { return ControlKind::Slider; }
    // A step is a click on the neighbouring position: the owner stores and
    // applies it exactly as the end of a drag there.
    bool KeyClickPoint(KeyAction action, Point* at) override;
    void Describe(platform::AccessibleNode& node) const override;
    CSliderControl(HWND owner, UINT id, Rect rect, int count, int leftMargin, int rightMargin,
                   std::u16string caption = {}, bool visible = true, bool available = true, bool disabled = false);
    void Draw(platform::ICanvas& dc, const Rect& area) override;
    int OnMouseMove(WPARAM flags, int x, int y) override;
    int OnLButtonDown(WPARAM flags, int x, int y) override;
    int OnLButtonUp(WPARAM flags, int x, int y) override;
    void ReleaseImages() override;

    bool LoadThumb(const std::u16string& path);
    // Moves the thumb to position i; no repaint, no message.
    void SetPosition(int i);
    int Position() const { return position_; }
    // For the owner's mouse-move handler while the left button is held:
    // false when not dragging.
    bool DragTo(int x);

    int Count() const { return count_; }
    const std::vector<int>& Table() const { return table_; }
    // The position whose table entry is nearest to x (the higher one at a tie).
    int NearestPosition(int x) const;
    const Rect& ThumbRect() const { return thumbRect_; }
    bool IsDragging() const { return dragging_; }
    // Left edge the thumb is drawn at now.
    int ThumbDrawX() const;

private:
    void DragMove(int x);
    void PlaceThumb();

    std::unique_ptr<CSkinImage> thumb_;
    int dragX_ = 0;
    int leftMargin_;
    int rightMargin_;
    int position_ = 0;
    int usableWidth_;
    int count_;
    std::vector<int> table_;
    bool dragging_ = false;
    Rect thumbRect_;
};
