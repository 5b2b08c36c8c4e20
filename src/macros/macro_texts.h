#pragma once
// What the macro editing rules answer when they refuse something: the
// number of the language text to show, so that the window, the command line
// and the tests all speak of one message the same way. The rules never show
// anything themselves.
#include <string>

namespace macro_text {
constexpr int kDigitsOnly = 175;
constexpr int kConfirmDeleteMacro = 232;
constexpr int kNoMacroSelected = 233;
constexpr int kRecordWithoutMacro = 234;
constexpr int kRecordingFull = 235;
constexpr int kInsertWithoutMacro = 236;
constexpr int kInsertFull = 237;
constexpr int kNameTooLong = 240;
constexpr int kNameUsed = 241;
constexpr int kNameEmpty = 242;
// A pause longer than one step on the mouse holds, cut to that.
constexpr int kPauseClamped = 486;

constexpr int kNewMacroWithoutSet = 350;
constexpr int kSetAddPrompt = 351;
constexpr int kSetDeletePrompt = 352;
constexpr int kSetMenuAdd = 353;
constexpr int kSetMenuDelete = 354;
constexpr int kSetNameEmpty = 355;
constexpr int kSetNameUsed = 356;
constexpr int kSetNameUnknown = 357;
// Followed by the file's path on a line of its own.
constexpr int kImportFailed = 358;
constexpr int kExportFailed = 359;
}  // namespace macro_text

// The answer of a rule that may refuse. text 0: done. Otherwise the language
// text to show, and for the file messages the path they are about.
struct MacroRefusal {
    int text = 0;
    std::string path;

    bool Refused() const { return text != 0; }
    static MacroRefusal Accepted() { return {}; }
    static MacroRefusal Text(int n) { return {n, {}}; }
    static MacroRefusal File(int n, std::string p) { return {n, std::move(p)}; }
};
