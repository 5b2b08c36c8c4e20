#include "platform/shell/scripted_shell.h"

#include <algorithm>

#include "platform/shell/file_filter.h"

namespace platform {
namespace {

std::optional<std::string> Next(std::deque<std::optional<std::string>>& answers) {
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> a = std::move(answers.front());
    answers.pop_front();
    return a;
}

std::string AsciiOf(const std::u16string& s) {
    std::string out;
    for (char16_t c : s) out += c < 0x80 ? char(c) : '_';
    return out;
}

}  // namespace

ScriptedShell::Tray::~Tray() {
    auto& t = shell_->trays;
    t.erase(std::remove(t.begin(), t.end(), this), t.end());
}

bool ScriptedShell::OpenWebAddress(const std::u16string& url) {
    if (!IsWebAddress(url)) return false;
    webAddresses.push_back(url);
    return true;
}

bool ScriptedShell::OpenMouseSettings() {
    if (!mouseSettingsInstalled) return false;
    ++mouseSettingsRuns;
    return true;
}

std::optional<std::string> ScriptedShell::GetOpenFileName(const FileDialogParams& params) {
    openDialogs.push_back(params);
    return Next(openAnswers);
}

std::optional<std::string> ScriptedShell::GetSaveFileName(const FileDialogParams& params) {
    saveDialogs.push_back(params);
    // Like the real dialog, a name typed without an extension gets the default one.
    std::optional<std::string> a = Next(saveAnswers);
    if (a) *a = WithDefaultExtension(*a, AsciiOf(params.defaultExt));
    return a;
}

std::unique_ptr<ITrayIcon> ScriptedShell::CreateTrayIcon(TrayIconParams params) {
    auto tray = std::make_unique<Tray>(this, std::move(params));
    trays.push_back(tray.get());
    return tray;
}

}  // namespace platform
