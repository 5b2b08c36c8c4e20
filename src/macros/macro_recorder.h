#pragma once
// Recording a macro from the keyboard, as a state machine fed with key
// events; the window owns the hook and does the showing and saving.
//
// Each event is (virtual-key code, press or release, the event's own time
// stamp in ms from a counter that wraps at 2^31, the hook's lParam layout).
// Event by event:
//   key code < 8, no macro, or not recording       ignored
//   same key and same direction as the last event  ignored (auto-repeat of a
//                                                  held key, doubled releases)
//   first action of the macro                      key appended, +1 step
//   later, pauses recorded                         pause (gap since the last
//                                                  accepted event, at most
//                                                  4,095 ms) then key, +1 step
//   later, pauses not recorded                     key appended, +1 step
//   the step would be the 169th                    not appended; recording
//                                                  stops with text 235
// Starting replaces the macro's actions (the count goes to 0; old slots stay
// but no longer count).
#include <cstdint>

#include "profile/macro_model.h"
#include "macros/macro_texts.h"

constexpr uint32_t kRecordedPauseMaxMs = 4095;

// The gap between two hook time stamps (bits 30-0), across one wrap of the
// counter, capped at kRecordedPauseMaxMs.
uint32_t RecordedPauseMs(uint32_t lastEventWord, uint32_t eventWord);

class MacroRecorder {
public:
    struct Result {
        bool appended = false;
        // Text 235 when this event stopped the recording at the step limit.
        MacroRefusal stop;
    };

    // Refused with text 234 without a macro; the recorder then stays idle.
    MacroRefusal Start(MacroKey* macro);
    void Stop() { recording_ = false; }
    bool Recording() const { return recording_; }
    MacroKey* Macro() const { return recording_ ? macro_ : nullptr; }

    // One hook event: wParam's low byte is the key, lParam bit 31 marks a release.
    Result Feed(uint32_t wParam, uint32_t lParam, bool recordPauses);
    Result Feed(uint8_t key, bool release, uint32_t timeMs, bool recordPauses);

private:
    MacroKey* macro_ = nullptr;
    bool recording_ = false;
    uint8_t lastKey_ = 0;
    uint32_t lastEventWord_ = 0;
};
