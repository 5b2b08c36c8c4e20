// The settings sections in the main window, driven with the mouse on the
// headless host against the simulated mouse.
#include "app/app_test_support.h"

#include "app/main_layout.h"
#include "base/ui_text.h"
#include "settings/colour_palette.h"
#include "settings/dpi_step_table.h"
#include "settings/lighting_settings.h"
#include "settings/sensor_settings.h"
#include "device/device_reports.h"
#include "settings/ui/color_palette_dlg.h"
#include "settings/ui/settings_ids.h"
#include "ui/check_button.h"
#include "ui/color_select_check_button.h"
#include "ui/power_manage_button.h"
#include "ui/radio_state.h"
#include "ui/slider_control.h"

namespace {

using namespace settings_ids;

class SettingsWindow : public MainWindowTest {
public:
    void Open(MainSection s)
    {
        if (!dlg->Layout().IsSectionOpen(s)) ClickControl(SectionInfo(s).headerId);
        ASSERT_TRUE(dlg->Layout().IsSectionOpen(s));
    }
    Point Centre(UINT id)
    {
        CControlBase* c = dlg->FindControl(id);
        EXPECT_TRUE(c) << id;
        if (!c) return {0, 0};
        dlg->Layout().PlaceMovableControls();
        const Rect r = c->GetRect();
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void ClickControl(UINT id) { host.Click(Main(), Centre(id)); }
    // A click on a slider at one of its positions.
    void ClickSlider(UINT id, int position)
    {
        auto* s = dlg->Find<CSliderControl>(id);
        ASSERT_TRUE(s);
        dlg->Layout().PlaceMovableControls();
        host.Click(Main(), {s->Table()[size_t(position)], (s->GetRect().top + s->GetRect().bottom) / 2});
    }
    // The reports of one command the simulated mouse took since the trace was cleared.
    size_t Reports(uint8_t command)
    {
        size_t n = 0;
        for (const auto& w : sim->AcceptedWrites())
            if (w.size() > 2 && w[2] == command) ++n;
        return n;
    }
};

// Every kind of change is in the profile at once: a header click (which
// shows the profile again) or Apply finds it there and shows it again.
TEST_F(SettingsWindow, ChangesStayThroughHeaderClicksAndApply)
{
    struct Case {
        const char* what;
        MainSection section;
        std::function<void(SettingsWindow&)> act;
        std::function<bool(const ProfileRecord&)> stored;
        std::function<bool(CTevlanDlg&)> shown;
    };
    const Case cases[] = {
        {"DPI level 3 off", MainSection::Dpi, [](SettingsWindow& t) { t.ClickControl(kFirstDpiCheck + 3); },
         [](const ProfileRecord& p) { return (p.DPIOffOnFlagValue & 0x08) == 0; },
         [](CTevlanDlg& d) { return !d.Find<CCheckButton>(kFirstDpiCheck + 3)->IsChecked(); }},
        {"500 Hz", MainSection::Polling, [](SettingsWindow& t) { t.ClickControl(kFirstPollingRate + 2); },
         [](const ProfileRecord& p) { return p.PollingRateValue[0] == 2 && p.PollingRateName == u"500HZ"; },
         [](CTevlanDlg& d) {
             return IsRadioSelected(kFirstPollingRate + 2) && !IsRadioSelected(kFirstPollingRate + 3) &&
                    d.FindControl(kFirstPollingRateText + 2)->IsAvailable() &&
                    !d.FindControl(kFirstPollingRateText + 3)->IsAvailable();
         }},
        {"debounce clicked to 30 ms", MainSection::Debounce, [](SettingsWindow& t) { t.ClickSlider(kDebounce, 15); },
         [](const ProfileRecord& p) { return p.settings[kSetKeyDebounce].value == u"30"; },
         [](CTevlanDlg& d) { return d.Find<CStaticText>(kDebounceText)->LabelText() == u"30ms"; }},
        {"lighting speed clicked to 3", MainSection::Lighting,
         [](SettingsWindow& t) { t.ClickSlider(kLightingSpeed, 2); },
         [](const ProfileRecord& p) { return p.lighting.Lighting1Speed[1] == 2; },
         [](CTevlanDlg& d) { return d.Find<CStaticText>(kLightingSpeedText)->LabelText() == u"3"; }},
        {"second direction", MainSection::Lighting, [](SettingsWindow& t) { t.ClickControl(kDirectionDown); },
         [](const ProfileRecord& p) { return p.lighting.Lighting1Direction[1] == 0; },
         [](CTevlanDlg&) { return IsRadioSelected(kDirectionDown) && !IsRadioSelected(kDirectionUp); }},
        {"wheel by page", MainSection::Windows, [](SettingsWindow& t) { t.ClickControl(kScrollPage); },
         [](const ProfileRecord& p) { return p.settings[kSetScrollWheelPageEnable].value == u"1"; },
         [](CTevlanDlg& d) { return d.Find<CSliderControl>(kScrollSpeed)->IsDisabled(); }},
        {"pointer speed clicked to 10", MainSection::Windows, [](SettingsWindow& t) { t.ClickSlider(kPointerSpeed, 9); },
         [](const ProfileRecord& p) { return p.settings[kSetPointerSpeed].value == u"9"; },
         [](CTevlanDlg& d) { return d.Find<CStaticText>(kPointerSpeedText)->LabelText() == u"10"; }},
        {"light up on movement", MainSection::Dpi, [](SettingsWindow& t) { t.ClickControl(kMoveLighting); },
         [](const ProfileRecord& p) { return p.settings[kSetMoveLightingOnOffMode].value == u"1"; },
         [](CTevlanDlg& d) { return d.Find<CCheckButton>(kMoveLighting)->IsChecked(); }},
    };
    Start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Open(c.section);
        c.act(*this);
        ASSERT_TRUE(c.stored(Active()));
        EXPECT_TRUE(c.shown(*dlg));
        // Another section's header shows the profile again; so does Apply.
        ClickControl(SectionInfo(c.section == MainSection::Windows ? MainSection::Debounce : MainSection::Windows).headerId);
        ClickControl(main_ids::kApply);
        Settle(30);
        Open(c.section);
        EXPECT_TRUE(c.stored(Active()));
        EXPECT_TRUE(c.shown(*dlg));
    }
}

TEST_F(SettingsWindow, PowerDialCaptionFollowsAndAClickBetweenWedgesSendsNothing)
{
    Start();
    auto* dial = dlg->Find<CPowerManageButton>(settings_ids::kPowerDial);
    ASSERT_TRUE(dial);
    const Rect r = dial->GetRect();
    Point eight{-1, -1}, between{-1, -1};
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            if (eight.x < 0 && dial->ValueAt(x, y) == 8) eight = {x, y};
            if (between.x < 0 && dial->ValueAt(x, y) == 0) between = {x, y};
        }
    ASSERT_GE(eight.x, 0);
    ASSERT_GE(between.x, 0);
    sim->ClearTrace();
    host.Click(Main(), between);
    Settle(30);
    EXPECT_TRUE(sim->AcceptedWrites().empty());
    host.Click(Main(), eight);
    Settle(30);
    EXPECT_EQ(Active().settings[kSetPowerDownTime].value, u"8");
    EXPECT_EQ(dlg->Find<CStaticText>(kPowerCaption)->LabelText(), UiText(266) + u"8" + UiText(267));
    EXPECT_EQ(Reports(kCmdPower), 1u);
}

