#pragma once
// The main window's sections: the one place that makes them by type, and
// the order in which the window's controls are made (which is its tab order:
// the layout's own blocks with the sections' parts between them). The window
// reaches its sections only as CWindowSection afterwards.
//
// Window thread only.
#include <functional>
#include <memory>
#include <vector>

#include "app/main_layout.h"
#include "ui/section_host.h"

struct MainSectionsSetup {
    int* selection = nullptr;             // the window's index of the profile it shows
    std::function<void()> refreshWindow;  // every section from the current profile
    std::function<void(int)> openGames;   // the games bound to a profile
    int* dpiOrdinal = nullptr;            // the link's current DPI ordinal; null without a link
    std::function<bool()> lightingOpen;   // the lighting panel is open
};

struct MainSections {
    // Top to bottom of the window's refresh.
    std::vector<std::unique_ptr<CWindowSection>> all;
    // For CMainLayout::CreateControls.
    std::vector<MainCreationStep> steps;
};

MainSections MakeMainSections(ISectionHost& host, MainSectionsSetup setup);

// The drag of a settings slider, from the window's mouse moves: the
// sections' sliders follow the pointer with the left button down, and the
// apply the drag marked starts once it ends.
class CSliderDrag {
public:
    // After the dialog base's WM_MOUSEMOVE (flags: the buttons held) or
    // WM_LBUTTONUP (flags 0: released outside the window no move would
    // follow). True when the caller should start the deferred apply: the
    // drag has ended and a DPI-and-more or Windows change is pending.
    bool OnMouseMove(const std::vector<std::unique_ptr<CWindowSection>>& sections, WPARAM flags, int x,
                     bool pendingDpiOrWindows);
    bool Dragged() const { return dragged_; }

private:
    bool dragged_ = false;
};
