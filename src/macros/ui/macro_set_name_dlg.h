#pragma once
// What the two set dialogs share (530 x 200, scaled like every dialog): a
// prompt, a name box, OK and Cancel. OK hands the typed name to the
// manager's handler, which answers true when it took the name and otherwise
// has said why, so the dialog stays open for another try.
#include <functional>
#include <string>

#include "ui/framed_dlg.h"

class CMacroSetNameDlg : public CFramedDlg {
public:
    static constexpr int kBaseWidth = 530;
    static constexpr int kBaseHeight = 200;

    using NameHandler = std::function<bool(const std::u16string& name)>;

    CMacroSetNameDlg(const char16_t* kind, int promptText, NameHandler onName, HWND parent);
    bool OnInitDialog() override;
    HWND Edit() const { return edit_; }

protected:
    void AddControls() override;
    std::u16string Description() const override;

private:
    void TryOk();

    int promptText_;
    NameHandler onName_;
    HWND edit_ = 0;
};
