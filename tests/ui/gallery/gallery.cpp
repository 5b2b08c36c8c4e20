// A gallery of every control of the skinned toolkit in one window, for
// looking at the skin on a real desktop (not part of the product).
//
//   ui_gallery [--scale 2] [--popup] [--attention]
//
// --popup opens the lighting combo's menu at start, --attention a message box.
#include <cstring>
#include <memory>
#include <string>

#include "base/text_codec.h"
#include "base/ui_text.h"
#include "platform/qt/qt_application.h"
#include "ui/attention_dlg.h"
#include "ui/check_button.h"
#include "ui/color_select_button.h"
#include "ui/color_select_check_button.h"
#include "ui/combo_button.h"
#include "ui/dlg_base.h"
#include "ui/dpi_radio_button.h"
#include "ui/dpi_value_show_control.h"
#include "ui/image_button.h"
#include "ui/item_popup.h"
#include "ui/link_button.h"
#include "ui/passive_controls.h"
#include "ui/power_manage_button.h"
#include "ui/radio_button.h"
#include "ui/radio_state.h"
#include "ui/show_lists.h"
#include "ui/skin_image.h"
#include "ui/slider_control.h"
#include "ui/tab_control.h"
#include "ui/ui_scale.h"
#include "ui/vscroll_bar.h"

namespace {

constexpr COLORREF kText = RGB(180, 180, 180);
constexpr UINT kButtonCombo = 1028;
constexpr UINT kLightingCombo = 1144;

std::u16string S(const char16_t* name) { return SkinPath(std::u16string(u"skins/") + name); }
Rect R(int l, int t, int r, int b) { return ScaleRect(l, t, r, b); }

struct Macros : IShowCollections {
    int CollectionCount() const override { return 1; }
    int ItemCount(int) const override { return 14; }
    std::u16string ItemText(int, int i) const override { return u"Macro " + Ascii(std::to_string(i + 1)); }
};

struct Actions : IShowRows {
    int RowCount() const override { return 6; }
    std::u16string RowText(int r) const override
    {
        static const char16_t* t[] = {u"A", u"50ms", u"A", u"Ctrl", u"100ms", u"Ctrl"};
        return t[r];
    }
    int RowIcon(int r) const override
    {
        static const int i[] = {kPress, kPause, kRelease, kPress, kPause, kRelease};
        return i[r];
    }
};

class CGalleryDlg : public CDlgBase {
public:
    CGalleryDlg() : CDlgBase(false)
    {
        windowWidth = ScaleUnits(780);
        windowHeight = ScaleUnits(480);
        MapMessage(2001, [this](WPARAM, LPARAM l) {
            if (l == CE_CLICK) Host().PostQuitMessage(0);
            return 0;
        });
        MapMessage(kButtonCombo, [this](WPARAM w, LPARAM l) { return OnCombo(kButtonCombo, w, l, 0, 161); });
        MapMessage(kLightingCombo, [this](WPARAM w, LPARAM l) { return OnCombo(kLightingCombo, w, l, 9, 188); });
        // Dismissals: only the lighting menu's 1146; the button menu stays until chosen.
        MapMessage(1146, [this](WPARAM w, LPARAM) {
            if (auto* c = Find<CComboButton>(static_cast<UINT>(w))) c->SetOpen(false);
            ClosePopup(1);
            Host().Invalidate(hwnd_);
            return 0;
        });
        MapMessage(WM_TIMER, [this](WPARAM id, LPARAM) {
            Host().KillTimer(hwnd_, static_cast<UINT>(id));
            if (id == 1) OnCombo(kLightingCombo, 3120, CComboButton::kClick, 9, 188);
            if (id == 2) {
                attention_ = std::make_unique<CAttentionDlg>(
                    u"", u"The mouse is not connected. Plug in the cable or the receiver, then try again.", hwnd_);
                attention_->ShowModeless();
            }
            return 0;
        });
    }

    bool openPopup = false;
    bool openAttention = false;

    bool OnInitDialog() override
    {
        CDlgBase::OnInitDialog();
        frame_ = CSkinImage::FromFile(S(u"Frame_Lighting_Setting.bmp"));
        if (openPopup) Host().SetTimer(hwnd_, 1, 400);
        if (openAttention) Host().SetTimer(hwnd_, 2, 400);
        return true;
    }

