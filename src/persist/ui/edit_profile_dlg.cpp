#include "persist/ui/edit_profile_dlg.h"

CEditProfileDlg::CEditProfileDlg(std::u16string currentName, HWND parent)
    : CProfileNameDlg(144, std::move(currentName), parent)
{
}
