#pragma once
// CWndPopup: the base of every drop-down menu. Unlike the controls it is a
// real top-level window: frameless, topmost, placed next to the control that
// opened it, drawn off-screen and shown unchanged. Its messages to its parent
// carry numbers only, never an address: the report message of a popup that
// reports a plain value (wParam = tag, lParam = the value), its dismissal
// when the user clicks elsewhere (the dismissal message its owner gave it,
// wParam = tag, lParam = kind; none when that is 0) and its closing (1025).
// A chosen item with a result record goes to the owner's typed handler
// instead (CItemPopup::OnChoice).
//
// Life: created with new, Create() builds and shows it; the owner closes it
// by posting WM_CLOSE (CDlgBase::ClosePopup); once its window is destroyed
// the object deletes itself.
#include <memory>
#include <vector>

#include "platform/window/window_host.h"

class CWndPopup : public platform::IWindowClient {
public:
    CWndPopup();
    ~CWndPopup() override;
    CWndPopup(const CWndPopup&) = delete;
    CWndPopup& operator=(const CWndPopup&) = delete;

    // rect: screen rectangle (its size is replaced by the item layout's).
    // reportMessage: for popups that report a plain value; 0 for those whose
    // choice goes to a typed handler.
    // dismissalMessage: what the parent hears when the user clicks
    // elsewhere; 0 dismisses the popup silently.
    bool Create(HWND parent, Rect rect, UINT reportMessage, int tag, UINT dismissalMessage = 0);
    // Draws everything into the off-screen image and shows it.
    void Redraw();
    // Sends to the parent; false without one.
    bool NotifyParent(UINT message, WPARAM wParam, LPARAM lParam);

    HWND GetSafeHwnd() const { return hwnd_; }
    HWND Parent() const { return parent_; }
    // The popup that was active when this one was made: it is a sub-menu
    // of that one. 0 for a popup opened from a window.
    HWND Opener() const { return opener_; }
    int Kind() const { return kind_; }
    int Tag() const { return tag_; }
    UINT ReportMessage() const { return reportMessage_; }
    UINT DismissalMessage() const { return dismissalMessage_; }
    // How often the off-screen picture was redrawn (it is redrawn only when
    // the hovered or pressed item changes).
    int RedrawCount() const { return redrawCount_; }
    const platform::IImage* Picture() const;

    // Deletes the popups whose windows are gone. Runs on its own before each
    // popup is created; tests may call it.
    static void ReapDestroyed();

    // platform::IWindowClient
    LRESULT OnMessage(HWND self, UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint(HWND self, platform::ICanvas& canvas, const Rect& dirty) override;

protected:
    virtual void DrawItems(platform::ICanvas& dc, const Rect& client);
    // Fills the item list; called once while the window is created.
    virtual void BuildItems();
    // Each returns whether the popup must be redrawn.
    virtual bool OnItemMouseMove(int x, int y);
    virtual bool OnItemLButtonDown(int x, int y);
    virtual bool OnItemLButtonUp(int x, int y);
    virtual bool OnItemRButtonUp(int x, int y);
    // A key pressed while the popup is active; true when it did something.
    virtual bool OnItemKey(UINT vk);
    // Whether Shift is down, from the key messages the popup saw (for Shift+F10).
    bool ShiftHeld() const { return shiftHeld_; }
    // Escape: the owner hears the dismissal as when the user clicks
    // elsewhere, or the popup simply closes when it has none.
    void Dismiss();
    // Left in a sub-menu: it closes and the popup it was opened from is
    // active again. False for a popup not opened from another one (it stays).
    bool CloseSubMenu();
    // The layout tells the window how big it is.
    void SetWindowSize(int width, int height);
    platform::IWindowHost& Host() const { return *platform::g_windowHost; }
    Point CursorInClient() const;

    bool tracking_ = false;
    bool buttonDown_ = false;
    bool captured_ = false;
    bool shiftHeld_ = false;
    platform::FontSpec font_;
    Point position_;
    UINT reportMessage_ = 0;
    UINT dismissalMessage_ = 0;
    int tag_ = 0;
    int kind_ = 0;
    HWND hwnd_ = 0;
    HWND parent_ = 0;
    HWND opener_ = 0;
    Size size_{1, 1};

private:
    std::unique_ptr<platform::IImageCanvas> picture_;
    int redrawCount_ = 0;
    bool closing_ = false;
    bool deleting_ = false;
};
