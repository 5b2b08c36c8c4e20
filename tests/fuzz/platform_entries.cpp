// The descriptor walk's and the simulated mouse's fuzz sources live with their
// owners; they are compiled here under other names so that the replay test and
// one fuzzer executable per entry can hold them side by side.
#define LLVMFuzzerTestOneInput FuzzHidDescriptor
#include "../platform/hidraw/descriptor_fuzz.cpp"
#undef LLVMFuzzerTestOneInput

#define LLVMFuzzerTestOneInput FuzzSimProtocol
#include "../platform/sim/sim_protocol_fuzz.cpp"
#undef LLVMFuzzerTestOneInput
