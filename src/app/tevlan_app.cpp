#include "app/tevlan_app.h"

CTevlanApp::CTevlanApp(AppEnvironment env) : env_(std::move(env)) {}

bool CTevlanApp::InitInstance()
{
    if (env_.acquireSingleInstance && !env_.acquireSingleInstance()) return false;
    ranMainWindow_ = true;
    auto dlg = std::make_unique<CTevlanDlg>(env_.startup, env_.devices);
    // The window must be reachable by later starts from its creation on:
    // CreateWindow runs the whole start-up before DoModal's loop begins.
    CTevlanDlg* raw = dlg.get();
    if (env_.onMainWindow) env_.onMainWindow(raw);
    dlg->DoModal(0);
    if (env_.onMainWindow) env_.onMainWindow(nullptr);
    dlg.reset();
    return false;
}
