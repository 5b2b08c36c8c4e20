#include "macros/ui/macro_set_del_dlg.h"

#include "macros/macro_texts.h"

CMacroSetDelDlg::CMacroSetDelDlg(HWND manager, NameHandler onName)
    : CMacroSetNameDlg(u"macro set delete", macro_text::kSetDeletePrompt, std::move(onName), manager)
{
}
