#pragma once
// CTevlanApp: the program's entry after main has chosen the platform
// services. It keeps the program single (a second start only brings the
// first one's window to the front) and runs the main window until it closes.
#include <functional>
#include <memory>

#include "app/tevlan_dlg.h"

struct AppEnvironment {
    MainWindowStartup startup;
    MainWindowDevices devices;
    // Takes the single-instance lock; false when another instance runs (it
    // has been told to come to the front). Empty: always the first.
    std::function<bool()> acquireSingleInstance;
    // Called with the main window once it exists and again with null when it
    // is gone, so that main can route messages from later starts to it.
    std::function<void(CTevlanDlg*)> onMainWindow;
};

class CTevlanApp {
public:
    explicit CTevlanApp(AppEnvironment env);
    // Runs the whole program. Returns false in every case: nothing is left
    // to run once the main window has closed.
    bool InitInstance();
    // False when InitInstance found another instance running.
    bool RanMainWindow() const { return ranMainWindow_; }

private:
    AppEnvironment env_;
    bool ranMainWindow_ = false;
};
