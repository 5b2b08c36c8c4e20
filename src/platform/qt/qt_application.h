#pragma once
// The program's application object: the Qt application, the window host
// and the process-wide g_windowHost, in the order they must exist. main
// creates one on its first line and keeps it for the whole run.
#include <memory>
#include <string>

#include "platform/window/window_host.h"

class QApplication;

namespace platform {

class QtWindowHost;

class QtApplication {
public:
    // Sets the application name Qt uses for the desktop ("Tevlan").
    QtApplication(int& argc, char** argv);
    ~QtApplication();
    QtApplication(const QtApplication&) = delete;
    QtApplication& operator=(const QtApplication&) = delete;

    // The icon every window and the desktop's switcher show (a PNG file,
    // UTF-8 path); false when it cannot be read.
    bool SetIcon(const std::string& path);

    IWindowHost& Host();
    QtWindowHost& QtHost();
    // Runs the event loop until PostQuitMessage; its exit code.
    int Run();

private:
    std::unique_ptr<QApplication> app_;
    std::unique_ptr<QtWindowHost> host_;
};

}  // namespace platform
