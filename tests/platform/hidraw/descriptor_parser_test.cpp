#include "platform/hidraw/descriptor_parser.h"

#include <gtest/gtest.h>

#include <random>

using namespace platform;

namespace {

using Bytes = std::vector<uint8_t>;

HidDescriptorInfo Parse(const Bytes& d) { return ParseReportDescriptor(d.data(), d.size()); }

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// The textbook boot mouse: 3 buttons, 5 bits of
// padding, X and Y; no report ids.
const Bytes kBootMouse = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19, 0x01, 0x29, 0x03,
    0x15, 0x00, 0x25, 0x01, 0x95, 0x03, 0x75, 0x01, 0x81, 0x02, 0x95, 0x01, 0x75, 0x05, 0x81, 0x01,
    0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x02, 0x81, 0x06,
    0xC0, 0xC0};

// The mouse's vendor collection: input report 5 and feature report 0x0C of
// 32 data bytes each.
const Bytes kVendor = {
    0x06, 0x00, 0xFF,              // Usage Page (vendor 0xFF00)
    0x09, 0x01,                    // Usage (1)
    0xA1, 0x01,                    // Collection (Application)
    0x85, 0x05,                    //   Report ID (5)
    0x09, 0x02, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x20, 0x81, 0x02,  // 32 bytes in
    0x85, 0x0C,                    //   Report ID (0x0C)
    0x09, 0x03, 0x75, 0x08, 0x95, 0x20, 0xB1, 0x02,  // 32 bytes feature
    0xC0};

// A gaming mouse's first interface: a numbered mouse report (id 1: 16
// buttons, 16-bit X/Y, wheel) and a consumer-control collection (id 3).
const Bytes kNumberedMouseAndConsumer = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x01, 0x09, 0x01, 0xA1, 0x00,
    0x05, 0x09, 0x19, 0x01, 0x29, 0x10, 0x15, 0x00, 0x25, 0x01, 0x95, 0x10, 0x75, 0x01, 0x81, 0x02,
    0x05, 0x01, 0x16, 0x01, 0x80, 0x26, 0xFF, 0x7F, 0x75, 0x10, 0x95, 0x02, 0x09, 0x30, 0x09, 0x31, 0x81, 0x06,
    0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x01, 0x09, 0x38, 0x81, 0x06,
    0xC0, 0xC0,
    0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x03, 0x15, 0x00, 0x26, 0xFF, 0x03,
    0x19, 0x00, 0x2A, 0xFF, 0x03, 0x75, 0x10, 0x95, 0x01, 0x81, 0x00, 0xC0};

TEST(DescriptorParser, PlainBootMouseIsOneUnnumberedCollection) {
    const HidDescriptorInfo info = Parse(kBootMouse);
    EXPECT_TRUE(info.problems.empty());
    EXPECT_FALSE(info.usesReportIds);
    ASSERT_EQ(info.collections.size(), 1u);
    const HidCollectionInfo& c = info.collections[0];
    EXPECT_EQ(c.usagePage, 0x01);
    EXPECT_EQ(c.usage, 0x02);
    EXPECT_EQ(c.inputReportLength, 3 + 1);  // 3 data bytes and the (zero) id byte
    EXPECT_EQ(c.featureReportLength, 0);
    EXPECT_EQ(c.outputReportLength, 0);
    EXPECT_TRUE(c.HasInputReport(0));
}

TEST(DescriptorParser, VendorCollectionHas33ByteInputAndFeatureReports) {
    const HidDescriptorInfo info = Parse(kVendor);
    EXPECT_TRUE(info.problems.empty());
    EXPECT_TRUE(info.usesReportIds);
    ASSERT_EQ(info.collections.size(), 1u);
    const HidCollectionInfo& c = info.collections[0];
    EXPECT_EQ(c.usagePage, 0xFF00);
    EXPECT_EQ(c.usage, 0x01);
    EXPECT_EQ(c.inputReportLength, 33);
    EXPECT_EQ(c.featureReportLength, 33);
    EXPECT_TRUE(c.HasInputReport(5));
    EXPECT_FALSE(c.HasInputReport(0x0C));  // a feature-only id
}

TEST(DescriptorParser, EachTopLevelCollectionOfANodeCountsOnlyItsOwnReports) {
    const HidDescriptorInfo info = Parse(Join({kNumberedMouseAndConsumer, kVendor}));
    EXPECT_TRUE(info.problems.empty()) << info.problems.front();
    EXPECT_TRUE(info.usesReportIds);
    ASSERT_EQ(info.collections.size(), 3u);
    const HidCollectionInfo& mouse = info.collections[0];
    EXPECT_EQ(mouse.usagePage, 0x01);
    EXPECT_EQ(mouse.usage, 0x02);
    EXPECT_EQ(mouse.inputReportLength, 2 + 4 + 1 + 1);  // buttons, X/Y, wheel, id
    EXPECT_TRUE(mouse.HasInputReport(1));
    EXPECT_FALSE(mouse.HasInputReport(5));
    const HidCollectionInfo& consumer = info.collections[1];
    EXPECT_EQ(consumer.usagePage, 0x0C);
    EXPECT_EQ(consumer.inputReportLength, 3);
    const HidCollectionInfo& vendor = info.collections[2];
    EXPECT_EQ(vendor.inputReportLength, 33);
    EXPECT_EQ(vendor.featureReportLength, 33);
    EXPECT_TRUE(vendor.HasInputReport(5));
    EXPECT_FALSE(vendor.HasInputReport(1));
}

