#include "persist/change_request.h"

namespace {

constexpr char kMagic[4] = {'T', 'V', 'R', 'Q'};
constexpr uint8_t kVersion = 1;

void Put16(std::string& out, size_t v)
{
    out.push_back(char(v & 0xFF));
    out.push_back(char((v >> 8) & 0xFF));
}

struct Reader {
    std::string_view in;
    size_t at = 0;
    bool Byte(uint8_t& v)
    {
        if (at >= in.size()) return false;
        v = uint8_t(in[at++]);
        return true;
    }
    bool Word16(size_t& v)
    {
        uint8_t lo = 0, hi = 0;
        if (!Byte(lo) || !Byte(hi)) return false;
        v = size_t(lo) | size_t(hi) << 8;
        return true;
    }
    // A path may hold any bytes but NUL; every other text is UTF-8.
    bool Text(std::string& s, bool path = false)
    {
        size_t n = 0;
        if (!Word16(n) || n > in.size() - at) return false;
        s.assign(in.substr(at, n));
        at += n;
        return (path || IsUtf8(s)) && s.find('\0') == std::string::npos;
    }
    bool AtEnd() const { return at == in.size(); }
};

}  // namespace

bool IsUtf8(std::string_view s)
{
    for (size_t i = 0; i < s.size();) {
        const uint8_t c = uint8_t(s[i]);
        size_t n = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : 9;
        if (n == 9 || n > s.size() - i - 1) return false;
        uint32_t cp = n == 0 ? c : n == 1 ? c & 0x1F : n == 2 ? c & 0x0F : c & 0x07;
        for (size_t k = 1; k <= n; ++k) {
            const uint8_t t = uint8_t(s[i + k]);
            if ((t & 0xC0) != 0x80) return false;
            cp = cp << 6 | (t & 0x3F);
        }
        static constexpr uint32_t kMin[4] = {0, 0x80, 0x800, 0x10000};
        if (cp < kMin[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += n + 1;
    }
    return true;
}

bool IsChangeRequestPathWord(const std::vector<std::string>& words, size_t i)
{
    if (i + 1 != words.size() || words.size() < 3 || words[1] != "import") return false;
    return (words[0] == "profile" && words.size() == 4) || (words[0] == "macros" && words.size() == 3);
}

std::string EncodeChangeRequest(const ChangeRequest& r)
{
    if (r.profile < -1 || r.profile > 127 || r.words.size() > kMaxChangeRequestWords) return {};
    std::string out(kMagic, 4);
    out.push_back(char(kVersion));
    out.push_back(char(int8_t(r.profile)));
    Put16(out, r.words.size());
    if (r.dataFolder.size() > 0xFFFF || r.dataFolder.find('\0') != std::string::npos) return {};
    Put16(out, r.dataFolder.size());
    out += r.dataFolder;
    for (size_t i = 0; i < r.words.size(); ++i) {
        const std::string& w = r.words[i];
        if (w.size() > 0xFFFF || w.find('\0') != std::string::npos) return {};
        if (!IsUtf8(w) && !IsChangeRequestPathWord(r.words, i)) return {};
        Put16(out, w.size());
        out += w;
    }
    return out.size() <= kMaxChangeRequestBytes ? out : std::string();
}

std::optional<ChangeRequest> DecodeChangeRequest(std::string_view bytes)
{
    if (bytes.size() > kMaxChangeRequestBytes || bytes.size() < 8 || bytes.substr(0, 4) != std::string_view(kMagic, 4))
        return std::nullopt;
    Reader r{bytes, 4};
    uint8_t version = 0, profile = 0;
    size_t count = 0;
    if (!r.Byte(version) || version != kVersion || !r.Byte(profile) || !r.Word16(count)) return std::nullopt;
    const int p = int8_t(profile);
    if (p < -1 || p > 4 || count == 0 || count > kMaxChangeRequestWords) return std::nullopt;
    ChangeRequest out;
    out.profile = p;
    if (!r.Text(out.dataFolder, true)) return std::nullopt;
    out.words.resize(count);
    for (std::string& w : out.words)
        if (!r.Text(w, true)) return std::nullopt;
    if (!r.AtEnd()) return std::nullopt;
    for (size_t i = 0; i < out.words.size(); ++i)
        if (!IsUtf8(out.words[i]) && !IsChangeRequestPathWord(out.words, i)) return std::nullopt;
    return out;
}

std::string EncodeChangeReply(const ChangeReply& reply)
{
    std::string out;
    out.push_back(char(reply.status));
    out.push_back(char(reply.changed ? 1 : 0));
    std::string message = reply.message.substr(0, 0xFFFF);
    if (!IsUtf8(message)) message = "?";
    Put16(out, message.size());
    return out + message;
}

std::optional<ChangeReply> DecodeChangeReply(std::string_view bytes)
{
    Reader r{bytes, 0};
    uint8_t status = 0, changed = 0;
    ChangeReply out;
    if (!r.Byte(status) || status > ChangeReply::NoMouse || !r.Byte(changed) || changed > 1 ||
        !r.Text(out.message) || !r.AtEnd())
        return std::nullopt;
    out.status = ChangeReply::Status(status);
    out.changed = changed == 1;
    return out;
}
