#pragma once
// The windowless control: a rectangle in its owner's client area with an id,
// a caption, a font and a few flags. It has no window of its own; the owner
// (CDlgBase) draws it into its off-screen canvas and feeds it mouse input,
// and the control reports to the owner by sending the message whose number
// is its id (lParam = a CE_ code of control_events.h).
#include <string>

#include "platform/draw/canvas.h"
#include "platform/window/window_host.h"
#include "platform/window/accessible.h"
#include "ui/control_events.h"
#include "ui/key_behaviour.h"

class CControlBase {
public:
    CControlBase(HWND owner, UINT id, Rect rect, std::u16string caption, bool visible, bool available, bool disabled,
                 bool mouse);
    virtual ~CControlBase();
    CControlBase(const CControlBase&) = delete;
    CControlBase& operator=(const CControlBase&) = delete;

    // Draws into the owner's off-screen canvas; area is the part being painted.
    virtual void Draw(platform::ICanvas& dc, const Rect& area) = 0;
    // The owner calls it with false on a control pressed earlier.
    virtual int SetActive(bool active);
    virtual void SetRect(int left, int top, int right, int bottom);
    void SetRect(const Rect& r) { SetRect(r.left, r.top, r.right, r.bottom); }
    virtual void GetRect(Rect* out) const;
    // Invalidates the control only when the text really changes.
    virtual void SetText(const std::u16string& text);
    virtual std::u16string GetText() const;
    virtual void SetVisible(bool visible);
    virtual void SetAvailable(bool available);
    // Each returns nonzero when the control's look changed, so that the owner
    // repaints only what changed.
    virtual int OnMouseMove(WPARAM flags, int x, int y);
    virtual int OnLButtonDown(WPARAM flags, int x, int y);
    virtual int OnLButtonUp(WPARAM flags, int x, int y);
    virtual int OnRButtonUp(WPARAM flags, int x, int y);
    virtual int OnLButtonDblClk(WPARAM flags, int x, int y);
    // Drops the control's images; the owner calls it just before it ends.
    virtual void ReleaseImages();

    // ---- keyboard and assistive technology ----
    // What the key table treats the control as. Controls that do not take
    // the mouse are decorative: nothing to operate.
    virtual ControlKind Kind() const { return mouse_ ? ControlKind::Button : ControlKind::Decorative; }
    // Whether Tab stops here now: shown, enabled and not decorative.
    bool TakesFocus() const { return IsShown() && !disabled_ && IsFocusable(Kind()); }
    bool IsFocused() const { return focused_; }
    void SetFocused(bool f) { focused_ = f; }
    // The client point a click carrying out this key action lands on, so
    // that a key does exactly what the mouse does; false when the action
    // means nothing here (the end of a list, a step on a button).
    virtual bool KeyClickPoint(KeyAction action, Point* at);
    // A step key on a control whose value the mouse sets elsewhere (in a
    // dialog): the control reports CE_STEP and the owner changes the value
    // as that dialog would. False when the control has no such step.
    virtual bool KeyStep(KeyAction) { return false; }
    // Fills role, name, states, value and actions. The window has already
    // put the id, the rectangle and the focused and disabled states in.
    virtual void Describe(platform::AccessibleNode& node) const;
    // A name for a control without a caption of its own (a swatch, a bar);
    // the window falls back to the label beside it.
    void SetAccessibleName(std::u16string name) { accessibleName_ = std::move(name); }
    const std::u16string& AccessibleName() const { return accessibleName_; }

    // Recreates the font with another height and face (numeric displays use
    // a fixed "Tahoma").
    void SetFont(int height, const std::u16string& face);

    UINT Id() const { return id_; }
    const Rect& GetRect() const { return rect_; }
    bool Contains(int x, int y) const { return rect_.Contains(x, y); }
    bool IsVisible() const { return visible_; }
    bool IsAvailable() const { return available_; }
    bool IsDisabled() const { return disabled_; }
    void SetDisabled(bool d) { disabled_ = d; }
    bool TakesMouse() const { return mouse_; }
    HWND Owner() const { return owner_; }
    const platform::FontSpec& Font() const { return font_; }
    // Shown means drawn and hit-tested: both the visible and available flags.
    bool IsShown() const { return visible_ && available_; }

protected:
    // SendMessage(owner, id or message, wParam, lParam); 0 without a host.
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const;
    LRESULT Notify(LPARAM event, WPARAM wParam = 0) const { return Send(id_, wParam, event); }
    void Invalidate() const;
    // Caption in r narrowed by the margins: single line, vertically centred,
    // cut with an ellipsis, transparent.
    void DrawCaption(platform::ICanvas& dc, const std::u16string& text, const Rect& r, unsigned align,
                     COLORREF colour, int leftMargin = 0, int rightMargin = 0) const;

    UINT id_;
    Rect rect_;
    bool visible_;
    bool available_;
    bool disabled_;
    bool mouse_;
    std::u16string caption_;
    HWND owner_;
    platform::FontSpec font_;
    bool focused_ = false;
    std::u16string accessibleName_;
};

// The control font every control starts with: the UI font of the language.
platform::FontSpec UiControlFont();
