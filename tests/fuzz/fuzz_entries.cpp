#include "fuzz_entries.h"

#include <cstdio>
#include <cstdlib>

namespace {

FuzzFailureHandler& Handler()
{
    static FuzzFailureHandler handler;
    return handler;
}

}  // namespace

void SetFuzzFailureHandler(FuzzFailureHandler handler) { Handler() = std::move(handler); }

void FuzzFailed(const char* what, const char* file, int line)
{
    if (Handler()) {
        Handler()(what, file, line);
        return;
    }
    std::fprintf(stderr, "%s:%d: fuzz check failed: %s\n", file, line, what);
    std::abort();
}

const std::vector<FuzzEntry>& FuzzEntries()
{
    static const std::vector<FuzzEntry> entries = {
        {"profile_file", FuzzProfileFile},   {"settings_file", FuzzSettingsFile},
        {"language_file", FuzzLanguageFile}, {"text_file", FuzzTextFile},
        {"macro_library", FuzzMacroLibrary}, {"status_answer", FuzzStatusAnswer},
        {"input_report", FuzzInputReport},   {"hid_descriptor", FuzzHidDescriptor},
        {"sim_protocol", FuzzSimProtocol},   {"change_request", FuzzChangeRequest},
        {"instance_packet", FuzzInstancePacket},
    };
    return entries;
}
