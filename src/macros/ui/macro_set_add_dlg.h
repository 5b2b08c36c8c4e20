#pragma once
// Asks for the name of a new macro set.
#include "macros/ui/macro_set_name_dlg.h"

class CMacroSetAddDlg : public CMacroSetNameDlg {
public:
    CMacroSetAddDlg(HWND manager, NameHandler onName);
};
