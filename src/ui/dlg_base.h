#pragma once
// CDlgBase: the skinned, borderless window every dialog of the program is
// built on. It owns its windowless controls in seven ordered groups, paints
// them over its background in one off-screen pass, hit-tests them and feeds
// them the mouse, lets the user move the window by dragging any point that is
// not a control, and keeps the popup menus it opened.
//
// Order: groups 0 .. 6 and, inside a group, insertion order. A control later
// in that order is drawn over an earlier one and wins the hit test. A control
// is drawn only while it is both visible and available, and takes part in
// hover tracking only when it also takes the mouse.
#include <array>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/window/window_host.h"
#include "ui/control_base.h"
#include "ui/skin_image.h"

class CWndPopup;

// The open secondary dialogs, so that the main window can close them all on
// exit or when the mouse goes away. Owner: the window thread. A dialog takes
// the first free entry once it is initialised (none when all ten are taken)
// and gives it back when its window is destroyed; later entries move down.
inline std::array<HWND, 10> g_openDialogs{};
bool RegisterOpenDialog(HWND w);
void UnregisterOpenDialog(HWND w);
// Sends WM_CLOSE to every registered dialog.
void CloseOpenDialogs();

class CDlgBase : public platform::IWindowClient {
public:
    static constexpr int kGroupCount = 7;
    static constexpr int kPopupSlotCount = 16;

    // secondary: registers in g_openDialogs and closes on WM_CLOSE and on
    // its close button 2004 (the main window passes false).
    explicit CDlgBase(bool secondary = true);
    ~CDlgBase() override;
    CDlgBase(const CDlgBase&) = delete;
    CDlgBase& operator=(const CDlgBase&) = delete;

    // ---- running ----
    // Creates and shows the window, modeless; false when it cannot be made.
    bool Create(HWND owner);
    // Creates the window, runs it modally and destroys it: IDOK, IDCANCEL or
    // whatever EndDialog was given (kModalQuit when the program quits).
    LRESULT DoModal(HWND owner);
    void EndDialog(LRESULT result);
    virtual void OnOK();
    virtual void OnCancel();
    void DestroyWindow();
    HWND GetSafeHwnd() const { return hwnd_; }
    bool IsModal() const { return modal_; }
    // Modal runs of dialogs with an owner that are open now, nested or not.
    static int OwnedModalRuns();

    // ---- the skinned-window operations ----
    virtual void DrawBackground(platform::ICanvas& dc, const Rect& client) = 0;
    virtual void DrawControls(platform::ICanvas& dc, const Rect& area);
    virtual void CreateControls(Rect client) = 0;
    // Sizes and centres the window, creates the controls. Derived classes
    // call it first from their own override.
    virtual bool OnInitDialog();
    // What the desktop and screen readers call the window.
    virtual std::u16string WindowTitle() const { return u"Tevlan"; }

    // The first control with this id in group order; null if none.
    CControlBase* FindControl(UINT id) const;
    template <class T>
    T* Find(UINT id) const
    {
        return dynamic_cast<T*>(FindControl(id));
    }
    // Adds a control to a group; the dialog owns it from now on.
    template <class T>
    T* AddControl(int group, std::unique_ptr<T> control)
    {
        T* raw = control.get();
        if (group < 0 || group >= kGroupCount) group = 0;
        groups_[group].push_back(std::move(control));
        creation_.push_back(raw);
        return raw;
    }
    const std::vector<std::unique_ptr<CControlBase>>& Group(int g) const { return groups_[g]; }
    void ReleaseControlImages();

