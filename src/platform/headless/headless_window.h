#pragma once
// The record behind one window or edit box of the headless host, shared by
// the files that implement the host (time, painting, input, placement, edit
// boxes, modal runs). Not for use outside this folder.
#include <memory>
#include <string>

#include "platform/headless/headless_host.h"

namespace platform {

struct HeadlessHost::Win final : WindowRecord {
    Rect rect;  // screen for a top-level window, parent client for an edit
    std::u16string text;
    bool visible = false;
    bool enabled = true;
    bool minimized = false;
    bool topmost = false;
    int opacity = 255;
    // painting
    std::unique_ptr<IImageCanvas> buffer;
    Rect dirty;
    int paintCount = 0;
    // mouse tracking
    UINT track = 0;
    int hoverMs = 0;
    int64_t hoverDue = 0;
    // edit boxes
    EditParams edit;
    int selStart = 0;
    int selEnd = 0;
    WindowId lastFocus = 0;  // a window's edit box that had the focus when it lost activation
};

}  // namespace platform
