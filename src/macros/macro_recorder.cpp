#include "macros/macro_recorder.h"

#include "macros/macro_step_accounting.h"

namespace {
constexpr uint32_t kReleaseBit = 0x80000000u;
constexpr uint32_t kTimeBits = 0x7FFFFFFFu;
}  // namespace

uint32_t RecordedPauseMs(uint32_t lastEventWord, uint32_t eventWord)
{
    uint64_t now = eventWord & kTimeBits;
    const uint64_t last = lastEventWord & kTimeBits;
    if (now < last) now += uint64_t(kTimeBits) + 1;  // the counter wrapped
    const uint64_t gap = now - last;
    return gap > kRecordedPauseMaxMs ? kRecordedPauseMaxMs : uint32_t(gap);
}

MacroRefusal MacroRecorder::Start(MacroKey* macro)
{
    recording_ = false;
    macro_ = macro;
    if (!macro) return MacroRefusal::Text(macro_text::kRecordWithoutMacro);
    recording_ = true;
    lastKey_ = 0;
    lastEventWord_ = 0;
    macro->actionNum = 0;
    macro->commandActionNum = 0;
    return MacroRefusal::Accepted();
}

MacroRecorder::Result MacroRecorder::Feed(uint8_t key, bool release, uint32_t timeMs, bool recordPauses)
{
    return Feed(uint32_t(key), (release ? kReleaseBit : 0u) | (timeMs & kTimeBits), recordPauses);
}

MacroRecorder::Result MacroRecorder::Feed(uint32_t wParam, uint32_t lParam, bool recordPauses)
{
    Result result;
    const uint8_t key = uint8_t(wParam & 0xFF);
    if (key < 8 || !recording_ || !macro_) return result;
    if (key == lastKey_ && (lParam & kReleaseBit) == (lastEventWord_ & kReleaseBit)) return result;

    const MacroAction action = MacroAction::Key(key, (lParam & kReleaseBit) != 0);
    MacroKey& m = *macro_;
    if (m.actionNum == 0) {
        macro_steps::Add(m, macro_steps::kRecordedKey);
        result.appended = m.InsertAction(int(m.actionNum), action);
    } else if (!macro_steps::Fit(m, macro_steps::kRecordedKey)) {
        recording_ = false;
        result.stop = MacroRefusal::Text(macro_text::kRecordingFull);
    } else {
        macro_steps::Add(m, macro_steps::kRecordedKey);
        if (recordPauses) m.InsertAction(int(m.actionNum), MacroAction::Pause(RecordedPauseMs(lastEventWord_, lParam)));
        result.appended = m.InsertAction(int(m.actionNum), action);
    }
    lastKey_ = key;
    lastEventWord_ = lParam;
    return result;
}
