#pragma once
// What the files of CMainLayout share (main_layout.cpp, the fixed controls
// and the movable panels): the column's measures, the skin's text colours and
// faces, and three small helpers. Not for use outside the layout.
#include <memory>
#include <string>

#include "app/main_layout.h"
#include "platform/draw/canvas.h"
#include "ui/dlg_base.h"

namespace main_layout_parts {

constexpr int kColumnX = 846;      // left edge of the right-hand column
constexpr int kColumnWidth = 262;  // headers and panel frames
constexpr int kHeaderHeight = 25;
constexpr COLORREF kText = RGB(180, 180, 180);
constexpr const char16_t* kNumericFace = u"Tahoma";
constexpr int kDesktopSettingsTop = 252;  // in the pointer preferences' panel
using S = MainSection;

// A name for a control without a caption, read out by screen readers: a
// language text with %1 replaced by the control's number (from 1).
std::u16string NumberedName(int text, int n);
// The path of a picture under the program folder's skins/.
std::u16string Skin(const char16_t* name);
std::u16string Decimal(int v);

}  // namespace main_layout_parts

template <class T>
T* CMainLayout::Add(int group, std::unique_ptr<T> c)
{
    return dlg_.AddControl(group, std::move(c));
}