    // ---- keyboard focus ----
    // The controls in creation order: the tab order (controls are never
    // removed, so the list stays valid while the window lives).
    const std::vector<CControlBase*>& CreationOrder() const { return creation_; }
    CControlBase* FocusedControl() const { return focused_; }
    // Moves the focus (null clears it) and repaints both rings.
    void SetFocusedControl(CControlBase* c);
    // Tab / Shift+Tab: false when no control can take the focus. Edit boxes
    // made by CreateEditBox close the round: Tab after the last control goes
    // into the first of them, Shift+Tab before the first into the last
    // (inside them the platform moves on and back to the controls).
    bool MoveFocus(bool backwards);
    // Carries out the key table for the focused control; true when the key
    // did something (WM_KEYDOWN arrives here after PreTranslateMessage).
    bool OnControlKey(UINT vk, bool shift);
    // Whether Ctrl or Alt is held now, from the key messages this window saw
    // (a window that loses the activation forgets them).
    bool ControlHeld() const { return controlHeld_; }
    bool AltHeld() const { return altHeld_; }
    bool ShiftHeld() const { return shiftHeld_; }
    // Carries out one action of the key table on a control, as its key does.
    bool DoKeyAction(CControlBase* c, KeyAction a);
    // Enter and Escape of a secondary dialog (DialogKeyFor): Escape closes
    // it as its close button does, Enter clicks the default button. The
    // other keys go on to the edit box or the focused control.
    bool PreTranslateMessage(HWND self, const platform::Msg& msg) override;
    // The button Enter clicks when the focus is not on a control of its own
    // Enter; 0 for none.
    virtual UINT DefaultButtonId() const { return 0; }
    // What Enter does in a dialog with a default button: false without one.
    bool ClickDefaultButton();
    // Focuses the first combo a user can operate, in tab order, and opens
    // it as a click would; false when there is none.
    bool OpenFirstMenu();
    // The accent colour of the focus ring.
    static constexpr COLORREF kFocusRingColour = RGB(0x35, 0xA0, 0xDE);
    // The window's controls for assistive technology, in tab order: every
    // shown control, plus those hidden only by being unavailable are left out.
    std::vector<platform::AccessibleNode> DescribeControls() const;
    // The name a control is read out with: its own, else the caption of the
    // static text just left of it or above it on the same column.
    std::u16string AccessibleNameOf(const CControlBase& c) const;
    // The static text that labels an operable control (the one its name is
    // taken from when it has none); null when there is none.
    const CControlBase* LabelOf(const CControlBase& c) const;

    // ---- background ----
    bool LoadBackgroundResource(int id);
    bool LoadBackgroundFile(const std::u16string& path);
    void SetBackgroundBitmap(std::unique_ptr<CSkinImage> bitmap);
    COLORREF BackgroundColour() const { return backgroundColour_; }
    Size BackgroundSize() const { return {backgroundWidth_, backgroundHeight_}; }
    int BackgroundInset() const { return backgroundInset_; }
    // The usual first steps of DrawBackground: the background colour, then
    // the cached background in the top-left corner.
    void PaintBackgroundCache(platform::ICanvas& dc, const Rect& client) const;
    bool HasBackgroundCache() const { return backgroundCache_ || backgroundPicture_; }
    // A frame picture stretched from its base size to base size * scale.
    void DrawFrameImage(platform::ICanvas& dc, const CSkinImage& frame) const;

    // ---- popups ----
    // Keeps an open popup in a slot (one per kind of menu) or in the list of
    // popups shown side by side.
    void SetPopup(int slot, CWndPopup* popup);
    CWndPopup* Popup(int slot) const;
    void AddListPopup(CWndPopup* popup);
    size_t ListPopupCount() const { return popupList_.size(); }
    CWndPopup* ListPopup(size_t i) const;
    void ClosePopup(int slot);
    void CloseListPopup(size_t index);

    // ---- message table ----
    using Handler = std::function<LRESULT(WPARAM, LPARAM)>;
    // One handler per message number: control ids and the program's own
    // WM_USER messages share one table. Mapping a number a second time
    // throws std::logic_error: two handlers for one number is a wiring
    // mistake, and silently keeping only one of them would lose the other.
    void MapMessage(UINT message, Handler handler);
    bool IsMapped(UINT message) const { return handlers_.count(message) != 0; }
    // A control's CE_CLICK; its other notifications are ignored.
    void MapClick(UINT id, std::function<void()> action);
    // CE_CLICK of ids first .. first + count - 1; the action gets id - first.
    void MapClickRange(UINT first, int count, std::function<void(int)> action);
    // A message several controls report with (wParam = the control's id,
    // lParam = what happened): each lParam has its own subscriber, so hover
    // and click of the same controls can go to different owners. One
    // subscriber per (message, lParam); a second one throws like MapMessage.
    void SubscribeShared(UINT message, LPARAM code, std::function<void(WPARAM)> subscriber);
    // The shared handler of the close and cancel buttons: on CE_CLICK it
    // releases the control images and cancels.
    LRESULT OnCloseButton(WPARAM wParam, LPARAM lParam);

    // ---- state a test or a derived window may read ----
    CControlBase* HoveredControl() const { return hovered_; }
    CControlBase* PressedControl() const { return pressed_; }
    Point MousePosition() const { return mousePos_; }
    bool ButtonHeld() const { return buttonHeld_; }
    bool Tracking() const { return tracking_; }
    const platform::FontSpec& DialogFont() const { return dialogFont_; }

