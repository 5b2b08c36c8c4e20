#pragma once
// Pieces the small framed dialogs (message box, reset question) share: the
// skin's close and push buttons and the framed background.
#include <memory>
#include <string>

#include "ui/dlg_base.h"
#include "ui/image_button.h"

// The close button of the dialog's top-right corner: command 2004, which
// CDlgBase answers as "closed".
std::unique_ptr<CImageButton> MakeDialogCloseButton(HWND owner, const Rect& r);

// The skin's standard push button with a caption.
std::unique_ptr<CImageButton> MakeDialogPushButton(HWND owner, int id, const Rect& r, const std::u16string& caption);

// The dialog's frame picture at its unscaled size (a dark fill when the
// picture is missing), then its controls.
void DrawFramedDialog(CDlgBase& dlg, platform::ICanvas& dc, const Rect& client, const CSkinImage* frame,
                      int baseWidth, int baseHeight);
