#include "app/games_running_popup.h"

#include <algorithm>

#include "ui/key_behaviour.h"
#include "ui/ui_scale.h"

namespace {
constexpr COLORREF kBack = RGB(0x26, 0x26, 0x26);
constexpr COLORREF kHot = RGB(53, 160, 222);
constexpr COLORREF kText = RGB(255, 255, 255);
constexpr COLORREF kTrack = RGB(0x3A, 0x3A, 0x3A);
constexpr COLORREF kEdge = RGB(0x4A, 0x4A, 0x4A);
constexpr int kBarWidth = 5;
}  // namespace

CGamesRunningPopup::CGamesRunningPopup(const std::vector<std::u16string>& names, int width,
                                       const std::u16string& current)
    : CItemPopup(0, width, kRowHeight), width_(width)
{
    for (size_t i = 0; i < names.size(); ++i) AddItem(names[i], 0, int(i) + 1, 0);
    int chosen = -1;
    if (!current.empty()) {
        auto same = std::find(names.begin(), names.end(), current);
        if (same == names.end())
            same = std::find_if(names.begin(), names.end(),
                                [&](const std::u16string& n) { return n.starts_with(current); });
        if (same != names.end()) chosen = int(same - names.begin());
    }
    hovered_ = chosen;
    ScrollTo(chosen < 0 ? 0 : chosen - kVisibleRows / 2);
    const int shown = std::clamp(Rows(), 1, kVisibleRows);
    SetWindowSize(ScaleUnits(width_ + 1), ScaleUnits(1) * 2 + shown * ScaleUnits(kRowHeight));
}

void CGamesRunningPopup::ScrollTo(int first)
{
    first_ = std::clamp(first, 0, std::max(0, Rows() - kVisibleRows));
    const int row = ScaleUnits(kRowHeight), edge = ScaleUnits(1);
    const int right = ScaleUnits(width_) - (Rows() > kVisibleRows ? ScaleUnits(kBarWidth + 1) : 0);
    for (int i = 0; i < Rows(); ++i) {
        const int top = edge + (i - first_) * row;
        items_[size_t(i)].rect = {edge, top, right, top + row};
    }
}

void CGamesRunningPopup::DrawItems(platform::ICanvas& dc, const Rect& client)
{
    dc.FillRect(client, kEdge);
    dc.FillRect(client.Inflate(-1, -1), kBack);
    const int last = std::min(Rows(), first_ + kVisibleRows);
    for (int i = first_; i < last; ++i) {
        const PopupItem& item = items_[size_t(i)];
        if (i == hovered_) dc.FillRect(item.rect, kHot);
        dc.DrawText(item.caption, item.rect.Inflate(-ScaleUnits(6), 0),
                    DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS, font_, kText);
    }
    if (Rows() <= kVisibleRows) return;
    // The scroll bar: where the shown rows lie in the whole list.
    const int edge = ScaleUnits(1);
    const Rect track{client.right - edge - ScaleUnits(kBarWidth), edge, client.right - edge, client.bottom - edge};
    dc.FillRect(track, kTrack);
    const int height = track.Height();
    const int top = track.top + height * first_ / Rows();
    const int bottom = track.top + height * last / Rows();
    dc.FillRect(Rect{track.left, top, track.right, std::max(bottom, top + ScaleUnits(8))}, kHot);
}

bool CGamesRunningPopup::OnItemKey(UINT vk)
{
    const PopupKey key = PopupKeyFor(vk);
    if (key != PopupKey::HoverPrev && key != PopupKey::HoverNext) return CItemPopup::OnItemKey(vk);
    const bool moved = CItemPopup::OnItemKey(vk);
    if (hovered_ >= 0 && (hovered_ < first_ || hovered_ >= first_ + kVisibleRows)) {
        ScrollTo(hovered_ < first_ ? hovered_ : hovered_ - kVisibleRows + 1);
        Redraw();
    }
    return moved;
}

LRESULT CGamesRunningPopup::OnMessage(HWND self, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_MOUSEWHEEL) return CItemPopup::OnMessage(self, message, wParam, lParam);
    const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
    const int before = first_;
    ScrollTo(first_ - notches * kRowsPerNotch);
    if (first_ == before) return 0;
    // The row under the pointer changed with the scroll.
    const Point p = CursorInClient();
    hovered_ = ItemAt(p.x, p.y);
    Redraw();
    return 0;
}
