#include "macros/ui/macro_set_add_dlg.h"

#include "macros/macro_texts.h"

CMacroSetAddDlg::CMacroSetAddDlg(HWND manager, NameHandler onName)
    : CMacroSetNameDlg(u"macro set add", macro_text::kSetAddPrompt, std::move(onName), manager)
{
}
