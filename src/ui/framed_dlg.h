#pragma once
// CFramedDlg: the base of the small modal dialogs drawn on one frame picture
// (message box, questions, progress). It takes what such a dialog is made of
// as parameters and does the rest once:
//   - the frame picture at its base size (a dark fill when it is missing),
//     then whatever the dialog draws over it, then the controls;
//   - an OK and a Cancel push button by id: OK answers IDOK, Cancel (like
//     the close button 2004 every secondary dialog has) answers IDCANCEL,
//     each after letting go of the control pictures;
//   - what Enter and Escape do;
//   - making the controls once, however often the window asks;
//   - the kind and text the dialog describes itself with to the host (the
//     headless host's scripts find a dialog by them).
// A new dialog fills a FramedDlgLook, adds its controls in AddControls and is
// done.
#include <memory>
#include <string>

#include "ui/dlg_base.h"

// What Enter or Escape does while the dialog has the focus.
enum class DialogKey {
    PassOn,  // the dialogs' rule: Escape cancels, Enter clicks the default button
    Ignore,  // swallowed: a stray key press cannot answer the dialog
    Ok,      // as a click on OK
};

struct FramedDlgLook {
    int baseWidth = 0;  // base units; the window is this times the UI scale
    int baseHeight = 0;
    const char16_t* frame = u"";  // picture under the skin folder, e.g. u"skins/Frame_common.bmp"
    const char16_t* kind = u"";   // how the dialog describes itself to the host
    UINT okId = 0;                // push button that answers IDOK; 0 for none
    UINT cancelId = 0;            // push button that answers IDCANCEL; 0 for none
    DialogKey enter = DialogKey::PassOn;
    DialogKey escape = DialogKey::PassOn;
    UINT defaultId = 0;        // the button Enter clicks when OK has a handler of its own (okId 0)
    int title = 0;             // language text the window is called by; 0: the program's name
    // A question whose OK destroys something: Cancel is the default button,
    // so that Enter pressed by habit keeps what the user has.
    bool destructive = false;
    // Rows of the frame picture (base units) that hold its title strip and
    // rule. When set, a dialog taller than the picture draws them at their own
    // height and stretches only the plain body below, so the rule stays just
    // under the title; 0 stretches the whole picture.
    int titleBand = 0;
};

class CFramedDlg : public CDlgBase {
public:
    CFramedDlg(const FramedDlgLook& look, HWND parent);

    LRESULT DoModal() { return CDlgBase::DoModal(parent_); }
    const FramedDlgLook& Look() const { return look_; }

    bool OnInitDialog() override;
    void CreateControls(Rect client) final;
    void DrawBackground(platform::ICanvas& dc, const Rect& client) final;
    bool PreTranslateMessage(HWND self, const platform::Msg& msg) override;
    std::u16string WindowTitle() const override;
    UINT DefaultButtonId() const override
    {
        return look_.destructive ? look_.cancelId : (look_.defaultId ? look_.defaultId : look_.okId);
    }

protected:
    // The dialog's own controls, once, while its window is made.
    virtual void AddControls() = 0;
    // The text the dialog describes itself with to the host.
    virtual std::u16string Description() const { return {}; }
    // Drawn over the frame and under the controls.
    virtual void DrawOverFrame(platform::ICanvas&) {}
    // The close button 2004 in the top-right corner, its left edge at left.
    void AddCloseButton(int left);
    // The skin's push button with a caption, in base units.
    void AddPushButton(UINT id, int l, int t, int r, int b, const std::u16string& caption);
    // The title in the frame's caption strip, white, as the key dialogs show it.
    void AddTitle(UINT id, const std::u16string& text);
    // OK and Cancel side by side in the bottom-right corner of a 430-wide dialog.
    void AddOkCancelButtons(UINT okId, UINT cancelId);
    // Answers IDOK the way the OK button does.
    void AnswerOk();
    void ReleaseFrame() { frame_.reset(); }

    HWND parent_;

private:
    void DrawFrame(platform::ICanvas& dc) const;

    FramedDlgLook look_;
    std::unique_ptr<CSkinImage> frame_;
};
