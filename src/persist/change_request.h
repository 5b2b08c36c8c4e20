#pragma once
// The small request tevlanctl sends to a running window, and its reply.
// A request is the command's words and the profile they apply to; the window
// runs them through RunProfileCommand as tevlanctl would without a window.
//
//   request: "TVRQ", version 1, profile (signed byte, -1 = the active one),
//            word count (16 bits), the data folder and then each word, each
//            text as 16-bit length + UTF-8 (the folder, and the file of an
//            import: + its bytes, any but NUL)
//   reply:   status (0 done, 1 refused, 2 not understood, 3 another data
//            folder: tevlanctl changes the files itself, 4 the window has no
//            mouse), changed (0/1),
//            message as 16-bit length + UTF-8
//
// Numbers are little-endian. Everything is checked before use: a request that
// is cut short, too long, has trailing bytes, more words than a command has,
// a NUL or a word that is not UTF-8 (but for an import's file) is not
// understood, and nothing else happens.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

constexpr size_t kMaxChangeRequestBytes = 8192;
constexpr size_t kMaxChangeRequestWords = 32;

struct ChangeRequest {
    int profile = -1;  // 0..4, or -1
    std::string dataFolder;  // the folder tevlanctl means; a window with another one declines
    std::vector<std::string> words;
    bool operator==(const ChangeRequest&) const = default;
};

struct ChangeReply {
    enum Status : uint8_t { Done = 0, Refused = 1, NotUnderstood = 2, OtherFolder = 3, NoMouse = 4 };
    Status status = Done;
    bool changed = false;
    std::string message;  // UTF-8
    bool operator==(const ChangeReply&) const = default;
};

// Empty when the request does not fit the limits above.
std::string EncodeChangeRequest(const ChangeRequest& request);
std::optional<ChangeRequest> DecodeChangeRequest(std::string_view bytes);

std::string EncodeChangeReply(const ChangeReply& reply);
std::optional<ChangeReply> DecodeChangeReply(std::string_view bytes);

// Whether word i is a file name, which may hold any bytes but NUL: the file
// of "profile import N FILE" and "macros import FILE".
bool IsChangeRequestPathWord(const std::vector<std::string>& words, size_t i);

// Whether bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(std::string_view bytes);
