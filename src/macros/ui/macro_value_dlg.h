#pragma once
// The frame the five small macro dialogs share (319 x 102 on the warning
// frame): a title, the value being edited, OK and Cancel, the close button.
// A dialog with an edit box gets it focused with the caret at the end;
// Enter confirms it like OK and Escape cancels; the key dialog's box takes
// the focus and, while it has it, every key but Tab and Escape. Confirm decides whether the dialog may close:
// a refusal is shown and the dialog stays open.
#include <string>

#include "macros/macro_texts.h"
#include "ui/framed_dlg.h"

class CStaticText;

class CMacroValueDlg : public CFramedDlg {
public:
    static constexpr int kBaseWidth = 319;
    static constexpr int kBaseHeight = 102;

    // withEdit false: the value is a text in a white frame (the key dialog).
    CMacroValueDlg(const char16_t* kind, int titleText, bool withEdit, HWND parent);

    // The edit box's text (empty without one).
    std::u16string EditText() const;
    HWND Edit() const { return edit_; }
    bool OnInitDialog() override;
    bool PreTranslateMessage(HWND self, const platform::Msg& msg) override;
    std::u16string WindowTitle() const override;
    // Whether a key belongs to the key box (it has the focus and the key
    // is not one that leads out of it).
    bool KeyBoxTakes(const platform::Msg& msg) const;

protected:
    void AddControls() override;
    void DrawOverFrame(platform::ICanvas& dc) override;
    std::u16string Description() const override;
    // What the dialog shows when it opens.
    virtual std::u16string InitialValue() const = 0;
    // OK or Enter: stores the result and answers the refusal to show, or none.
    virtual MacroRefusal Confirm() = 0;
    // Digits only (time and move dialogs): other characters are warned about.
    virtual bool WantsDigits() const { return false; }
    // The key dialog's value text.
    void ShowValue(const std::u16string& text);

private:
    void TryOk();

    int titleText_;
    bool withEdit_;
    HWND edit_ = 0;
    CStaticText* value_ = nullptr;
};
