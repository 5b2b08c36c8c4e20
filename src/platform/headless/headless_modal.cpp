// Modal runs in the headless host: each run looks for a script queued for
// its kind of dialog, lets it act on the dialog, and is logged.
#include <algorithm>
#include <tuple>

#include "platform/headless/headless_host.h"
#include "platform/headless/headless_window.h"

namespace platform {

// ---- HeadlessModal ---------------------------------------------------------

void HeadlessModal::ClickAt(Point client) { host.Click(window, client); }

LRESULT HeadlessModal::Send(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT r = host.SendMessage(window, message, wParam, lParam);
    host.ProcessPending();
    return r;
}

bool HeadlessModal::TypeInto(int editControlId, const std::u16string& text)
{
    WindowId edit = host.FindEdit(window, editControlId);
    if (!edit) return false;
    host.SetFocus(edit);
    host.SetEditSelection(edit, 0, -1);
    if (text.empty()) {
        host.PressKey(VK_DELETE);
    } else {
        host.TypeText(text);
    }
    return true;
}

void HeadlessModal::Key(UINT vk) { host.PressKey(vk); }

void HeadlessModal::Advance(int ms) { host.Advance(ms); }

void HeadlessModal::End(LRESULT result)
{
    if (!Ended()) host.EndModal(window, result);
}

bool HeadlessModal::Ended() const { return host.ModalEnded(window); }

// ---- modal runs ------------------------------------------------------------

LRESULT HeadlessHost::RunModal(WindowId w)
{
    if (!IsWindow(w) || QuitPosted()) return WindowBook::RunModal(w);
    ModalRecord record;
    std::tie(record.kind, record.text) = DescriptionOf(w);
    runningRecords_.push_back(&record);
    record.result = WindowBook::RunModal(w);
    runningRecords_.pop_back();
    modalLog_.push_back(record);
    return record.result;
}

void HeadlessHost::RunModalLoop(ModalFrame& frame)
{
    WindowId w = frame.window;
    ModalRecord& record = *runningRecords_.back();
    if (frame.show) ShowWindow(w, SW_SHOW);
    ProcessPending();
    if (IsWindow(w)) std::tie(record.kind, record.text) = DescriptionOf(w);  // a dialog may say what it is only once it shows
    auto script = std::find_if(scripts_.begin(), scripts_.end(),
                               [&](const auto& s) { return s.first.empty() || s.first == record.kind; });
    if (script != scripts_.end() && !frame.ended) {
        ModalScript run = std::move(script->second);
        scripts_.erase(script);
        record.scripted = true;
        HeadlessModal modal{*this, w, record.kind, record.text};
        run(modal);
        ProcessPending();
    }
    // Nothing real can end the run now: a script that left the dialog
    // open, or no script at all, answers cancel rather than hanging.
    if (!frame.ended) {
        frame.ended = true;
        frame.result = IDCANCEL;
    }
}

void HeadlessHost::ScriptModal(const std::u16string& kind, ModalScript script)
{
    scripts_.emplace_back(kind, std::move(script));
}

}  // namespace platform