// A drag sends once, when it ends, even when the button comes up outside
// the window; nothing goes out while it lasts.
TEST_F(SettingsWindow, SliderDragAppliesOnceWhenItEndsOutsideTheWindow)
{
    Start();
    Open(MainSection::Debounce);
    auto* slider = dlg->Find<CSliderControl>(kDebounce);
    dlg->Layout().PlaceMovableControls();
    const Rect thumb = slider->ThumbRect();
    const int y = (thumb.top + thumb.bottom) / 2;
    sim->ClearTrace();
    host.MoveMouseTo(Main(), {(thumb.left + thumb.right) / 2, y});
    host.PressButton();
    for (size_t i = 0; i < slider->Table().size(); ++i) {
        host.MoveMouseTo(Main(), {slider->Table()[i], y});
        Settle(100);  // far longer than the 20 ms apply delay
        EXPECT_EQ(dlg->Find<CStaticText>(kDebounceText)->LabelText(), DebounceMsCaption(int(i)));
    }
    EXPECT_TRUE(sim->AcceptedWrites().empty()) << "sent while dragging";
    host.MoveMouseTo(Main(), {dlg->windowWidth + 40, y});  // past the window's right edge
    host.ReleaseButton();
    Settle(30);
    EXPECT_EQ(Reports(kCmdDebounce), 1u);
    EXPECT_EQ(sim->AcceptedWrites().size(), 1u);
    EXPECT_EQ(Active().settings[kSetKeyDebounce].value, u"30");
}