    int windowWidth = 2254;
    int windowHeight = 1480;
    // Cleared by OnInitDialog for a window that starts hidden (in the tray).
    bool showOnCreate = true;

    // platform::IWindowClient
    LRESULT OnMessage(HWND self, UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint(HWND self, platform::ICanvas& canvas, const Rect& dirty) override;
    std::vector<platform::AccessibleNode> AccessibleNodes(HWND self) override;
    bool DoAccessibleAction(HWND self, int controlId, int action) override;
    bool SetAccessibleValue(HWND self, int controlId, int value) override;

protected:
    // Everything not handled by the table; derived windows may override and
    // call the base for what they do not handle.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    platform::IWindowHost& Host() const { return *platform::g_windowHost; }
    // Whether a click on this control repaints the whole window instead of
    // the control alone (controls whose click changes other parts of it).
    // None by default; a window names its own.
    virtual bool InvalidatesWholeWindow(UINT id) const;

    void OnMouseMove(WPARAM flags, int x, int y);
    void OnMouseLeave();
    void OnMouseHover();
    void OnLButtonDown(WPARAM flags, int x, int y);
    void OnLButtonUp(WPARAM flags, int x, int y);
    void OnLButtonDblClk(WPARAM flags, int x, int y);
    void OnRButtonUp(WPARAM flags, int x, int y);
    void InvalidateControl(const CControlBase* c) const;
    // A real edit box of this window, in the keyboard's round after the
    // controls (see MoveFocus); it lives as long as the window.
    HWND CreateEditBox(int controlId, const Rect& r, const platform::EditParams& params);
    bool HasEditBoxes() const { return !edits_.empty(); }

    bool secondary_;
    HWND hwnd_ = 0;
    HWND owner_ = 0;
    bool modal_ = false;
    COLORREF backgroundColour_ = RGB(0xBA, 0xE2, 0xEF);
    platform::FontSpec dialogFont_;
    int backgroundWidth_ = 100;
    int backgroundHeight_ = 100;
    std::unique_ptr<platform::IImageCanvas> backgroundCache_;
    // Instead of the cache: the decoded picture itself, when it is opaque and
    // already at the window's scale (drawing it on black would copy it as is).
    std::shared_ptr<const platform::IImage> backgroundPicture_;
    int backgroundInset_ = 0;
    bool controlsCreated = false;
    bool tracking_ = false;
    bool buttonHeld_ = false;
    Rect pressedRect_{-1, -1, -1, -1};
    bool doubleClicked_ = false;
    bool captured_ = false;
    Point mousePos_{-1, -1};
    std::array<std::vector<std::unique_ptr<CControlBase>>, kGroupCount> groups_;
    CControlBase* hovered_ = nullptr;
    CControlBase* pressed_ = nullptr;
    // The dirty rectangle while OnPaint runs; empty otherwise.
    Rect paintArea_;

private:
    struct PopupRef {
        CWndPopup* popup = nullptr;
        HWND hwnd = 0;
    };
    void ClosePopupRef(PopupRef& ref);
    template <class F>
    void ForEachControl(F f) const
    {
        for (const auto& g : groups_)
            for (size_t i = 0; i < g.size(); ++i)
                if (g[i]) f(g[i].get());
    }

    CControlBase* OperableControl(int nodeId) const;
    int NodeIdOf(const CControlBase* c) const;
    CControlBase* ControlOfNode(int nodeId) const;
    static int AccessibleValueOf(const CControlBase& c);
    // A click at a client point on one control, as the mouse would give it.
    bool ClickControlAt(CControlBase* c, Point at);
    void TrackModifier(UINT vk, bool down);
    void InvalidateRing(const CControlBase* c) const;
    static int FocusRingWidth();
    void DrawFocusRing(platform::ICanvas& dc, const Rect& area) const;

    std::vector<CControlBase*> creation_;
    std::vector<HWND> edits_;
    CControlBase* focused_ = nullptr;
    bool shiftHeld_ = false;
    bool controlHeld_ = false;
    bool altHeld_ = false;
    std::array<PopupRef, kPopupSlotCount> popupSlots_{};
    std::vector<PopupRef> popupList_;
    std::unordered_map<UINT, Handler> handlers_;
    std::unordered_map<UINT, std::unordered_map<LPARAM, std::function<void(WPARAM)>>> shared_;
};
