#pragma once
// What the files of CMainLayout share (main_layout.cpp and the window's own
// controls): the column's measures and the skin's text colour and faces.
// Not for use outside the layout.
#include <memory>
#include <string>

#include "app/main_layout.h"
#include "platform/draw/canvas.h"
#include "ui/dlg_base.h"
#include "ui/section_controls.h"

namespace main_layout_parts {

constexpr int kColumnX = 846;      // left edge of the right-hand column
constexpr int kColumnWidth = 262;  // headers and panel frames
constexpr int kHeaderHeight = 25;
constexpr int kDesktopSettingsTop = 252;  // in the pointer preferences' panel
using S = MainSection;
using section_controls::kNumericFace;
using section_controls::kText;
using section_controls::Skin;

}  // namespace main_layout_parts

template <class T>
T* CMainLayout::Add(int group, std::unique_ptr<T> c)
{
    return dlg_.AddControl(group, std::move(c));
}
