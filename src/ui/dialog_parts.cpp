#include "ui/dialog_parts.h"

#include "base/ui_text.h"
#include "ui/ui_scale.h"

std::unique_ptr<CImageButton> MakeDialogCloseButton(HWND owner, const Rect& r)
{
    auto close = std::make_unique<CImageButton>(owner, 2004, r, u"");
    close->LoadNormalAndHover(SkinPath(u"skins/exit_nr.png"), SkinPath(u"skins/exit_ov.png"));
    // The picture is a cross; a screen reader says what it does.
    close->SetAccessibleName(UiText(408));
    return close;
}

std::unique_ptr<CImageButton> MakeDialogPushButton(HWND owner, int id, const Rect& r, const std::u16string& caption)
{
    auto button = std::make_unique<CImageButton>(owner, id, r, caption);
    button->LoadNormalAndHover(SkinPath(u"skins/button2_nr.png"), SkinPath(u"skins/button2_ov.png"));
    return button;
}

void DrawFramedDialog(CDlgBase& dlg, platform::ICanvas& dc, const Rect& client, const CSkinImage* frame,
                      int baseWidth, int baseHeight)
{
    dlg.PaintBackgroundCache(dc, client);
    if (frame)
        frame->Draw(dc, Rect{0, 0, ScaleUnits(baseWidth), ScaleUnits(baseHeight)});
    else
        dc.FillRect(client, RGB(0x1F, 0x1F, 0x1F));
    dlg.DrawControls(dc, client);
}
