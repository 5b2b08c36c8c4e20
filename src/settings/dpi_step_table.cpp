#include "settings/dpi_step_table.h"

#include <cstddef>

DpiStepTable g_dpiStepTable;

namespace {

// Appends DPI values from..to (inclusive) by step, as table entries (DPI / 50).
void Range(std::vector<uint16_t>& steps, int from, int to, int by)
{
    for (int dpi = from; dpi <= to; dpi += by) steps.push_back(static_cast<uint16_t>(dpi / 50));
}

void Values(std::vector<uint16_t>& steps, std::initializer_list<int> dpis)
{
    for (int dpi : dpis) steps.push_back(static_cast<uint16_t>(dpi / 50));
}

}  // namespace

DpiStepTable MakeDpiStepTable(uint16_t sensorId)
{
    DpiStepTable t;
    int codeOffset = 0;  // device code of step i is i + codeOffset
    switch (sensorId) {
    case 0x3104:
        Range(t.steps, 100, 4000, 100);
        Values(t.steps, {4500, 4800, 5500, 6000, 6500, 7000, 7500, 8000});
        break;
    case 0x3325:
        Range(t.steps, 200, 5000, 100);
        Values(t.steps, {5500, 6000, 6400, 7000, 7500, 8000, 8500, 9000, 9500, 10000});
        codeOffset = 1;
        break;
    case 0x3327:
        Range(t.steps, 200, 6200, 100);
        Range(t.steps, 6500, 12000, 500);
        Values(t.steps, {12400});
        codeOffset = 1;
        break;
    case 0x3212:
        Range(t.steps, 200, 2400, 100);
        Range(t.steps, 3000, 4800, 100);
        codeOffset = 1;
        break;
    case 0x3335:
    case 0x3389:
        Range(t.steps, 100, 16000, 100);
        t.liftOffChoice = true;
        break;
    case 0x3360:
        Range(t.steps, 100, 12000, 100);
        Values(t.steps, {24000});
        t.liftOffChoice = true;
        break;
    case 0x3370:
        Range(t.steps, 50, 10000, 50);
        Range(t.steps, 10100, 19000, 100);
        t.liftOffChoice = true;
        break;
    case 0x3395:
        Range(t.steps, 50, 26000, 50);
        t.liftOffChoice = true;
        break;
    case 0x3399:
        Range(t.steps, 50, 20000, 50);
        t.liftOffChoice = true;
        break;
    default:
        return t;
    }
    t.dpiStepCount = static_cast<int>(t.steps.size());
    t.codes.reserve(t.steps.size());
    for (int i = 0; i < t.dpiStepCount; ++i) t.codes.push_back(static_cast<uint16_t>(i + codeOffset));
    return t;
}

bool IsKnownDpiSensor(uint16_t sensorId)
{
    return MakeDpiStepTable(sensorId).dpiStepCount > 0;
}

bool BuildDpiStepTable(uint16_t sensorId)
{
    DpiStepTable t = MakeDpiStepTable(sensorId);
    if (t.dpiStepCount == 0) return false;
    g_dpiStepTable = std::move(t);
    return true;
}

namespace {

int ClampedIndex(int index)
{
    int n = g_dpiStepTable.dpiStepCount;
    if (n <= 0) return -1;
    if (index < 0) return 0;
    return index >= n ? n - 1 : index;
}

}  // namespace

int DpiStepValue(int index)
{
    int i = ClampedIndex(index);
    return i < 0 ? 0 : g_dpiStepTable.steps[size_t(i)] * 50;
}

uint16_t DpiDeviceCode(int index)
{
    int i = ClampedIndex(index);
    return i < 0 ? 0 : g_dpiStepTable.codes[size_t(i)];
}

int DpiStepCount()
{
    return g_dpiStepTable.dpiStepCount;
}

bool LiftOffChoiceAvailable()
{
    return g_dpiStepTable.liftOffChoice;
}

int LevelFromOrdinal(uint8_t enableMask, int ordinal)
{
    if (ordinal < 0 || ordinal >= 8) return 0;
    int seen = 0;
    for (int bit = 0; bit < 8; ++bit) {
        if (enableMask & (1u << bit)) {
            if (seen == ordinal) return bit;
            ++seen;
        }
    }
    return 0;
}
