#pragma once
// The bookkeeping every window host shares, written once so that the
// headless tests run the code the program runs: the window table and the
// owner tree, windows half way through destruction, the order in which a
// window and what it owns go away, modal frames and runs ended before they
// started, mouse capture, and activation, including who gets it back when
// the active window goes.
//
// A host derives from WindowBook, keeps its own per-window data in a
// record type derived from WindowRecord, and adds only what is its own:
// the event loop, widgets or images, timers and drawing. It joins in
// through the hooks below. Standard C++ only.
//
// Threads: as IWindowHost. PostMessage may come from any thread: its check
// for a gone window takes a lock of its own.
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/window/window_host.h"

namespace platform {

// What the book knows of every window and edit box. Hosts derive their own
// record from it; the book owns the records.
struct WindowRecord {
    virtual ~WindowRecord() = default;
    WindowId id = 0;
    IWindowClient* client = nullptr;  // null for edit boxes
    WindowKind kind = WindowKind::Dialog;
    WindowId owner = 0;               // the parent window of an edit box
    bool isEdit = false;
    int controlId = 0;                // an edit box's id in its parent's WM_COMMAND
    bool enabled = true;
    bool destroying = false;          // DestroyWindow has begun; IsWindow says no
    std::vector<WindowId> edits;      // a window's edit boxes, oldest first
    std::u16string describedKind;     // what DescribeWindow said
    std::u16string describedText;
    bool keepHiddenWhenRun = false;   // a modal run does not show it
};

// One modal run in progress.
struct ModalFrame {
    WindowId window = 0;
    bool ended = false;
    LRESULT result = 0;
    bool show = true;                 // the loop shows the window first
    // Set by the host while its loop runs: makes the loop return.
    std::function<void()> wake;
};

class WindowBook : public IWindowHost {
public:
    ~WindowBook() override;
    WindowBook(const WindowBook&) = delete;
    WindowBook& operator=(const WindowBook&) = delete;

    // WM_CREATE before it returns; a window answering -1 is destroyed again.
    WindowId CreateWindow(IWindowClient* client, const WindowParams& params) override;
    // Edit boxes first, then owned windows oldest first, then the window.
    void DestroyWindow(WindowId w) override;
    bool IsWindow(WindowId w) const override;
    WindowId GetOwner(WindowId w) const override;
    LRESULT SendMessage(WindowId w, UINT message, WPARAM wParam, LPARAM lParam) override;
    bool PostMessage(WindowId w, UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostQuitMessage(int exitCode) override;
    void SetCapture(WindowId w) override;
    void ReleaseCapture() override;
    WindowId GetCapture() const override { return capture_; }
    WindowId GetActiveWindow() const override { return active_; }
    void EnableWindow(WindowId w, bool enable) override;
    LRESULT RunModal(WindowId w) override;
    void KeepHiddenWhenRun(WindowId w) override;
    void EndModal(WindowId w, LRESULT result) override;
    void DescribeWindow(WindowId w, const std::u16string& kind, const std::u16string& text) override;
    WindowId CreateEdit(WindowId parent, int controlId, const Rect& r, const EditParams& params) override;

    // The edit box of parent with this control id, 0 for none.
    WindowId FindEdit(WindowId parent, int controlId) const;
    // What DescribeWindow said about a window (kind, text).
    std::pair<std::u16string, std::u16string> DescriptionOf(WindowId w) const;
    int ExitCode() const { return exitCode_; }
    bool QuitPosted() const { return quit_; }

protected:
    WindowBook() = default;

    using Records = std::map<WindowId, std::unique_ptr<WindowRecord>>;
    WindowRecord* Record(WindowId w);
    const WindowRecord* Record(WindowId w) const;
    const Records& AllRecords() const { return windows_; }
    // Drops every record without a message (a host going away).
    void ForgetAll() { windows_.clear(); }

    // The window an edit box sits in; a top-level window itself.
    WindowId TopLevelOf(WindowId w) const;
    bool IsOwnedBy(WindowId w, WindowId owner) const;
    // Enabled, not an overlay, and not the owner of a running modal dialog.
    bool AcceptsInput(WindowId top) const;
    // True once DestroyWindow has begun; any thread.
    bool IsGone(WindowId w) const;
    bool ModalEnded(WindowId w) const;
    void EndAllModal(LRESULT result);

    // Makes w the active window: WA_INACTIVE to the old one, then how to w.
    void Activate(WindowId w, WPARAM how);
    // w stops being active (hidden): its owner takes activation back.
    void LoseActivation(WindowId w);
    // Another program took the activation: none of ours keeps it.
    void DeactivateAll();
    void ClearCapture() { capture_ = 0; }
    // WM_COMMAND(control id, code) from an edit box to its parent.
    void NotifyParent(WindowId edit, UINT code);

    // ---- what the host adds ----
    // The host's record of a new top-level window (its widget or image);
    // null refuses the window. The book fills in the WindowRecord fields.
    virtual std::unique_ptr<WindowRecord> NewWindow(WindowId id, IWindowClient* client, const WindowParams& params,
                                                    WindowId owner) = 0;
    virtual std::unique_ptr<WindowRecord> NewEdit(WindowId id, WindowRecord& parent, const Rect& r,
                                                  const EditParams& params) = 0;
    // Queues a posted message for the window thread (any thread).
    virtual void Enqueue(const Msg& msg) = 0;
    // Shows the window (when frame.show) and runs until frame.ended.
    virtual void RunModalLoop(ModalFrame& frame) = 0;
    // The window is going: drop its timers, drag and place in the stack.
    // Called before WM_DESTROY.
    virtual void Unhook(WindowRecord& win) { (void)win; }
    // After WM_DESTROY, just before the record goes.
    virtual void Release(WindowRecord& win) { (void)win; }
    // Every activation request, also for the window already active.
    virtual void WillActivate(WindowId w) { (void)w; }
    // The active window is about to hear WA_INACTIVE.
    virtual void Deactivating(WindowId old) { (void)old; }
    // w is active now and is about to hear WM_ACTIVATE.
    virtual void Activated(WindowId w) { (void)w; }
    // No window of ours is active any more.
    virtual void NothingActive() {}
    virtual void QuitRequested() {}
    virtual void CaptureReleased(WindowId was) { (void)was; }
    // A modal run returned and its window is hidden again.
    virtual void ModalRunDone(WindowId w) { (void)w; }

private:
    void ActivateAfterLoss(WindowId owner);

    Records windows_;
    std::atomic<uint64_t> nextId_{1};
    mutable std::mutex goneMutex_;
    std::set<WindowId> gone_;  // guarded by goneMutex_
    std::vector<ModalFrame*> modalStack_;
    std::map<WindowId, LRESULT> earlyEnds_;
    std::atomic<bool> quit_{false};
    std::atomic<int> exitCode_{0};
    WindowId capture_ = 0;
    WindowId active_ = 0;
};

}  // namespace platform
