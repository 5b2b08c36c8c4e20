#pragma once
// The small dialog that asks for a profile's name: a title, one edit box,
// OK and Cancel. OK (or Enter) with a name that the profile files cannot
// hold (empty, or more than one line) shows why and keeps the dialog open;
// otherwise the dialog ends with IDOK and Name() is what was typed. Escape
// is swallowed so that a stray key press cannot throw the typing away;
// Cancel and the close button end with IDCANCEL.
//
// The dialog changes nothing itself: its caller passes the name to the
// profile operation it stands for.
#include <string>

#include "ui/framed_dlg.h"

class CProfileNameDlg : public CFramedDlg {
public:
    static constexpr int kBaseWidth = 429;
    static constexpr int kBaseHeight = 140;
    static constexpr UINT kOk = 2010;
    static constexpr UINT kCancel = 2011;
    static constexpr UINT kTitle = 2012;
    static constexpr int kEdit = 2017;

    const std::u16string& Name() const { return name_; }

    bool OnInitDialog() override;
    bool PreTranslateMessage(HWND self, const platform::Msg& msg) override;

protected:
    // titleText: the language text of the title line; name: the edit box's
    // first text.
    CProfileNameDlg(int titleText, std::u16string name, HWND parent);
    void AddControls() override;
    std::u16string Description() const override;
    std::u16string WindowTitle() const override;

private:
    void OnOk();

    int titleText_;
    std::u16string name_;
    HWND edit_ = 0;
};
