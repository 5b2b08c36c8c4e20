#include "app/main_sections.h"

#include "buttons/ui/button_list_section.h"
#include "persist/ui/profile_tabs.h"
#include "settings/ui/dpi_section.h"
#include "settings/ui/lighting_section.h"
#include "settings/ui/sensor_section.h"

MainSections MakeMainSections(ISectionHost& host, MainSectionsSetup setup)
{
    auto profiles = std::make_unique<CProfileTabsSection>(host, setup.selection, std::move(setup.refreshWindow),
                                                          std::move(setup.openGames));
    auto buttons = std::make_unique<CButtonListSection>(host);
    auto dpi = std::make_unique<CDpiSection>(host, setup.dpiOrdinal);
    auto sensor = std::make_unique<CSensorSection>(host);
    auto lighting = std::make_unique<CLightingSection>(host, std::move(setup.lightingOpen));

    using P = CProfileTabsSection;
    using N = CSensorSection;
    auto block = [](MainBlock b) { return MainCreationStep{b, nullptr, 0, std::nullopt}; };
    auto fixed = [](CWindowSection* s, int part) { return MainCreationStep{{}, s, part, std::nullopt}; };
    auto panel = [](CWindowSection* s, int part, MainSection p) { return MainCreationStep{{}, s, part, p}; };
    MainSections m;
    m.steps = {block(MainBlock::ButtonListCaption),
               fixed(buttons.get(), 0),
               block(MainBlock::BatteryBlock),
               fixed(sensor.get(), N::kPartPower),
               fixed(profiles.get(), P::kPartTabs),
               block(MainBlock::Centre),
               fixed(profiles.get(), P::kPartListButton),
               block(MainBlock::BottomRow),
               block(MainBlock::Headers),
               panel(dpi.get(), 0, MainSection::Dpi),
               panel(lighting.get(), 0, MainSection::Lighting),
               panel(sensor.get(), N::kPartPolling, MainSection::Polling),
               panel(sensor.get(), N::kPartLiftOff, MainSection::LiftOff),
               panel(sensor.get(), N::kPartDebounce, MainSection::Debounce),
               panel(sensor.get(), N::kPartPointer, MainSection::Windows)};
    m.all.push_back(std::move(profiles));
    m.all.push_back(std::move(buttons));
    m.all.push_back(std::move(dpi));
    m.all.push_back(std::move(sensor));
    m.all.push_back(std::move(lighting));
    return m;
}

bool CSliderDrag::OnMouseMove(const std::vector<std::unique_ptr<CWindowSection>>& sections, WPARAM flags, int x,
                              bool pendingDpiOrWindows)
{
    if (flags == MK_LBUTTON) {
        for (const auto& s : sections)
            if (s->OnPointerDrag(x)) dragged_ = true;
        return false;
    }
    if (dragged_ && pendingDpiOrWindows) {
        dragged_ = false;
        return true;
    }
    return false;
}