TEST_F(SettingsWindow, ColourSlotClicksToggleDoubleClicksOpenThePalette)
{
    Start();
    Open(MainSection::Lighting);
    auto chooseMode = [&](int mode) {
        ASSERT_FALSE(EditLightingMode(Active(), mode).refused);
        dlg->RefreshFromProfile();
    };
    // Mode 3's one colour: two slow clicks, a warning each time, still selected.
    chooseMode(3);
    host.ClearModalLog();
    for (int click = 0; click < 2; ++click) {
        ClickControl(kFirstColourSlot);
        Settle(200);
    }
    ASSERT_EQ(ModalRuns(u"attention"), 2);
    EXPECT_EQ(host.ModalLog().back().text, UiText(153));
    EXPECT_EQ(Active().lighting.Lighting1ColorSelected[3][0], 1);

    // Mode 2: a single click deselects; a double click opens the palette and toggles nothing.
    chooseMode(2);
    host.ClearModalLog();
    ClickControl(kFirstColourSlot + 1);
    Settle(200);
    EXPECT_EQ(Active().lighting.Lighting1ColorSelected[2][1], 0);
    host.MoveMouseTo(Main(), Centre(kFirstColourSlot + 2));
    host.ScriptModal(u"colour-palette", [](platform::HeadlessModal& m) { m.Send(CColorPaletteDlg::kConfirm, 0, CE_CLICK); });
    host.DoubleClick();
    Settle(200);
    EXPECT_EQ(ModalRuns(u"colour-palette"), 1);
    EXPECT_EQ(Active().lighting.Lighting1ColorSelected[2][2], 1);
    EXPECT_TRUE(dlg->Find<CColorSelectCheckButton>(kFirstColourSlot + 2)->IsChecked());
}

TEST_F(SettingsWindow, PaletteTakesColoursFromItsPictureAndTheBackgroundPicksNothing)
{
    Start();
    ProfileRecord& p = Active();
    const COLORREF before = p.DPILevelIndication[2];
    CColorPaletteDlg palette(p, PaletteTarget{PaletteMode::Dpi, 2, 0}, Main());
    host.ScriptModal(u"colour-palette", [&](platform::HeadlessModal& m) {
        // Between two swatches of the ready colours: the background.
        EXPECT_FALSE(palette.PickAt(244 + 29, 60));
        EXPECT_EQ(palette.Selected(), before);
        // Halfway down the field, a quarter of the way across: a pure hue.
        EXPECT_TRUE(palette.PickAt(18 + 51, 26 + 122));
        m.Send(CColorPaletteDlg::kConfirm, 0, CE_CLICK);
    });
    ASSERT_EQ(palette.DoModal(), IDOK);
    const COLORREF picked = p.DPILevelIndication[2];
    EXPECT_NE(picked, before);
    // Half lightness at full saturation: one channel full, one empty.
    const int channels[3] = {RedOf(picked), GreenOf(picked), BlueOf(picked)};
    EXPECT_GE(*std::max_element(channels, channels + 3), 250);
    EXPECT_LE(*std::min_element(channels, channels + 3), 5);
}

TEST_F(SettingsWindow, TypedDpiTakesTheFirstStepThatReachesIt)
{
    Start();
    ASSERT_EQ(DpiStepCount(), 59);  // sensor 0x3325
    const struct {
        const char16_t* typed;
        int dpi;
    } cases[] = {{u"5200", 5500}, {u"99999", 10000}, {u"abc", 200}};
    for (const auto& c : cases) {
        host.ScriptModal(u"dpi-value", [&](platform::HeadlessModal& m) {
            EXPECT_TRUE(m.TypeInto(2017, c.typed));
            m.Send(2010, 0, CE_CLICK);
        });
        ClickControl(kFirstDpiBar + 1);
        Settle(30);
        EXPECT_EQ(DpiStepValue(Active().XYSettingValue[1]), c.dpi) << std::u16string(c.typed).size();
    }
}

}  // namespace

namespace {

// Once the window is on its way out (the mouse went away), a control's
// report that still arrives changes nothing and sends nothing.
TEST_F(SettingsWindow, AClosingWindowsHandlersChangeNothing)
{
    Start();
    const ProfileRecord before = Active();
    sim->ClearTrace();
    dlg->EndProgram();
    for (UINT id : {kFirstPollingRate + 2, kLiftOffLow, kDirectionDown, kScrollPage})
        host.SendMessage(Main(), id, id, CE_CLICK);
    host.SendMessage(Main(), kDebounce, 3, CE_VALUE);
    Settle(30);
    EXPECT_TRUE(Active() == before);
    EXPECT_TRUE(sim->AcceptedWrites().empty());
}

}  // namespace