    void DrawBackground(platform::ICanvas& dc, const Rect& client) override
    {
        dc.FillRect(client, RGB(0x1F, 0x1F, 0x1F));
        dc.FillRect(R(0, 0, 780, 33), RGB(0x29, 0x29, 0x29));
        dc.FillRect(R(0, 33, 780, 34), RGB(0x1E, 0x5F, 0x86));
        if (frame_) {
            for (Rect p : {R(16, 65, 278, 255), R(16, 287, 278, 425)}) frame_->Draw(dc, p);
        }
        DrawControls(dc, client);
    }

    void CreateControls(Rect) override
    {
        if (controlsCreated) return;
        controlsCreated = true;
        const HWND h = hwnd_;
        auto text = [&](UINT id, Rect r, const char16_t* s, unsigned fmt = DT_LEFT, COLORREF c = kText) {
            auto t = std::make_unique<CStaticText>(h, id, r, c, fmt | DT_SINGLELINE);
            t->SetLabelText(s);
            return AddControl(0, std::move(t));
        };
        // Title bar
        auto* title = text(3021, R(16, 6, 400, 28), u"TEVLAN  toolkit gallery", DT_LEFT, RGB(255, 255, 255));
        title->SetFont(ScaleUnits(18), u"DejaVu Sans");
        for (auto [id, x, cap] : {std::tuple{2047u, 560, u"Apply"}, std::tuple{2045u, 635, u"Reset"}}) {
            auto b = std::make_unique<CImageButton>(h, id, R(x, 8, x + 69, 28), cap);
            b->LoadNormalAndHover(S(u"button2_nr.png"), S(u"button2_ov.png"));
            AddControl(0, std::move(b));
        }
        auto mini = std::make_unique<CImageButton>(h, 2002, R(730, 9, 745, 24), u"");
        mini->LoadNormalAndHover(S(u"min_nr.png"), S(u"min_ov.png"));
        AddControl(0, std::move(mini));
        auto exit = std::make_unique<CImageButton>(h, 2001, R(750, 9, 765, 24), u"");
        exit->LoadNormalAndHover(S(u"exit_nr.png"), S(u"exit_ov.png"));
        AddControl(0, std::move(exit));

        // Column A: DPI and lighting sections, a closed section.
        auto header = [&](UINT id, int y, const char16_t* cap, bool checked) {
            auto c = std::make_unique<CCheckButton>(h, id, R(16, y, 278, y + 25), cap, DT_LEFT);
            c->LoadImage1(S(u"header_nr.png"));
            c->LoadImage2(S(u"header_ov.png"));
            c->LoadImage3(S(u"header_dn.png"));
            c->SetCaptionColour(2, RGB(255, 255, 255));
            c->SetMargins(ScaleUnits(12), 0);
            c->SetChecked(checked);
            AddControl(0, std::move(c));
        };
        header(3001, 40, u"DPI", true);
        header(3002, 262, u"Lighting", true);
        header(3004, 432, u"Polling rate", false);
        g_dpiEnableMask = 0x0F;
        static const int steps[6] = {7, 15, 31, 63, 95, 127};
        static const COLORREF dpiColours[6] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 128, 255),
                                               RGB(255, 0, 255), RGB(255, 255, 0), RGB(0, 255, 255)};
        for (int k = 0; k < 6; ++k) {
            int dx = 37 * k;
            auto bar = std::make_unique<CDPIValueShowControl>(h, 3300 + k, R(42 + dx, 72, 49 + dx, 204), 160,
                                                              ScaleUnits(12), ScaleUnits(12));
            bar->LoadTrack(S(u"mouse/dpi_bar_1.png"));
            bar->LoadFill(S(u"mouse/dpi_bar_2.png"));
            bar->SetPosition(steps[k]);
            AddControl(1, std::move(bar));
            auto value = std::make_unique<CDPIRadioButton>(h, 3290 + k, k, R(33 + dx, 208, 59 + dx, 219));
            value->LoadImage1(S(u"dpi_value.png"));
            value->SetValue((steps[k] + 1) / 2);
            value->SetFont(ScaleUnits(11), u"DejaVu Sans");
            AddControl(1, std::move(value));
            auto on = std::make_unique<CCheckButton>(h, 3260 + k, R(40 + dx, 222, 51 + dx, 233), u"");
            on->LoadImage1(S(u"check_button_dpi_nr.png"));
            on->LoadImage2(S(u"check_button_dpi_ov.png"));
            on->LoadImage3(S(u"check_button_dpi_dn.png"));
            on->SetChecked(k < 4);
            AddControl(1, std::move(on));
            auto swatch = std::make_unique<CColorSelectButton>(h, 3270 + k, R(33 + dx, 237, 59 + dx, 249), u"",
                                                               R(35 + dx, 239, 57 + dx, 247));
            swatch->SetColour(dpiColours[k]);
            AddControl(1, std::move(swatch));
        }
        auto mode = std::make_unique<CComboButton>(h, kLightingCombo, 3120, R(26, 295, 215, 320), u"", DT_LEFT,
                                                   u"Breathing");
        mode->LoadNormalAndHover(S(u"combo3_nr.png"), S(u"combo3_ov.png"));
        mode->SetMargins(ScaleUnits(10), 0);
        AddControl(2, std::move(mode));
        text(3162, R(26, 326, 116, 344), u"Brightness");
        auto track = std::make_unique<CStaticImage>(h, 3191, R(26, 352, 171, 355));
        track->LoadImage(S(u"Slider_bar.png"));
        AddControl(2, std::move(track));
        auto slider = std::make_unique<CSliderControl>(h, 3220, R(26, 347, 171, 360), 4, ScaleUnits(6), ScaleUnits(7));
        slider->LoadThumb(S(u"Slider_Circle.png"));
        slider->SetPosition(2);
        AddControl(2, std::move(slider));
        auto* pct = text(3230, R(179, 344, 219, 362), u"75%");
        pct->SetFont(ScaleUnits(14), u"DejaVu Sans");
        text(3161, R(26, 364, 216, 382), u"Colours");
        static const COLORREF slots[8] = {RGB(255, 0, 0),   RGB(255, 128, 0), RGB(255, 255, 0), RGB(0, 255, 0),
                                          RGB(0, 255, 255), RGB(0, 0, 255),   RGB(160, 0, 255), RGB(255, 255, 255)};
        for (int j = 0; j < 8; ++j) {
            auto c = std::make_unique<CColorSelectCheckButton>(h, 3180 + j, R(26 + 26 * j, 384, 47 + 26 * j, 404), u"");
            c->LoadNormalAndHover(S(u"color_select_nr.png"), S(u"color_select_check.png"));
            c->SetColour(slots[j]);
            c->SetChecked(j % 3 != 2);
            AddControl(2, std::move(c));
        }
        RegisterRadioGroup({{3240, 0x800}, {3250, 0x1000}});
        SelectRadio(3240);
        for (auto [id, x, base] : {std::tuple{3240u, 236, u"up"}, std::tuple{3250u, 236, u"down"}}) {
            int y = id == 3240 ? 384 : 404;
            auto r = std::make_unique<CRadioButton>(h, id, R(x, y - 2, x + 29, y + 16));
            std::u16string b = base;
            r->LoadImage1(S((b + u"_nr.png").c_str()));
            r->LoadImage2(S((b + u"_ov.png").c_str()));
            r->LoadImage3(S((b + u"_check.png").c_str()));
            AddControl(2, std::move(r));
        }