TEST(DescriptorParser, LargestReportOfACollectionSetsItsLengthAndGlobalsPushAndPop) {
    const Bytes d = {
        0x0B, 0x01, 0x00, 0x00, 0xFF,  // Usage (4 bytes: page 0xFF00, usage 1), not the global page
        0xA1, 0x01,
        0x75, 0x08,
        0x85, 0x01, 0x95, 0x07, 0x81, 0x02,              // id 1: 7 bytes in
        0xA4,                                            // Push
        0x85, 0x02, 0x95, 0x3F, 0x81, 0x02,              // id 2: 63 bytes in
        0x95, 0x04, 0x75, 0x03, 0x81, 0x02,              //       + 12 bits
        0xB4,                                            // Pop: back to id 1, size 8
        0x95, 0x01, 0x81, 0x02,                          // id 1: 8 bytes now
        0x95, 0x02, 0x91, 0x02,                          // id 1: 2 bytes out
        0xC0};
    const HidDescriptorInfo info = Parse(d);
    EXPECT_TRUE(info.problems.empty()) << info.problems.front();
    ASSERT_EQ(info.collections.size(), 1u);
    const HidCollectionInfo& c = info.collections[0];
    EXPECT_EQ(c.usagePage, 0xFF00);
    EXPECT_EQ(c.usage, 0x01);
    EXPECT_EQ(c.inputReportLength, 63 + 2 + 1);  // 516 bits round up to 65 bytes
    EXPECT_EQ(c.outputReportLength, 3);
    ASSERT_EQ(c.reports.size(), 2u);
    EXPECT_EQ(c.reports[0].inputBits, 64u);
}

TEST(DescriptorParser, BrokenDescriptorsKeepWhatCameBeforeTheBreak) {
    // Truncated in the middle of a 4-byte item.
    Bytes truncated = kVendor;
    truncated.pop_back();  // no End Collection
    truncated.insert(truncated.end(), {0x27, 0xFF, 0xFF});
    HidDescriptorInfo info = Parse(truncated);
    ASSERT_EQ(info.collections.size(), 1u);
    EXPECT_EQ(info.collections[0].featureReportLength, 33);
    EXPECT_FALSE(info.problems.empty());

    // Long items are skipped whole, even with bytes that look like items.
    Bytes withLong = {0xFE, 0x04, 0x10, 0xA1, 0x01, 0x81, 0x02};
    withLong.insert(withLong.end(), kBootMouse.begin(), kBootMouse.end());
    info = Parse(withLong);
    ASSERT_EQ(info.collections.size(), 1u);
    EXPECT_EQ(info.collections[0].inputReportLength, 4);

    // A long item running past the end.
    info = Parse({0x05, 0x01, 0xFE, 0x20, 0x10, 0x01});
    EXPECT_TRUE(info.collections.empty());
    EXPECT_FALSE(info.problems.empty());

    // Unbalanced End Collection, Pop without Push, fields outside collections.
    info = Parse({0xC0, 0xB4, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02});
    EXPECT_TRUE(info.collections.empty());
    EXPECT_GE(info.problems.size(), 3u);

    EXPECT_TRUE(Parse({}).collections.empty());
    EXPECT_TRUE(ParseReportDescriptor(nullptr, 100).collections.empty());
}

TEST(DescriptorParser, HostileSizesAndDepthsAreBounded) {
    // Report size and count at their 32-bit maximum: the length saturates.
    HidDescriptorInfo info = Parse({0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97,
                                    0xFF, 0xFF, 0xFF, 0xFF, 0x81, 0x02, 0x81, 0x02, 0xB1, 0x02, 0xC0});
    ASSERT_EQ(info.collections.size(), 1u);
    EXPECT_EQ(info.collections[0].inputReportLength, 0xFFFF);
    EXPECT_EQ(info.collections[0].featureReportLength, 0xFFFF);
    EXPECT_FALSE(info.problems.empty());

    // 100,000 nested collections and as many pushes: no recursion, no growth without end.
    Bytes deep = {0x05, 0x01, 0x09, 0x02};
    for (int i = 0; i < 100000; ++i) deep.insert(deep.end(), {0xA1, 0x00, 0xA4});
    deep.insert(deep.end(), {0x75, 0x08, 0x95, 0x02, 0x81, 0x02});
    info = Parse(deep);
    ASSERT_EQ(info.collections.size(), 1u);
    EXPECT_EQ(info.collections[0].inputReportLength, 3);

    // Thousands of top-level collections.
    Bytes many;
    for (int i = 0; i < 5000; ++i) many.insert(many.end(), {0x09, 0x01, 0xA1, 0x01, 0xC0});
    info = Parse(many);
    EXPECT_LE(info.collections.size(), 64u);
    EXPECT_FALSE(info.problems.empty());
}

TEST(DescriptorParser, RandomBytesNeverCrashTheWalk) {
    // A cheap stand-in for the fuzzer in the normal suite (the sanitizer
    // builds make it meaningful): mutate real descriptors and random noise.
    std::mt19937 rng(12345);
    const Bytes seeds[] = {kBootMouse, kVendor, Join({kNumberedMouseAndConsumer, kVendor})};
    for (int round = 0; round < 3000; ++round) {
        Bytes d = seeds[round % 3];
        const int edits = 1 + int(rng() % 8);
        for (int e = 0; e < edits; ++e) {
            const size_t at = rng() % (d.size() + 1);
            switch (rng() % 3) {
            case 0: if (at < d.size()) d[at] = uint8_t(rng()); break;
            case 1: d.insert(d.begin() + long(at), uint8_t(rng())); break;
            default: d.resize(at); break;
            }
        }
        for (const HidCollectionInfo& c : Parse(d).collections)
            EXPECT_TRUE(c.inputReportLength != 1 && c.featureReportLength != 1);  // 0, or data plus the id
    }
}

}  // namespace
