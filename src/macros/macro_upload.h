#pragma once
// How library macros reach the mouse: which macros get a device index (the
// slot pass over the active profile's buttons), how a macro becomes the
// device's 3-byte steps, and how that encoding is cut into 33-byte feature
// reports. Pure data in, data out; the device link does the sending.
//
// Macro image (what is compared with the last one sent under an index):
//   [0] 0x09  [1] 0x90  [2] device macro index  [3] commandActionNum
//   [4...]    one 3-byte step per action that is not a pause, then zeros.
// Bytes 0-3 take part in the comparison but never go to the mouse.
//
// Device step: [0] bit 7 = release, bits 6-4 = step type, bits 3-0 = pause
// bits 11-8; [1] pause bits 7-0; [2] value. The pause is the length of the
// pause action directly after the step, clamped to 4,095 ms.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "profile/macro_model.h"
#include "profile/button_function_code.h"

struct ProfileRecord;

constexpr int kMacroImageSize = 512;
constexpr int kMacroDeviceIndexes = 8;  // at most 8 buttons name macros
constexpr int kMacroPacketLength = 33;
constexpr int kMacroPacketDataBytes = 25;
constexpr uint32_t kMacroStepMaxPauseMs = 4095;

using MacroImage = std::array<uint8_t, kMacroImageSize>;
// A complete feature report; byte 4 (the sequence number) is left 0 for the
// sender to fill in when the packet actually goes out.
using MacroPacket = std::array<uint8_t, kMacroPacketLength>;

// Step types (bits 6-4 of step byte 0).
enum MacroStepType : uint8_t {
    kStepMouseButton = 1,
    kStepModifier = 2,
    kStepKey = 3,
    kStepMoveX = 4,
    kStepMoveY = 5,
    kStepWheel = 6,
};

// Windows virtual-key code (an action's b0) to the code the mouse knows:
// a keyboard usage ID (0x00-0xDF), a modifier (0xE0-0xE7) or one of the
// mouse actions (0xF0-0xF7). Unlisted codes give 0.
uint8_t TranslateMacroCode(uint8_t virtualKey);

// The step of one action; pauseMs is the folded length of the pause after it.
std::array<uint8_t, 3> EncodeMacroStep(const MacroAction& action, uint32_t pauseMs);

// The image of macro under deviceIndex (1-8).
MacroImage BuildMacroImage(const MacroKey& macro, uint8_t deviceIndex);

// The packets that carry an image: ceil(commandActionNum x 3 / 25) of them,
// at least one. Data past the 512 image bytes goes out as zeros.
std::vector<MacroPacket> BuildMacroPackets(const MacroImage& image, uint8_t deviceIndex, uint8_t commandActionNum);

// The function code of a button that plays the macro in device slot `slot`.
ButtonFunctionCode MacroButtonCode(int slot, const MacroKey& macro);

// The slot pass. For every button of `profile` whose code is a macro code,
// the first macro of `firstSet` named like the button's own macro copy gets
// the next free slot (shared when two buttons name it) and the button's code
// names it. The name comes from the record, never from the label: a label is
// in the language it was made in and says nothing once the language changes.
// A button naming no macro of the set becomes the disabled function with
// `disabledLabel`. With a set that is empty or missing, macroSlotOf keeps its
// old contents and every macro button is disabled.
void AssignMacroSlots(ProfileRecord& profile, const MacroSet* firstSet, std::vector<int32_t>& macroSlotOf,
                      const std::u16string& disabledLabel);
// The same with the language's text 34 (disabled).
void AssignMacroSlots(ProfileRecord& profile, const MacroSet* firstSet, std::vector<int32_t>& macroSlotOf);
