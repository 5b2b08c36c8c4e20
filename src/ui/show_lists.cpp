#include "ui/show_lists.h"

#include <algorithm>

#include "ui/ui_scale.h"

namespace {
constexpr COLORREF kListBack = RGB(75, 75, 75);
constexpr COLORREF kListSelection = RGB(0x35, 0xA0, 0xDE);
constexpr COLORREF kListText = RGB(255, 255, 255);
}  // namespace

CShowListBase::CShowListBase(HWND owner, UINT id, Rect rect, std::u16string caption, bool visible, bool available,
                             bool disabled)
    : CSkinButton(owner, id, rect, std::move(caption), visible, available, disabled, true)
{
    const double s = g_uiScale;
    visibleRows = static_cast<int>((rect.Height() + 10 * s) / (20 * s));
}

int CShowListBase::RowAt(int y) const { return static_cast<int>((y - rect_.top) / (20.0 * g_uiScale)); }

int CShowListBase::OnLButtonDown(WPARAM, int x, int y)
{
    if (disabled_ || !Contains(x, y)) return 0;
    int before = state_;
    state_ = kStatePressed;
    // Only a row that holds an item selects: below the last item (also when
    // the list is scrolled) the selection stays where it was.
    int r = RowAt(y);
    if (HasContent() && firstRow + r < ItemCount()) selection = firstRow + r;
    return state_ != before;
}

void CShowListBase::DrawRows(platform::ICanvas& dc, const Rect& area, int rowLeft)
{
    const double s = g_uiScale;
    dc.FillRect(rect_, kListBack);
    int count = HasContent() ? ItemCount() : 0;
    if (!HasContent() || firstRow >= count || firstRow < 0) return;
    // The last visible row may be cut by the list's bottom edge; it must not
    // spill onto what lies below (nobody would erase it there).
    Rect clip = rect_.Intersect(area);
    if (clip.IsEmpty()) return;
    dc.SetClip(clip);
    for (int r = 0; r < visibleRows; ++r) {
        int index = firstRow + r;
        Rect row{static_cast<int>(rect_.left + rowLeft * s), static_cast<int>(rect_.top + r * 20 * s),
                 static_cast<int>(rect_.right - 2 * s), static_cast<int>(rect_.top + (r + 1) * 20 * s)};
        if (index == selection) dc.FillRect(row, kListSelection);
        // The text keeps a few pixels off the selection's edge; the row itself
        // (selection, hit-testing, icons) stays where it is.
        Rect text = row;
        text.left += static_cast<int>(4 * s);
        dc.DrawText(RowText(index), text, DT_SINGLELINE | DT_VCENTER | DT_WORD_ELLIPSIS, font_, kListText);
        DrawRowExtra(dc, index, row);
        if (index + 1 >= count) break;
    }
    dc.SetClip(area);
}

CEditShowList::CEditShowList(HWND owner, Rect rect, std::u16string caption, bool visible, bool available,
                             bool disabled)
    : CShowListBase(owner, kId, rect, std::move(caption), visible, available, disabled)
{
}

bool CEditShowList::HasContent() const
{
    return source_ && shownCollection >= 0 && shownCollection < source_->CollectionCount();
}

int CEditShowList::ItemCount() const { return HasContent() ? source_->ItemCount(shownCollection) : 0; }

std::u16string CEditShowList::RowText(int index) const { return source_->ItemText(shownCollection, index); }

void CEditShowList::ShowCollection(int index)
{
    shownCollection = index;
    firstRow = 0;
    selection = HasContent() && ItemCount() > 0 ? 0 : -1;
}

void CEditShowList::Draw(platform::ICanvas& dc, const Rect& area) { DrawRows(dc, area, 2); }

int CEditShowList::OnLButtonDblClk(WPARAM, int x, int y)
{
    if (disabled_) return 0;
    int before = state_;
    if (Contains(x, y)) {
        state_ = kStateHover;
        if (HasContent() && firstRow + RowAt(y) < ItemCount()) Notify(CE_DBLCLK);
    } else {
        state_ = kStateNormal;
    }
    return state_ != before;
}

CImageShowList::CImageShowList(HWND owner, Rect rect, std::u16string caption, bool visible, bool available,
                               bool disabled)
    : CShowListBase(owner, kId, rect, std::move(caption), visible, available, disabled)
{
}

std::u16string CImageShowList::RowText(int index) const { return shownItem->RowText(index); }

void CImageShowList::Draw(platform::ICanvas& dc, const Rect& area) { DrawRows(dc, area, 17); }

void CImageShowList::DrawRowExtra(platform::ICanvas& dc, int index, const Rect& row)
{
    int icon = shownItem->RowIcon(index);
    if (icon < 0 || icon > 2 || !icons_[icon] || !icons_[0]) return;
    const double s = g_uiScale;
    icons_[icon]->Draw(dc, Rect::FromSize(static_cast<int>(row.left - 15 * s), static_cast<int>(row.top + 3 * s),
                                          static_cast<int>(icons_[0]->Width() * s),
                                          static_cast<int>(icons_[0]->Height() * s)));
}

int CImageShowList::OnLButtonDblClk(WPARAM, int x, int y) { return DoubleClickAt(x, y); }

void CImageShowList::ReleaseImages()
{
    CShowListBase::ReleaseImages();
    for (auto& i : icons_) i.reset();
}

bool CImageShowList::LoadIcons(const std::u16string& release, const std::u16string& press, const std::u16string& pause)
{
    icons_[0] = CSkinImage::FromFile(release);
    icons_[1] = CSkinImage::FromFile(press);
    icons_[2] = CSkinImage::FromFile(pause);
    return icons_[0] && icons_[1] && icons_[2];
}

bool CShowListBase::KeyClickPoint(KeyAction action, Point* at)
{
    if (!at || !HasContent()) return false;
    const int count = ItemCount();
    const int rows = std::max(visibleRows, 1);
    int next = action == KeyAction::Activate ? selection : SteppedIndex(action, selection, count, rows);
    if (next < 0 || next >= count || (action != KeyAction::Activate && next == selection)) return false;
    if (next < firstRow) firstRow = next;
    if (next >= firstRow + rows) firstRow = next - rows + 1;
    const int rowHeight = std::max(1, static_cast<int>(20 * g_uiScale));
    *at = {(rect_.left + rect_.right) / 2, rect_.top + (next - firstRow) * rowHeight + rowHeight / 2};
    return Contains(at->x, at->y);
}

void CShowListBase::Describe(platform::AccessibleNode& node) const
{
    CSkinButton::Describe(node);
    node.role = platform::AccessibleRole::List;
    if (HasContent() && selection >= 0 && selection < ItemCount()) node.value = RowText(selection);
}
