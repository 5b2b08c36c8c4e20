// What a running window's socket takes from any process of the user: the
// bytes a peer has sent so far, parsed off the window thread.
#include <string>
#include <string_view>

#include "fuzz_entries.h"
#include "platform/instance/instance_packet.h"

using platform::InstancePacket;
using platform::InstancePacketKind;

namespace {

bool IsPrefixOf(std::string_view part, std::string_view whole)
{
    return part.size() <= whole.size() && whole.substr(0, part.size()) == part;
}

// Incomplete means more bytes can still make a whole packet.
bool CanBecomeWhole(std::string_view bytes)
{
    if (IsPrefixOf(bytes, platform::EncodeActivationPacket())) return bytes.size() < platform::kActivationPacketSize;
    if (!IsPrefixOf(bytes.substr(0, 4), "TVLR")) return false;
    // The length's bytes so far, the ones still to come taken as 0: the least it can be.
    uint32_t length = 0;
    for (size_t i = 4; i < 8 && i < bytes.size(); ++i) length |= uint32_t(uint8_t(bytes[i])) << (8 * (i - 4));
    return length <= platform::kMaxChangeFrame &&
           (bytes.size() < platform::kRequestHeaderSize || bytes.size() - platform::kRequestHeaderSize < length);
}

}  // namespace

extern "C" int FuzzInstancePacket(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const InstancePacket p = platform::ParseInstancePacket(bytes);
    switch (p.kind) {
    case InstancePacketKind::Activation: FUZZ_CHECK(bytes == platform::EncodeActivationPacket()); break;
    case InstancePacketKind::Request:
        FUZZ_CHECK(p.request.size() <= platform::kMaxChangeFrame);
        FUZZ_CHECK(platform::EncodeRequestPacket(p.request) == bytes);
        break;
    case InstancePacketKind::Incomplete: FUZZ_CHECK(CanBecomeWhole(bytes)); break;
    case InstancePacketKind::Invalid: FUZZ_CHECK(p.why && *p.why); break;
    }
    // The server parses what has arrived each time more arrives: what was
    // refused, or whole, at a shorter length never turns into another packet.
    for (size_t cut : {size / 2, size > 0 ? size - 1 : 0}) {
        const InstancePacket first = platform::ParseInstancePacket(bytes.substr(0, cut));
        if (first.kind == InstancePacketKind::Invalid) FUZZ_CHECK(p.kind == InstancePacketKind::Invalid);
        if (first.kind != InstancePacketKind::Incomplete && cut < size)
            FUZZ_CHECK(p.kind == InstancePacketKind::Invalid);
    }
    return 0;
}
