// libFuzzer entry for the report-descriptor walk: any bytes must parse
// without a crash, and the lengths it derives must stay self-consistent.
#include "platform/hidraw/descriptor_parser.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const platform::HidDescriptorInfo info = platform::ParseReportDescriptor(data, size);
    for (const platform::HidCollectionInfo& c : info.collections) {
        // A length is 0 (no such reports) or at least one data byte plus the id.
        if (c.inputReportLength == 1 || c.featureReportLength == 1 || c.outputReportLength == 1) std::abort();
        for (const platform::HidReportSizes& r : c.reports)
            if (r.inputBits > 0 && !c.HasInputReport(r.reportId)) std::abort();
    }
    return 0;
}
