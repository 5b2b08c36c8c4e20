#pragma once
// What the concrete menus share: an ordered list of items laid out in one
// column of the class's item width, drawn from four skin pictures (item,
// hovered item, and the same for items that open a sub-menu), the hover and
// click reactions, and the result record the owner's choice handler is given.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/skin_image.h"
#include "ui/wnd_popup.h"

struct PopupItem {
    int separator = 0;  // nonzero: a separator line, not selectable
    int value = 0;      // reported to the owner (1-based in the menus)
    std::shared_ptr<CSkinImage> icon;
    int iconWidth = 0;
    int iconHeight = 0;
    std::u16string caption;
    Rect rect;
    int marker = 0;  // nonzero: opens a sub-menu
};

// What the owner's choice handler is given: the chosen caption, then the
// bytes its value stands for (a button function code for the function
// menus: type, param, extra).
struct PopupResult {
    std::u16string caption;
    std::array<uint8_t, 4> bytes{};
};

class CItemPopup : public CWndPopup {
public:
    // Hears the chosen item on the window thread, while the popup is still
    // open (its owner closes it). The handler gets its own copy of the
    // result and the popup touches nothing of itself after the call, so the
    // handler may close or delete it.
    using ChoiceHandler = std::function<void(const PopupResult&)>;

    // itemWidth W in base units: 161 for most menus, 188, 117 or 229 for the
    // others; normal items are itemHeight units high.
    CItemPopup(int kind, int itemWidth, int itemHeight = 22);

    // Appends an item, lays the list out again and returns the item count.
    int AddItem(const std::u16string& caption, int separator, int value, int marker);
    // The four item pictures; their paths are given by the owner.
    void SetItemImages(const std::u16string& item, const std::u16string& itemHover, const std::u16string& sub,
                       const std::u16string& subHover);

    const std::vector<PopupItem>& Items() const { return items_; }
    int Hovered() const { return hovered_; }
    const PopupResult& Result() const { return result_; }
    // Set by the owner before Create; a popup without one reports no choice.
    void OnChoice(ChoiceHandler handler) { onChoice_ = std::move(handler); }
    // The window size the layout asks for.
    Size LayoutSize() const { return size_; }

    // The items as a menu for assistive technology (id = index + 1).
    std::vector<platform::AccessibleNode> AccessibleNodes(HWND self) override;
    bool DoAccessibleAction(HWND self, int controlId, int action) override;

protected:
    void DrawItems(platform::ICanvas& dc, const Rect& client) override;
    bool OnItemMouseMove(int x, int y) override;
    bool OnItemLButtonDown(int x, int y) override;
    bool OnItemLButtonUp(int x, int y) override;
    // Up/Down move the hover over the selectable items, Right opens the
    // hovered item's sub-menu, Left and Escape close, Enter and Space choose
    // the hovered item by clicking it.
    bool OnItemKey(UINT vk) override;
    // A click in the middle of item i, as the mouse gives it.
    bool ClickItem(int i);
    // Copies the chosen item into the result record; by default the first
    // byte is value - 1.
    virtual void FillResult(const PopupItem& item);
    // Hands the result record to the owner's handler, while the owner's
    // window still exists; the popup may be gone when this returns.
    void ReportChoice();
    // A marked item became hovered (menus with sub-menus tell their owner).
    virtual void OnMarkedItemHovered(int index) { (void)index; }
    // The first selectable item containing the point, or -1.
    int ItemAt(int x, int y) const;
    void Layout();

    std::vector<PopupItem> items_;
    int hovered_ = -1;
    PopupResult result_;
    ChoiceHandler onChoice_;
    int itemWidth_;
    int itemHeight_;
    // Normal items may reach further right than the window width (the
    // profile menu's reach 230 units in a 229-unit layout).
    int itemRightExtra_ = 0;
    std::array<std::unique_ptr<CSkinImage>, 4> itemImages_;
};
