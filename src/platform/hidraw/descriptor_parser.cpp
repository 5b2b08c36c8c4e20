#include "platform/hidraw/descriptor_parser.h"

#include <algorithm>

namespace platform {
namespace {

// Real descriptors push the global state a level or two deep; the bound only
// keeps a hostile descriptor from growing the stack without end.
constexpr size_t kMaxGlobalStack = 32;
// The same for top-level collections: a node with more than this is broken.
constexpr size_t kMaxCollections = 64;

enum ItemType : uint8_t { kMain = 0, kGlobal = 1, kLocal = 2, kReserved = 3 };
enum MainTag : uint8_t { kInput = 0x8, kOutput = 0x9, kCollection = 0xA, kFeature = 0xB, kEndCollection = 0xC };
enum GlobalTag : uint8_t { kUsagePage = 0x0, kReportSize = 0x7, kReportId = 0x8, kReportCount = 0x9, kPush = 0xA, kPop = 0xB };
enum LocalTag : uint8_t { kUsage = 0x0 };

struct Globals {
    uint16_t usagePage = 0;
    uint32_t reportSize = 0;
    uint32_t reportCount = 0;
    uint8_t reportId = 0;
};

struct Locals {
    bool haveUsage = false;
    bool extended = false;  // a 4-byte usage carries its own page in the high half
    uint16_t usagePage = 0;
    uint16_t usage = 0;
};

uint64_t SaturatingAdd(uint64_t a, uint64_t b) { return a > UINT64_MAX - b ? UINT64_MAX : a + b; }

uint16_t LengthWithId(uint64_t bits, bool* overflow) {
    if (bits == 0) return 0;
    const uint64_t bytes = bits / 8 + (bits % 8 ? 1 : 0);
    if (bytes >= 0xFFFF) {
        *overflow = true;
        return 0xFFFF;
    }
    return uint16_t(bytes + 1);
}

class Walker {
public:
    explicit Walker(HidDescriptorInfo& out) : out_(out) {}

    void Main(uint8_t tag, uint32_t value) {
        switch (tag) {
        case kInput:
        case kOutput:
        case kFeature: AddField(tag); break;
        case kCollection:
            if (depth_ == 0) OpenTopLevel();
            ++depth_;
            (void)value;  // the collection kind does not matter: every top-level one is an interface
            break;
        case kEndCollection:
            if (depth_ == 0)
                Note("End Collection without a collection");
            else if (--depth_ == 0)
                current_ = nullptr;
            break;
        default: Note("unknown main item"); break;
        }
        locals_ = Locals{};
    }

    void Global(uint8_t tag, uint32_t value, size_t size) {
        switch (tag) {
        case kUsagePage: globals_.usagePage = uint16_t(value); break;
        case kReportSize: globals_.reportSize = value; break;
        case kReportCount: globals_.reportCount = value; break;
        case kReportId:
            out_.usesReportIds = true;
            if (value == 0 || value > 0xFF || size == 0) Note("report id outside 1..255");
            globals_.reportId = uint8_t(value);
            break;
        case kPush:
            if (stack_.size() >= kMaxGlobalStack)
                Note("global state pushed too deep");
            else
                stack_.push_back(globals_);
            break;
        case kPop:
            if (stack_.empty()) {
                Note("Pop without Push");
            } else {
                globals_ = stack_.back();
                stack_.pop_back();
            }
            break;
        default: break;  // logical/physical ranges, units: they do not change report sizes
        }
    }

    void Local(uint8_t tag, uint32_t value, size_t size) {
        // The first usage names the collection that follows.
        if (tag != kUsage || locals_.haveUsage) return;
        locals_.haveUsage = true;
        locals_.usage = uint16_t(value);
        if (size == 4) {
            locals_.extended = true;
            locals_.usagePage = uint16_t(value >> 16);
        }
    }

