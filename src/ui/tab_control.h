#pragma once
// A tab of a row of tabs (the main window's profiles). Clicking it stores
// its index into the selection the owner bound it to before CE_CLICK, so the
// handler finds the new choice already made; a right click reports
// CE_RCLICK for the tab's context menu.
#include <array>
#include <memory>

#include "ui/skin_button.h"

class CTabControl : public CSkinButton {
public:
    ControlKind Kind() const override { return ControlKind::Tab; }
    void Describe(platform::AccessibleNode& node) const override;
    CTabControl(HWND owner, UINT id, Rect rect, std::u16string caption, unsigned align = DT_LEFT, bool visible = true,
                bool available = true, bool disabled = false);
    void Draw(platform::ICanvas& dc, const Rect& area) override;
    int OnRButtonUp(WPARAM flags, int x, int y) override;
    void ReleaseImages() override;

    // normal, hover, selected, selected and hovered.
    bool LoadTabImages(const std::u16string& normal, const std::u16string& hover, const std::u16string& selected,
                       const std::u16string& selectedHover);

    std::u16string label;
    // Which tab of its row it is; -1 until the owner binds it.
    int Index() const { return index_; }
    // 0 normal, 1 hover, 2 pressed or selected, 3 selected and hovered.
    int LookIndex() const;
    // Whether the look differs from the one last drawn (the selection moved
    // since, or it was never drawn).
    bool LookChanged() const { return drawnLook_ != LookIndex(); }

    // The tabs of one window read and write one selection, which the window
    // owns and binds every tab to, each with its index in the row (the main
    // window: the index of the profile it shows). An unbound tab keeps its
    // own selection, 0; null unbinds.
    void BindSelection(int* selection, int index);
    int Selection() const { return *selection_; }

protected:
    // Stores the tab's index into the bound selection before CE_CLICK goes out.
    void OnClick() override;

private:
    std::array<std::unique_ptr<CSkinImage>, 4> tabImages_;
    int drawnLook_ = -1;
    int index_ = -1;
    int ownSelection_ = 0;
    int* selection_ = &ownSelection_;
};
