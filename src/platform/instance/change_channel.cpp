#include "platform/instance/change_channel.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace platform {
namespace {

// The window thread waits this long at most for a request's bytes.
constexpr int kRequestReadTimeoutMs = 200;

bool ReadAll(int fd, char* buf, size_t len, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    size_t got = 0;
    while (got < len) {
        const int left = int(std::chrono::duration_cast<std::chrono::milliseconds>(
                                 deadline - std::chrono::steady_clock::now())
                                 .count());
        if (left <= 0) return false;
        pollfd p{fd, POLLIN, 0};
        const int r = poll(&p, 1, left);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return false;
        const ssize_t n = read(fd, buf + got, len - got);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) return false;
        got += size_t(n);
    }
    return true;
}

bool WriteAll(int fd, const char* buf, size_t len)
{
    size_t done = 0;
    while (done < len) {
        const ssize_t n = send(fd, buf + done, len - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

std::string Frame(std::string_view payload)
{
    std::string out(4, '\0');
    const uint32_t n = uint32_t(payload.size());
    for (int i = 0; i < 4; ++i) out[size_t(i)] = char((n >> (8 * i)) & 0xFF);
    out += payload;
    return out;
}

bool ReadLength(int fd, uint32_t& n, int timeoutMs)
{
    unsigned char b[4];
    if (!ReadAll(fd, reinterpret_cast<char*>(b), 4, timeoutMs)) return false;
    n = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    return true;
}

}  // namespace

void ServeChangeRequest(int fd, const ChangeRequestHandler& handler)
{
    if (!handler) return;
    uint32_t n = 0;
    std::string request;
    if (ReadLength(fd, n, kRequestReadTimeoutMs) && n <= kMaxChangeFrame) {
        request.resize(n);
        if (!ReadAll(fd, request.data(), n, kRequestReadTimeoutMs)) request.clear();
    }
    // Too long, cut short or too slow: the handler sees nothing it can take
    // and says so; the rest of what the peer sent is never read.
    const std::string reply = handler(request);
    const std::string framed = Frame(reply);
    WriteAll(fd, framed.data(), framed.size());
}

ChangeChannelResult SendChangeRequest(const std::string& socketPath, std::string_view request, int replyTimeoutMs)
{
    ChangeChannelResult result;
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (socketPath.size() >= sizeof addr.sun_path) return result;
    std::memcpy(addr.sun_path, socketPath.c_str(), socketPath.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        result.kind = ChangeChannelResult::Failed;
        result.error = std::string("cannot make a socket: ") + std::strerror(errno);
        return result;
    }
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        const int e = errno;
        close(fd);
        // No socket file, or one a window that has ended left behind.
        if (e == ENOENT || e == ECONNREFUSED) return result;
        result.kind = ChangeChannelResult::Failed;
        result.error = "cannot reach the running window at " + socketPath + ": " + std::strerror(e);
        return result;
    }
    const std::string framed = std::string(kChangeRequestTag, 4) + Frame(request);
    uint32_t n = 0;
    result.kind = ChangeChannelResult::Failed;
    if (!WriteAll(fd, framed.data(), framed.size())) {
        result.error = "the running window did not take the request";
    } else if (!ReadLength(fd, n, replyTimeoutMs) || n > kMaxChangeFrame) {
        result.error = "the running window did not answer";
    } else {
        result.reply.resize(n);
        if (ReadAll(fd, result.reply.data(), n, replyTimeoutMs))
            result.kind = ChangeChannelResult::Replied;
        else
            result.error = "the running window's answer was cut short";
    }
    close(fd);
    return result;
}

}  // namespace platform
