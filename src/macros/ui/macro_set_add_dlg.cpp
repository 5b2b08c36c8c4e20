#include "macros/ui/macro_set_add_dlg.h"

#include "macros/macro_texts.h"
#include "macros/ui/macro_manager_ids.h"

CMacroSetAddDlg::CMacroSetAddDlg(HWND manager)
    : CMacroSetNameDlg(u"macro set add", macro_text::kSetAddPrompt, macro_ids::kAddSetName, manager)
{
}
