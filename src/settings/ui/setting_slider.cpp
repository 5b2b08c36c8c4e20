#include "settings/ui/setting_slider.h"

#include <string>
#include <vector>

#include "ui/dlg_base.h"
#include "ui/passive_controls.h"
#include "ui/slider_control.h"

void MapSettingSlider(ISectionHost& host, CDlgBase& dlg, UINT sliderId, UINT captionId, SliderCaption caption,
                      SliderEdit edit)
{
    dlg.MapMessage(sliderId, [&host, sliderId, captionId, caption, edit](WPARAM w, LPARAM l) -> LRESULT {
        if (l != CE_VALUE && l != CE_CLICK) return 0;
        CDlgBase& d = host.Dialog();
        auto* slider = d.Find<CSliderControl>(sliderId);
        if (!slider) return 0;
        // A drag reports each position it passes; a click only lands.
        const int position = l == CE_VALUE ? int(w) : slider->Position();
        if (auto* text = d.Find<CStaticText>(captionId)) {
            text->SetLabelText(caption(position));
            host.RepaintControl(text);
        }
        ProfileRecord* p = host.WorkingProfile();
        if (!p) return 0;  // the window is closing
        const SettingChange c = edit(*p, position);
        if (!c.Changed()) return 0;
        // While dragging only mark it: the window starts the apply when the
        // drag ends, so a drag sends once.
        if (l == CE_VALUE)
            host.MarkPending(c.group);
        else
            host.ScheduleApply(c.group);
        return 0;
    });
}

void ScaleSettingSlider(const CDlgBase& dlg, UINT sliderId, SliderCaption caption)
{
    auto* slider = dlg.Find<CSliderControl>(sliderId);
    if (!slider || !caption) return;
    std::vector<int> values;
    std::vector<std::u16string> texts;
    for (int i = 0; i < slider->Count(); ++i) {
        texts.push_back(caption(i));
        // The leading number of the caption ("4ms" is 4, "50%" is 50).
        int v = 0;
        bool digits = false;
        for (char16_t ch : texts.back()) {
            if (ch < u'0' || ch > u'9') break;
            v = v * 10 + (ch - u'0');
            digits = true;
        }
        values.push_back(digits ? v : i + 1);
    }
    slider->SetValueScale(std::move(values), std::move(texts));
}

int ShowSettingSlider(const CDlgBase& dlg, UINT sliderId, UINT captionId, int position, SliderCaption caption)
{
    auto* s = dlg.Find<CSliderControl>(sliderId);
    if (!s) return -1;
    s->SetPosition(position);
    auto repaint = [&dlg](const CControlBase* c) {
        if (dlg.GetSafeHwnd() && platform::g_windowHost)
            platform::g_windowHost->InvalidateRect(dlg.GetSafeHwnd(), c->GetRect());
    };
    repaint(s);
    if (auto* text = dlg.Find<CStaticText>(captionId)) {
        text->SetLabelText(caption(s->Position()));
        repaint(text);
    }
    return s->Position();
}

bool DragSettingSliders(const CDlgBase& dlg, std::initializer_list<UINT> sliders, int x)
{
    bool moved = false;
    for (UINT id : sliders)
        if (auto* s = dlg.Find<CSliderControl>(id); s && s->IsVisible() && s->DragTo(x)) moved = true;
    return moved;
}
