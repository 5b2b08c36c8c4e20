#include "macros/ui/macro_set_del_dlg.h"

#include "macros/macro_texts.h"
#include "macros/ui/macro_manager_ids.h"

CMacroSetDelDlg::CMacroSetDelDlg(HWND manager)
    : CMacroSetNameDlg(u"macro set delete", macro_text::kSetDeletePrompt, macro_ids::kDeleteSetName, manager)
{
}
