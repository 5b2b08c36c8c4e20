#pragma once
// Asks for the name of the macro set to delete.
#include "macros/ui/macro_set_name_dlg.h"

class CMacroSetDelDlg : public CMacroSetNameDlg {
public:
    CMacroSetDelDlg(HWND manager, NameHandler onName);
};
