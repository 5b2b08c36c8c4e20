// The request a running window takes from tevlanctl over its socket: any
// bytes from any process of the user reach this parser on the window thread.
#include <string>
#include <string_view>

#include "fuzz_entries.h"
#include "persist/change_request.h"

extern "C" int FuzzChangeRequest(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const std::optional<ChangeRequest> r = DecodeChangeRequest(bytes)) {
        FUZZ_CHECK(r->profile >= -1 && r->profile <= 4);
        FUZZ_CHECK(!r->words.empty() && r->words.size() <= kMaxChangeRequestWords);
        for (size_t i = 0; i < r->words.size(); ++i) {
            FUZZ_CHECK(IsUtf8(r->words[i]) || IsChangeRequestPathWord(r->words, i));
            FUZZ_CHECK(r->words[i].find('\0') == std::string::npos);
        }
        // What was taken is exactly what the sender meant: it encodes back to the same bytes.
        FUZZ_CHECK(EncodeChangeRequest(*r) == bytes);
    }
    // The reply parser takes the same bytes on tevlanctl's side.
    if (const std::optional<ChangeReply> reply = DecodeChangeReply(bytes)) {
        FUZZ_CHECK(IsUtf8(reply->message));
        FUZZ_CHECK(EncodeChangeReply(*reply) == bytes);
    }
    return 0;
}
