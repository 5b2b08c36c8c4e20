#include "platform/instance/instance_packet.h"

#include <algorithm>

namespace platform {
namespace {

constexpr std::string_view kActivationTag{"TVL1", 4};
constexpr std::string_view kRequestTag{"TVLR", 4};

// The little-endian word at `at`, from the bytes there so far: bytes not
// yet received count as 0, so a partial word is the least it can become.
uint32_t LengthAt(std::string_view bytes, size_t at)
{
    uint32_t v = 0;
    for (size_t i = 0; i < 4 && at + i < bytes.size(); ++i) v |= uint32_t(uint8_t(bytes[at + i])) << (8 * i);
    return v;
}

void PutWord(std::string& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i) out.push_back(char((v >> (8 * i)) & 0xFF));
}

bool StartsLike(std::string_view received, std::string_view tag)
{
    const size_t n = std::min(received.size(), tag.size());
    return received.substr(0, n) == tag.substr(0, n);
}

InstancePacket Invalid(const char* why) { return {InstancePacketKind::Invalid, {}, why}; }

}  // namespace

InstancePacket ParseInstancePacket(std::string_view received)
{
    if (StartsLike(received, kActivationTag)) {
        // One activation exists, so its bytes are fixed: anything else is
        // refused as soon as it differs.
        static const std::string activation = EncodeActivationPacket();
        if (!StartsLike(received, activation)) return Invalid("a window message other than the activation");
        if (received.size() < kActivationPacketSize) return {};
        if (received.size() > kActivationPacketSize) return Invalid("bytes after an activation");
        return {InstancePacketKind::Activation, {}, ""};
    }
    if (StartsLike(received, kRequestTag)) {
        const uint32_t length = LengthAt(received, 4);
        if (length > kMaxChangeFrame) return Invalid("a request longer than the protocol allows");
        if (received.size() < kRequestHeaderSize) return {};
        const size_t whole = kRequestHeaderSize + length;
        if (received.size() < whole) return {};
        if (received.size() > whole) return Invalid("bytes after a request");
        return {InstancePacketKind::Request, received.substr(kRequestHeaderSize), ""};
    }
    return Invalid("a packet of unknown kind");
}

std::string EncodeActivationPacket()
{
    std::string out(kActivationTag);
    PutWord(out, kActivationWord);
    PutWord(out, 0);
    PutWord(out, 0);
    return out;
}

std::string EncodeRequestPacket(std::string_view payload)
{
    if (payload.size() > kMaxChangeFrame) return {};
    std::string out(kRequestTag);
    PutWord(out, uint32_t(payload.size()));
    out += payload;
    return out;
}

std::string EncodeAnswerFrame(std::string_view answer)
{
    std::string out;
    PutWord(out, uint32_t(answer.size()));
    out += answer;
    return out;
}

}  // namespace platform
