#pragma once
// The level bar of one DPI level: a track with a fill from the bottom that
// shows position + 1 of count steps. It reports clicks (the owner opens the
// value dialog) and the arrow keys (CE_STEP); it does not drag.
#include <memory>
#include <vector>

#include "ui/skin_button.h"

class CDPIValueShowControl : public CSkinButton {
public:
    ControlKind Kind() const override { return ControlKind::DpiBar; }
    void Describe(platform::AccessibleNode& node) const override;
    bool KeyStep(KeyAction action) override;
    CDPIValueShowControl(HWND owner, UINT id, Rect rect, int count, int topMargin, int bottomMargin,
                         std::u16string caption = {}, bool visible = true, bool available = true,
                         bool disabled = false);
    void Draw(platform::ICanvas& dc, const Rect& area) override;
    void ReleaseImages() override;

    bool LoadTrack(const std::u16string& path);
    bool LoadFill(const std::u16string& path);
    // The connected sensor's step count; the table is rebuilt with the usable
    // height fixed at construction.
    void SetCount(int n);
    int Count() const { return count_; }
    int Position() const { return position_; }
    void SetPosition(int p) { position_ = p; }
    const std::vector<int>& Table() const { return table_; }
    // Top of the fill as drawn now, in pixels.
    int FillTop() const;

private:
    void BuildTable();

    std::unique_ptr<CSkinImage> fill_;
    std::unique_ptr<CSkinImage> track_;
    int topMargin_;
    int bottomMargin_;
    int position_ = 0;
    int count_;
    int usableHeight_;
    std::vector<int> table_;
};
