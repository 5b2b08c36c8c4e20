#pragma once
// A vertical scroll bar: arrow strips at both ends (image resources 188 up
// and 187 down, three frames each), a track and a thumb whose size and place
// follow (position, page, range). The owner scrolls by the part a press hit
// (CE_DOWN's wParam) and reads the position after CE_VALUE while dragging.
#include <memory>

#include "ui/skin_button.h"

class CVScrollBar : public CSkinButton {
public:
    // Parts reported as wParam of CE_DOWN.
    static constexpr WPARAM kPartThumb = 0;
    static constexpr WPARAM kPartUpArrow = 6;
    static constexpr WPARAM kPartDownArrow = 7;
    static constexpr WPARAM kPartAbove = 8;
    static constexpr WPARAM kPartBelow = 9;

    CVScrollBar(HWND owner, UINT id, Rect rect, std::u16string caption = {}, bool visible = true,
                bool available = true, bool disabled = false);
    void Draw(platform::ICanvas& dc, const Rect& area) override;
    int OnMouseMove(WPARAM flags, int x, int y) override;
    int OnLButtonDown(WPARAM flags, int x, int y) override;
    int OnLButtonUp(WPARAM flags, int x, int y) override;
    void ReleaseImages() override;

    // Loads both strips and lays out arrows and track from their height.
    bool LoadArrows();
    // Lays out arrows and track for arrows `arrowHeight` image units high
    // (also what LoadArrows does).
    void SetArrowHeight(int arrowHeight);

    void SetScrollState(int position, int page, int range);
    // For the owner's mouse-move handler while dragging.
    bool DragTo(int x, int y);

    int Position() const { return position_; }
    int Page() const { return page_; }
    int Range() const { return range_; }
    bool IsDragging() const { return dragging_; }
    const Rect& ThumbRect() const { return thumbRect_; }
    const Rect& TrackRect() const { return trackRect_; }
    const Rect& UpArrowRect() const { return upRect_; }
    const Rect& DownArrowRect() const { return downRect_; }
    const Rect& DragRect() const { return dragRect_; }
    bool UpHovered() const { return hoverUp_; }
    bool DownHovered() const { return hoverDown_; }
    bool ThumbHovered() const { return hoverThumb_; }

private:
    void DragMove(int y);

    std::unique_ptr<CSkinImage> upStrip_;
    std::unique_ptr<CSkinImage> downStrip_;
    int arrowHeight_ = 0;
    bool hoverUp_ = false;
    bool hoverDown_ = false;
    bool hoverThumb_ = false;
    Rect thumbRect_;
    Rect trackRect_;
    Rect upRect_;
    Rect downRect_;
    Rect dragRect_;
    int position_ = 0;
    int page_ = 1;
    int range_ = 1;
    int grabOffset_ = 0;
    bool dragging_ = false;
};
