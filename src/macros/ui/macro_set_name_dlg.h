#pragma once
// What the two set dialogs share (530 x 200, scaled like every dialog): a
// prompt, a name box, OK and Cancel. OK sends the typed name to the manager
// (message, wParam 0, lParam = address of the name); the manager answers 1
// when it took the name, and otherwise has said why, so the dialog stays
// open for another try.
#include <string>

#include "ui/framed_dlg.h"

class CMacroSetNameDlg : public CFramedDlg {
public:
    static constexpr int kBaseWidth = 530;
    static constexpr int kBaseHeight = 200;

    CMacroSetNameDlg(const char16_t* kind, int promptText, UINT reportMessage, HWND parent);
    bool OnInitDialog() override;
    HWND Edit() const { return edit_; }

protected:
    void AddControls() override;
    std::u16string Description() const override;

private:
    void TryOk();

    int promptText_;
    UINT reportMessage_;
    HWND edit_ = 0;
};