        // Column B: button list, macro button, battery, power.
        auto caption = [&](UINT id, int y, const char16_t* cap) {
            auto c = std::make_unique<CCheckButton>(h, id, R(296, y, 526, y + 25), cap, DT_LEFT, true, true, true);
            c->LoadNormalAndHover(S(u"header2_nr.png"), S(u"header2_ov.png"));
            c->SetMargins(ScaleUnits(10), 0);
            AddControl(0, std::move(c));
        };
        caption(3008, 40, u"Buttons");
        static const char16_t* functions[4] = {u"Left click", u"Right click", u"Middle click", u"Forward"};
        for (int i = 0; i < 4; ++i) {
            int y = 72 + 28 * i;
            auto n = std::make_unique<CStaticImage>(h, 3400, R(302, y + 1, 323, y + 20));
            n->LoadImage(S((u"mouse/serial_number" + Ascii(std::to_string(i + 1)) + u".png").c_str()));
            AddControl(0, std::move(n));
            auto c = std::make_unique<CComboButton>(h, kButtonCombo, 2013 + i, R(332, y, 494, y + 21), u"", DT_LEFT,
                                                    functions[i]);
            c->LoadNormalAndHover(S(u"combo2_nr.png"), S(u"combo2_ov.png"));
            c->SetMargins(ScaleUnits(8), 0);
            if (i == 3) c->SetShowDisable(true);
            AddControl(0, std::move(c));
        }
        auto macro = std::make_unique<CImageButton>(h, 2062, R(296, 188, 526, 213), u"Macro manager");
        macro->LoadNormalAndHover(S(u"button1_nr.png"), S(u"button1_ov.png"));
        AddControl(0, std::move(macro));
        caption(3009, 222, u"Battery");
        auto battery = std::make_unique<CBattery>(h, 3406, R(316, 254, 346, 315));
        battery->LoadImages(S(u"battery_full.png"), S(u"battery_empty.png"), S(u"battery_charging.png"),
                            S(u"battery_lighting.png"));
        battery->level = 60;
        AddControl(0, std::move(battery));
        auto* level = text(3405, R(352, 297, 392, 315), u"60%");
        level->SetFont(ScaleUnits(14), u"DejaVu Sans");
        static const char16_t* dots[3] = {u"battery_green.png", u"battery_orange.png", u"battery_red.png"};
        static const char16_t* legend[3] = {u"Above 60%", u"30% to 60%", u"Below 30%"};
        for (int i = 0; i < 3; ++i) {
            int y = 262 + 21 * i;
            auto d = std::make_unique<CStaticImage>(h, 3401, R(402, y, 410, y + 8));
            d->LoadImage(S(dots[i]));
            AddControl(0, std::move(d));
            text(3402, R(416, y - 5, 526, y + 13), legend[i]);
        }
        caption(3010, 325, u"Power saving");
        auto dial = std::make_unique<CPowerManageButton>(h, 3500, R(300, 352, 440, 436));
        dial->LoadValueImages(SkinPath(u"skins/"));
        AddControl(0, std::move(dial));
        text(3407, R(444, 390, 526, 408), u"Sleep after", DT_LEFT);
        for (int i = 0; i < 2; ++i) {
            int y = 442 + 18 * i;
            auto c = std::make_unique<CCheckButton>(h, 3501 + 3 * i, R(300, y, 315, y + 15), u"");
            c->LoadImage1(S(u"check_nr.png"));
            c->LoadImage2(S(u"check_ov.png"));
            c->LoadImage3(S(u"check_dn.png"));
            c->SetChecked(i == 0);
            AddControl(0, std::move(c));
            text(3402, R(322, y - 2, 526, y + 16), i == 0 ? u"Lighting on move" : u"Wake on motion");
        }

