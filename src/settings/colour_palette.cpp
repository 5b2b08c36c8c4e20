#include "settings/colour_palette.h"

#include "settings/dpi_levels.h"
#include "settings/lighting_settings.h"

bool InPaletteArea(int x, int y)
{
    for (const PaletteArea& a : kPaletteAreas)
        if (x >= a.left && x < a.right && y >= a.top && y < a.bottom) return true;
    return false;
}

std::optional<COLORREF> PickedPaletteColour(int x, int y, COLORREF pixel)
{
    pixel &= 0x00FFFFFF;
    if (!InPaletteArea(x, y) || pixel == kPaletteBackground) return std::nullopt;
    return pixel;
}

namespace {

int DpiLevelOf(const PaletteTarget& t) { return t.first >= 0 && t.first < kDpiLevelCount ? t.first : 0; }

bool LightingTargetValid(const PaletteTarget& t)
{
    return t.first >= 0 && t.first < kLightingModeCount && t.second >= 0 && t.second < kLightingColorSlots;
}

}  // namespace

COLORREF PaletteTargetColour(const ProfileRecord& profile, const PaletteTarget& target)
{
    if (target.mode == PaletteMode::Dpi) return profile.DPILevelIndication[size_t(DpiLevelOf(target))];
    if (!LightingTargetValid(target)) return 0;
    return profile.lighting.Lighting1FixedColor[size_t(target.first)][size_t(target.second)];
}

SettingChange EditPaletteTargetColour(ProfileRecord& profile, const PaletteTarget& target, COLORREF colour)
{
    if (target.mode == PaletteMode::Dpi) return EditDpiLevelColour(profile, DpiLevelOf(target), colour);
    return EditLightingColour(profile, target.first, target.second, colour);
}
