#pragma once
// A profile tab (ids 2049 .. 2053 for profiles 0 .. 4). Clicking it stores
// its index into the selection the owner bound it to before CE_CLICK, so the
// handler finds the new profile already chosen; a right click reports
// CE_RCLICK for the tab's context menu.
#include <array>
#include <memory>

#include "ui/skin_button.h"

class CTabControl : public CSkinButton {
public:
    static constexpr UINT kFirstId = 2049;
    CTabControl(HWND owner, UINT id, Rect rect, std::u16string caption, unsigned align = DT_LEFT, bool visible = true,
                bool available = true, bool disabled = false);
    void Draw(platform::ICanvas& dc, const Rect& area) override;
    int OnRButtonUp(WPARAM flags, int x, int y) override;
    void ReleaseImages() override;

    // normal, hover, selected, selected and hovered.
    bool LoadTabImages(const std::u16string& normal, const std::u16string& hover, const std::u16string& selected,
                       const std::u16string& selectedHover);

    std::u16string label;
    int Index() const { return static_cast<int>(id_) - static_cast<int>(kFirstId); }
    // 0 normal, 1 hover, 2 pressed or selected, 3 selected and hovered.
    int LookIndex() const;
    // Whether the look differs from the one last drawn (the selection moved
    // since, or it was never drawn).
    bool LookChanged() const { return drawnLook_ != LookIndex(); }

    // The tabs of one window read and write one selection, which the window
    // owns and binds every tab to (the main window: the index of the profile
    // it shows). An unbound tab keeps its own, 0; null unbinds.
    void BindSelection(int* selection);
    int Selection() const { return *selection_; }

protected:
    // Stores the tab's index into the bound selection before CE_CLICK goes out.
    void OnClick() override;

private:
    std::array<std::unique_ptr<CSkinImage>, 4> tabImages_;
    int drawnLook_ = -1;
    int ownSelection_ = 0;
    int* selection_ = &ownSelection_;
};
