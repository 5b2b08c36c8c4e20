#pragma once
// What may travel over the single-instance socket, and nothing else.
//
// A connection carries exactly one packet, then the answer:
//   activation  "TVL1", then three little-endian 32-bit words: 2999, 0, 0.
//               A later start of the program asks the first to come to the
//               front; the answer is the single byte 'K'.
//   request     "TVLR", a little-endian 32-bit length (at most
//               kMaxChangeFrame) and that many bytes: a request of tevlanctl
//               (persist/change_request.h says what the bytes mean). The
//               answer is framed the same way, without the tag.
//
// The parser sees the bytes a peer has sent so far and says whether they are
// a whole packet, the start of one, or something the protocol does not
// define. The activation is a type, not a number: whatever words a packet
// carries, nothing but "come to the front" can come of it. Pure C++.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

constexpr size_t kMaxChangeFrame = 8192;
constexpr size_t kActivationPacketSize = 16;
constexpr size_t kRequestHeaderSize = 8;
// The words an activation carries; a packet with other words is dropped.
constexpr uint32_t kActivationWord = 2999;
constexpr char kActivationAnswer = 'K';

enum class InstancePacketKind {
    Incomplete,  // a prefix of a packet: wait for more
    Activation,
    Request,
    Invalid,  // not in the protocol: drop the connection
};

struct InstancePacket {
    InstancePacketKind kind = InstancePacketKind::Incomplete;
    std::string_view request;  // Request: the payload, pointing into the parsed bytes
    const char* why = "";      // Invalid: what was wrong, for the log
};

// All the bytes the peer has sent so far. Bytes after a whole packet make
// the connection invalid: a peer says one thing and waits for the answer.
InstancePacket ParseInstancePacket(std::string_view received);

std::string EncodeActivationPacket();
// Empty when the payload is longer than kMaxChangeFrame.
std::string EncodeRequestPacket(std::string_view payload);
// The answer to a request: its length and its bytes.
std::string EncodeAnswerFrame(std::string_view answer);

}  // namespace platform
