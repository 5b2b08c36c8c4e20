#pragma once
// CEditProfileDlg: a new name for a profile, starting from its current one.
#include <string>

#include "persist/ui/profile_name_dlg.h"

class CEditProfileDlg final : public CProfileNameDlg {
public:
    CEditProfileDlg(std::u16string currentName, HWND parent);
};
