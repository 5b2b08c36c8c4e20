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
// into its table (MapMessages), has them make their controls when it opens
// (CreateControls, part by part), tells them when its controls exist
// (OnControlsCreated), and from then on calls Refresh after every
// change of the profile it shows, Store before it sends or saves, and OnTimer
// for timer ids it does not know itself.
#include <memory>
#include <string>

#include "platform/window/geometry.h"
#include "platform/window/messages.h"
#include "platform/window/window_host.h"
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

// Where a section puts the controls it makes. A place is in base units,
// relative to the origin of the part of the window being made: the window's
// corner for a part that never moves, the panel's top left for one the
// window moves up and down (it keeps every control at its place then).
class ISectionPlaces {
public:
    virtual ~ISectionPlaces() = default;
    // The window the controls belong to.
    virtual HWND Owner() const = 0;
    // Where a place is on the window now, scaled: what a control is made with.
    virtual Rect At(const Rect& place) const = 0;
    // Gives the window a control made at At(place); the window owns it.
    virtual void AddControl(std::unique_ptr<CControlBase> control, const Rect& place) = 0;

    template <class T>
    T* Add(std::unique_ptr<T> control, const Rect& place)
    {
        T* raw = control.get();
        AddControl(std::move(control), place);
        return raw;
    }
};

class CWindowSection {
public:
    explicit CWindowSection(ISectionHost& host) : host_(host) {}
    virtual ~CWindowSection() = default;
    CWindowSection(const CWindowSection&) = delete;
    CWindowSection& operator=(const CWindowSection&) = delete;

    // Maps the section's messages into the window's table, once.
    virtual void MapMessages(CDlgBase&) {}
    // Makes the section's controls of one part (numbered by the section) in
    // `places`, once per part. The window's tab order follows the order it
    // makes its parts in, so a section whose controls lie in several places
    // of that order makes them in several parts.
    virtual void CreateControls(ISectionPlaces&, int /*part*/) {}
    // The window's controls exist now (they are made when it opens).
    virtual void OnControlsCreated() {}
    // Profile -> controls; profile is null while none is chosen.
    virtual void Refresh(const ProfileRecord* profile) = 0;
    // Controls -> profile, for the settings the section's controls hold.
    virtual void Store(ProfileRecord&) {}
    // A timer of the window; true when the id was the section's.
    virtual bool OnTimer(UINT) { return false; }
    // The pointer moved to x with the left button down: a slider of the
    // section being dragged follows it. True when one did.
    virtual bool OnPointerDrag(int /*x*/) { return false; }
    // Another sensor: what the section takes from the sensor's tables.
    virtual void OnSensorChanged() {}

protected:
    ISectionHost& host_;
};
