#pragma once
// The fuzz entry points: one per parser, each a plain function of the input
// bytes. libFuzzer drives each through its own executable (fuzz_main.cpp);
// test_fuzz_replay runs all of them over the seed corpus and the committed
// regression inputs in the normal build.
//
// An entry never trusts its input and checks what must hold for any input
// (a file that parses, written and parsed again, gives the same record; a
// built report is well framed...). A broken rule goes to FuzzFailed, which
// aborts under libFuzzer (so the input is saved as a crasher) and becomes a
// test failure in the replay.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using FuzzEntryFunction = int (*)(const uint8_t* data, size_t size);

struct FuzzEntry {
    const char* name;  // the corpus and regression folder name
    FuzzEntryFunction run;
};

// Every entry, in a fixed order.
const std::vector<FuzzEntry>& FuzzEntries();

// What happens when an entry finds a rule broken; the default prints and aborts.
using FuzzFailureHandler = std::function<void(const char* what, const char* file, int line)>;
void SetFuzzFailureHandler(FuzzFailureHandler handler);
void FuzzFailed(const char* what, const char* file, int line);

#define FUZZ_CHECK(cond)                                \
    do {                                                \
        if (!(cond)) FuzzFailed(#cond, __FILE__, __LINE__); \
    } while (0)

// The entries, by parser.
extern "C" {
int FuzzProfileFile(const uint8_t* data, size_t size);
int FuzzSettingsFile(const uint8_t* data, size_t size);
int FuzzLanguageFile(const uint8_t* data, size_t size);
int FuzzTextFile(const uint8_t* data, size_t size);
int FuzzMacroLibrary(const uint8_t* data, size_t size);
int FuzzStatusAnswer(const uint8_t* data, size_t size);
int FuzzInputReport(const uint8_t* data, size_t size);
int FuzzChangeRequest(const uint8_t* data, size_t size);
int FuzzInstancePacket(const uint8_t* data, size_t size);
// The platform's own fuzz sources (tests/platform/hidraw, tests/platform/sim), renamed.
int FuzzHidDescriptor(const uint8_t* data, size_t size);
int FuzzSimProtocol(const uint8_t* data, size_t size);
}