    void Finish() {
        if (depth_ != 0) Note("collection not closed");
        for (HidCollectionInfo& c : out_.collections) {
            uint64_t in = 0, outBits = 0, feat = 0;
            for (const HidReportSizes& r : c.reports) {
                in = std::max(in, r.inputBits);
                outBits = std::max(outBits, r.outputBits);
                feat = std::max(feat, r.featureBits);
            }
            bool overflow = false;
            c.inputReportLength = LengthWithId(in, &overflow);
            c.outputReportLength = LengthWithId(outBits, &overflow);
            c.featureReportLength = LengthWithId(feat, &overflow);
            if (overflow) Note("report longer than 65534 bytes");
        }
    }

    void Note(const std::string& problem) {
        if (std::find(out_.problems.begin(), out_.problems.end(), problem) == out_.problems.end())
            out_.problems.push_back(problem);
    }

private:
    void OpenTopLevel() {
        if (out_.collections.size() >= kMaxCollections) {
            Note("too many top-level collections");
            current_ = nullptr;
            return;
        }
        HidCollectionInfo c;
        c.usagePage = locals_.extended ? locals_.usagePage : globals_.usagePage;
        c.usage = locals_.usage;
        out_.collections.push_back(std::move(c));
        current_ = &out_.collections.back();
    }

    void AddField(uint8_t tag) {
        if (current_ == nullptr) {
            if (depth_ == 0) Note("report field outside any collection");
            return;
        }
        const uint64_t bits = uint64_t(globals_.reportSize) * globals_.reportCount;
        auto it = std::find_if(current_->reports.begin(), current_->reports.end(),
                               [&](const HidReportSizes& r) { return r.reportId == globals_.reportId; });
        if (it == current_->reports.end()) {
            HidReportSizes r;
            r.reportId = globals_.reportId;
            current_->reports.push_back(r);
            it = current_->reports.end() - 1;
        }
        uint64_t& total = tag == kInput ? it->inputBits : tag == kOutput ? it->outputBits : it->featureBits;
        total = SaturatingAdd(total, bits);
    }

    HidDescriptorInfo& out_;
    Globals globals_;
    Locals locals_;
    std::vector<Globals> stack_;
    size_t depth_ = 0;
    HidCollectionInfo* current_ = nullptr;  // the open top-level collection; collections only grow while none is open
};

}  // namespace

bool HidCollectionInfo::HasInputReport(uint8_t reportId) const {
    return std::any_of(reports.begin(), reports.end(),
                       [&](const HidReportSizes& r) { return r.reportId == reportId && r.inputBits > 0; });
}

HidDescriptorInfo ParseReportDescriptor(const uint8_t* data, size_t len) {
    HidDescriptorInfo info;
    Walker walker(info);
    if (data == nullptr) len = 0;
    size_t i = 0;
    while (i < len) {
        const uint8_t prefix = data[i];
        if (prefix == 0xFE) {
            // Long item: size byte, tag byte, data. No long items are defined,
            // so they are skipped whole.
            if (len - i < 3 || len - i - 3 < data[i + 1]) {
                walker.Note("truncated long item");
                break;
            }
            i += 3 + size_t(data[i + 1]);
            continue;
        }
        size_t size = prefix & 0x03;
        if (size == 3) size = 4;
        if (len - i - 1 < size) {
            walker.Note("truncated item");
            break;
        }
        uint32_t value = 0;
        for (size_t b = 0; b < size; ++b) value |= uint32_t(data[i + 1 + b]) << (8 * b);
        const uint8_t type = (prefix >> 2) & 0x03;
        const uint8_t tag = prefix >> 4;
        i += 1 + size;
        switch (type) {
        case kMain: walker.Main(tag, value); break;
        case kGlobal: walker.Global(tag, value, size); break;
        case kLocal: walker.Local(tag, value, size); break;
        default: walker.Note("reserved item type"); break;
        }
    }
    walker.Finish();
    return info;
}

}  // namespace platform
