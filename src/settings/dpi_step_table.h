#pragma once
// The DPI scale of the mouse's sensor. A profile's DPI level stores a step
// index; the step's DPI is its table entry x 50, and the mouse is sent the
// step's 16-bit device code. The table is process-wide, built from the sensor
// identifier at start-up and whenever the mouse reports another sensor.
//
// Owner: the window thread.
#include <cstddef>
#include <cstdint>
#include <vector>

struct DpiStepTable {
    std::vector<uint16_t> steps;  // DPI / 50 of each step
    std::vector<uint16_t> codes;  // device code of each step
    int dpiStepCount = 0;
    bool liftOffChoice = false;   // the sensor offers the lift-off distance choice
};

extern DpiStepTable g_dpiStepTable;

// True for a sensor whose table is known.
bool IsKnownDpiSensor(uint16_t sensorId);
// Fills g_dpiStepTable for the sensor; an unknown sensor leaves it as it was
// and returns false.
bool BuildDpiStepTable(uint16_t sensorId);
// The table of a sensor without touching the global one; nullopt-like empty
// table (dpiStepCount 0) for an unknown sensor.
DpiStepTable MakeDpiStepTable(uint16_t sensorId);

// DPI shown for a step index. A stored index past the end of the table (a
// profile made for a larger sensor) shows as the last step; an empty table
// gives 0.
int DpiStepValue(int index);
// Device code sent for a step index, with the same clamping as DpiStepValue.
uint16_t DpiDeviceCode(int index);
int DpiStepCount();
bool LiftOffChoiceAvailable();

// The level number of the (ordinal + 1)-th set bit of the enable mask, counted
// from bit 0; 0 when the ordinal is 8 or more or the mask has fewer set bits.
int LevelFromOrdinal(uint8_t enableMask, int ordinal);