        // Column C: profiles, lists, polling dial, link.
        static const char16_t* profiles[3] = {u"Gaming", u"Office", u"Profile 3"};
        for (int i = 0; i < 3; ++i) {
            int y = 40 + 25 * i;
            auto t = std::make_unique<CTabControl>(h, 2049 + i, R(546, y, 708, y + 21), profiles[i]);
            t->LoadTabImages(S(u"profile_slot_nr.png"), S(u"profile_slot_ov.png"), S(u"profile_slot_nr2.png"),
                             S(u"profile_slot_ov2.png"));
            t->SetMargins(6, 0);
            t->BindSelection(nullptr, i);
            AddControl(0, std::move(t));
        }
        auto add = std::make_unique<CImageButton>(h, 2071, R(716, 40, 762, 60), u"+");
        add->LoadNormalAndHover(S(u"add_nr.png"), S(u"add_ov.png"));
        AddControl(0, std::move(add));
        auto list = std::make_unique<CEditShowList>(h, R(546, 120, 646, 290));
        list->SetSource(&macros_);
        list->ShowCollection(0);
        list->selection = 2;
        AddControl(0, std::move(list));
        auto bar = std::make_unique<CVScrollBar>(h, 2021, R(648, 120, 666, 290));
        bar->LoadArrows();
        bar->SetScrollState(0, 8, 14);
        AddControl(0, std::move(bar));
        auto actions = std::make_unique<CImageShowList>(h, R(672, 120, 766, 290));
        actions->LoadIcons(S(u"macro_up.png"), S(u"macro_down.png"), S(u"macro_time.png"));
        actions->shownItem = &actions_;
        actions->selection = 1;
        AddControl(0, std::move(actions));
        RegisterRadioGroup({{3030, 0x10000}, {3031, 0x20000}, {3032, 0x40000}, {3033, 0x80000}});
        SelectRadio(3033);
        struct Q { UINT id; int l, t; const char16_t* base; };
        for (Q q : {Q{3030, 572, 298, u"125hz"}, Q{3031, 572, 370, u"250hz"}, Q{3032, 644, 370, u"500hz"},
                    Q{3033, 644, 298, u"1000hz"}}) {
            auto r = std::make_unique<CRadioButton>(h, q.id, R(q.l, q.t, q.l + 72, q.t + 72));
            std::u16string b = q.base;
            r->LoadImage1(S((b + u"_nr.png").c_str()));
            r->LoadImage2(S((b + u"_dn.png").c_str()));
            r->LoadImage3(S((b + u"_dn.png").c_str()));
            AddControl(0, std::move(r));
        }
        text(3145, R(601, 361, 687, 379), u"1000 Hz", DT_CENTER, RGB(255, 255, 255));
        auto link = std::make_unique<CLinkButton>(h, 3503, R(546, 452, 766, 470), u"https://tevlan.example");
        link->SetFont(ScaleUnits(14), u"DejaVu Sans");
        AddControl(0, std::move(link));
    }

