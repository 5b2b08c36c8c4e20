// One libFuzzer executable per entry: TEVLAN_FUZZ_ENTRY names the function.
#include "fuzz_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return TEVLAN_FUZZ_ENTRY(data, size); }
