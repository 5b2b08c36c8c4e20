#pragma once
// ISectionHost: what one section of a window (a panel of related controls
// with its own handlers) needs from the window that holds it, and
// CWindowSection, the base of such a section.
//
// Thread contract: window thread only. Every call, and every handler or
// timer the section registers, runs on the thread that runs the window; a
// section never keeps a host call for another thread.
//
// The window creates its sections once, before it runs, maps their messages
// into its table (MapMessages), tells them when its controls exist
// (OnControlsCreated), and from then on calls Refresh after every
// change of the profile it shows, Store before it sends or saves, and OnTimer
// for timer ids it does not know itself.
#include <string>

#include "platform/window/messages.h"
#include "profile/pending_group.h"

class CControlBase;
class CDlgBase;
class CWndPopup;
struct ProfileRecord;

class ISectionHost {
public:
    virtual ~ISectionHost() = default;

    // The window whose controls the section reads and writes.
    virtual CDlgBase& Dialog() = 0;
    // The profile the window shows and edits; null while none is chosen
    // and once the window is closing (a handler then changes nothing).
    virtual ProfileRecord* WorkingProfile() = 0;
    // Marks a group to send and (re)starts the short delay before the apply,
    // so that several quick changes go out as one.
    virtual void ScheduleApply(PendingGroup group) = 0;
    // Marks a group without starting the delay: a slider being dragged, whose
    // apply starts when the drag ends.
    virtual void MarkPending(PendingGroup group) = 0;
    // Reads every section's controls back into the working profile.
    virtual void StoreToProfile() = 0;

    // Repaints one control, or the whole window when a change moved others.
    virtual void RepaintControl(const CControlBase* control) = 0;
    virtual void RepaintWindow() = 0;

    // Keeps an open popup in a slot of the window (one slot per kind of
    // menu). The popup was created with its dismissal message, which the
    // section maps; the window closes the popup with the slot.
    virtual void OpenPopup(int slot, CWndPopup* popup) = 0;
    virtual void ClosePopup(int slot) = 0;

    // Timers of the window; their WM_TIMER reaches the section's OnTimer.
    virtual void StartTimer(int id, int periodMs) = 0;
    virtual void StopTimer(int id) = 0;

    // Runs a dialog modally, owned by the window: IDOK, IDCANCEL or what
    // the dialog ended with.
    virtual LRESULT RunModal(CDlgBase& dialog) = 0;
    // The program's message box with one text; IDOK when confirmed.
    virtual LRESULT MessageBox(const std::u16string& text) = 0;

    // The window has begun to close: a choice reported now (by a popup or
    // dialog still on its way out) must change nothing.
    virtual bool IsClosing() const { return false; }
};

class CWindowSection {
public:
    explicit CWindowSection(ISectionHost& host) : host_(host) {}
    virtual ~CWindowSection() = default;
    CWindowSection(const CWindowSection&) = delete;
    CWindowSection& operator=(const CWindowSection&) = delete;

    // Maps the section's messages into the window's table, once.
    virtual void MapMessages(CDlgBase&) {}
    // The window's controls exist now (they are made when it opens).
    virtual void OnControlsCreated() {}
    // Profile -> controls; profile is null while none is chosen.
    virtual void Refresh(const ProfileRecord* profile) = 0;
    // Controls -> profile, for the settings the section's controls hold.
    virtual void Store(ProfileRecord&) {}
    // A timer of the window; true when the id was the section's.
    virtual bool OnTimer(UINT) { return false; }

protected:
    ISectionHost& host_;
};