private:
    LRESULT OnCombo(UINT message, WPARAM id, LPARAM event, int kind, int width)
    {
        if (event != CComboButton::kClick) return 0;
        auto* combo = Find<CComboButton>(static_cast<UINT>(id));
        if (!combo) return 0;
        int slot = message == kButtonCombo ? 0 : 1;
        ClosePopup(slot);
        combo->SetOpen(true);
        auto* popup = new CMenu(kind, width);
        Rect r = combo->GetRect();
        Point p = Host().ClientToScreen(hwnd_, {r.left, r.bottom});
        const UINT dismissal = kind == 0 ? 1029u : 1146u;
        popup->OnChoice([this, id, slot](const PopupResult& r) {
            if (auto* c = Find<CComboButton>(static_cast<UINT>(id))) {
                c->SetLabel(r.caption);
                c->SetOpen(false);
            }
            ClosePopup(slot);
            Host().Invalidate(hwnd_);
        });
        if (popup->Create(hwnd_, Rect::FromSize(p.x, p.y, 10, 10), 0, static_cast<int>(id), dismissal))
            SetPopup(slot, popup);
        else
            delete popup;
        Host().Invalidate(hwnd_);
        return 0;
    }

    class CMenu : public CItemPopup {
    public:
        CMenu(int kind, int width) : CItemPopup(kind, width)
        {
            SetItemImages(SkinPath(u"skins/menu_nr.png"), SkinPath(u"skins/menu_ov.png"),
                          SkinPath(u"skins/menusub_nr.png"), SkinPath(u"skins/menusub_ov.png"));
        }

    protected:
        void BuildItems() override
        {
            AddItem(u"Steady", 0, 1, 0);
            AddItem(u"Breathing", 0, 2, 0);
            AddItem(u"Colour cycle", 0, 3, 0);
            AddItem(u"", 1, 0, 0);
            AddItem(u"Macro", 0, 4, 1);
            AddItem(u"Off", 0, 5, 0);
            hovered_ = 1;
        }
    };

    std::unique_ptr<CSkinImage> frame_;
    std::unique_ptr<CAttentionDlg> attention_;
    Macros macros_;
    Actions actions_;
};

}  // namespace

int main(int argc, char** argv)
{
    platform::QtApplication app(argc, argv);
    CGalleryDlg dlg;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--scale") == 0 && i + 1 < argc) g_uiScale = std::stof(argv[++i]);
        if (std::strcmp(argv[i], "--popup") == 0) dlg.openPopup = true;
        if (std::strcmp(argv[i], "--attention") == 0) dlg.openAttention = true;
    }
    g_uiFont.face = u"DejaVu Sans";
    g_uiFont.height = ScaleUnits(14);
    g_uiTexts[4] = u"OK";
    SetSkinProgramFolder(TEVLAN_BINARY_DIR);
    // CGalleryDlg was built before the scale was known; size it again.
    dlg.windowWidth = ScaleUnits(780);
    dlg.windowHeight = ScaleUnits(480);
    if (!dlg.Create(0)) return 1;
    return app.Run();
}
