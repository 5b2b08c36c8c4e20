#include "persist/ui/add_profile_dlg.h"

CAddProfileDlg::CAddProfileDlg(HWND parent) : CProfileNameDlg(141, u"", parent) {}
