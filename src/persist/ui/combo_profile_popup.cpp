#include "persist/ui/combo_profile_popup.h"

#include "persist/data_folders.h"
#include "base/text_codec.h"
#include "base/ui_text.h"
#include "ui/control_events.h"
#include "ui/ui_scale.h"

namespace {
constexpr COLORREF kSeparator = RGB(0x35, 0xA0, 0xDE);
constexpr COLORREF kText = RGB(180, 180, 180);
constexpr COLORREF kTextHot = RGB(255, 255, 255);
constexpr COLORREF kAddFill = RGB(0x49, 0, 0);
constexpr COLORREF kRowFill = RGB(0x1F, 0x1F, 0x1F);
constexpr COLORREF kCurrentFill = RGB(0x78, 0, 0);
constexpr COLORREF kHotFill = RGB(0x37, 0x37, 0x37);
constexpr unsigned kLine = DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS;
}  // namespace

CComboProfilePopup::CComboProfilePopup(std::array<std::u16string, 5> names, int currentRow)
    : CItemPopup(kKind, 229, 25), names_(std::move(names)), currentRow_(currentRow)
{
    // Rows reach one unit further than the 229-unit layout, to the edge.
    itemRightExtra_ = 1;
    header_ = CSkinImage::FromFile(Utf8ToU16(ProgramPath("skins/header2_nr.png")));
}

void CComboProfilePopup::BuildItems()
{
    AddItem(UiText(10), 0, kHeaderRow, 0);
    for (int k = 0; k < 5; ++k) AddItem(names_[size_t(k)], 0, kFirstProfileRow + k, 0);
    AddItem(UiText(200), 0, kAddRow, 0);
}

bool CComboProfilePopup::IsSelectable(int value) const
{
    if (value == kAddRow) return true;
    const int k = value - kFirstProfileRow;
    return k >= 0 && k < 5 && !names_[size_t(k)].empty();
}

int CComboProfilePopup::SelectableAt(int x, int y) const
{
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].rect.Contains(x, y) && IsSelectable(items_[i].value)) return static_cast<int>(i);
    return -1;
}

void CComboProfilePopup::DrawItems(platform::ICanvas& dc, const Rect&)
{
    const int margin = static_cast<int>(10 * g_uiScale);
    for (size_t i = 0; i < items_.size(); ++i) {
        const PopupItem& item = items_[i];
        const Rect r = item.rect;
        const bool hot = static_cast<int>(i) == hovered_;
        Rect leftText{r.left + margin, r.top, r.right, r.bottom};
        if (item.value == kHeaderRow) {
            if (header_) header_->Draw(dc, r, Rect{0, 0, 230, 25});
            dc.DrawText(item.caption, leftText, DT_LEFT | kLine, font_, kText);
            // The accent line under the header, as the main window's headers have.
            dc.FillRect({r.left, r.bottom - 1, r.right, r.bottom}, kSeparator);
        } else if (item.value == kAddRow) {
            dc.FillRect(r, kAddFill);
            dc.FillRect({r.left, r.top, r.right, r.top + 1}, kSeparator);
            dc.DrawText(item.caption, leftText, DT_LEFT | kLine, font_, hot ? kTextHot : kText);
        } else {
            const bool current = item.value == currentRow_ && !item.caption.empty();
            dc.FillRect(r, current ? kCurrentFill : hot ? kHotFill : kRowFill);
            dc.DrawText(item.caption, r.Inflate(-2, 0), DT_CENTER | kLine, font_, hot || current ? kTextHot : kText);
        }
    }
}

bool CComboProfilePopup::OnItemMouseMove(int x, int y)
{
    const int at = SelectableAt(x, y);
    if (at == hovered_) return false;
    hovered_ = at;
    return true;
}

bool CComboProfilePopup::OnItemLButtonUp(int x, int y)
{
    if (hovered_ < 0 || hovered_ >= static_cast<int>(items_.size())) return false;
    if (!items_[size_t(hovered_)].rect.Contains(x, y)) {
        hovered_ = -1;
        return true;
    }
    NotifyParent(reportMessage_, CE_CLICK, items_[size_t(hovered_)].value);
    return false;
}

bool CComboProfilePopup::OnItemRButtonUp(int x, int y)
{
    const int at = SelectableAt(x, y);
    if (at < 0 || items_[size_t(at)].value == kAddRow) return false;
    NotifyParent(reportMessage_, CE_RCLICK, items_[size_t(at)].value);
    return false;
}
