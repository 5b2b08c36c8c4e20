#pragma once
// The skinned windows draw all their controls on one widget, so the desktop's
// accessibility bus would find one empty surface. This publishes each window
// through Qt's accessibility interfaces instead: the widget's own interface
// has one child per control the window client describes (AccessibleNodes),
// with its role, name, states, value and actions, and focus, state and value
// changes are reported as they happen.
#include <functional>

#include "platform/window/window_host.h"

class QWidget;

namespace platform {

enum class AccessibleWindowRole { Window, Dialog, Menu };

// How the accessibility code reaches the window a widget stands for; the
// client getter returns null once the window has gone.
struct AccessibleWindowSource {
    WindowId id = 0;
    AccessibleWindowRole role = AccessibleWindowRole::Window;
    std::function<IWindowClient*()> client;
};

// Once per process, before any window is shown.
void InstallAccessibleFactory();
void AddAccessibleWindow(QWidget* widget, AccessibleWindowSource source);
void RemoveAccessibleWindow(QWidget* widget);
void ReportAccessibleFocus(QWidget* widget, int controlId);
void ReportAccessibleChange(QWidget* widget, int controlId);

}  // namespace platform
