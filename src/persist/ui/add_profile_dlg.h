#pragma once
// CAddProfileDlg: the name of a new profile, asked for with an empty box.
#include "persist/ui/profile_name_dlg.h"

class CAddProfileDlg final : public CProfileNameDlg {
public:
    explicit CAddProfileDlg(HWND parent);
};
