#pragma once
// The walk over a HID report descriptor that turns one hidraw node into the
// interfaces the device link sees: one per top-level collection, with the
// usage that names it and the lengths of its reports. A pure function of the
// descriptor bytes (no Linux headers), so that it is tested and fuzzed with
// real-world and broken descriptors.
//
// Report lengths follow what the discovery logic compares with 33: the
// largest report of that type in the collection, in bytes, plus one byte for
// the report id. That extra byte is counted even for a device without report
// ids: the hidraw backend then puts a 0 in front of every input report it
// reads, and the kernel expects a leading 0 on unnumbered feature reports, so
// every report the program handles starts with its id byte. A collection
// without reports of a type has length 0 for it.
//
// Broken descriptors never make the walk fail or read past the end: a
// truncated item ends the walk, long items are skipped, nesting and the
// global-state stack are bounded, sizes saturate. What was parsed up to that
// point is kept and the problem is noted.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct HidReportSizes {
    uint8_t reportId = 0;      // 0 when the descriptor uses no report ids
    uint64_t inputBits = 0;
    uint64_t outputBits = 0;
    uint64_t featureBits = 0;
};

struct HidCollectionInfo {
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    uint16_t inputReportLength = 0;    // bytes, with the id byte; 0 = no input reports
    uint16_t outputReportLength = 0;
    uint16_t featureReportLength = 0;
    std::vector<HidReportSizes> reports;  // in order of first appearance
    // Whether an input report with this id belongs to the collection; the
    // backend uses it to give each collection only its own input reports
    // when several share one node.
    bool HasInputReport(uint8_t reportId) const;
};

struct HidDescriptorInfo {
    std::vector<HidCollectionInfo> collections;  // top-level collections, in order
    bool usesReportIds = false;                   // any Report ID item: every report starts with its id
    std::vector<std::string> problems;            // empty for a well-formed descriptor
};

// Never throws; any byte sequence (including none) is acceptable input.
HidDescriptorInfo ParseReportDescriptor(const uint8_t* data, size_t len);

}  // namespace platform
