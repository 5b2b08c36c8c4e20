#include "platform/instance/change_channel.h"

#include <unistd.h>

#include "platform/instance/instance_client.h"

namespace platform {

ChangeChannelResult SendChangeRequest(const std::string& folder, const std::string& socketPath,
                                      const std::string& lockPath, std::string_view request, int replyTimeoutMs)
{
    ChangeChannelResult result;
    const std::string packet = EncodeRequestPacket(request);
    if (packet.empty()) {
        result.kind = ChangeChannelResult::Failed;
        result.error = "the request is too long";
        return result;
    }
    const InstanceConnection c = ConnectToFirstInstance(folder, socketPath, lockPath);
    if (c.kind == InstanceConnection::NoWindow) return result;
    result.kind = ChangeChannelResult::Failed;
    if (c.kind == InstanceConnection::Refused) {
        result.error = c.error;
        return result;
    }
    unsigned char length[4];
    if (!SendWhole(c.fd, packet)) {
        result.error = "the running window did not take the request";
    } else if (!ReceiveWhole(c.fd, reinterpret_cast<char*>(length), 4, replyTimeoutMs)) {
        result.error = "the running window did not answer";
    } else {
        const uint32_t n =
            uint32_t(length[0]) | uint32_t(length[1]) << 8 | uint32_t(length[2]) << 16 | uint32_t(length[3]) << 24;
        if (n > kMaxChangeFrame) {
            result.error = "the running window's answer is too long";
        } else {
            result.reply.resize(n);
            if (ReceiveWhole(c.fd, result.reply.data(), n, replyTimeoutMs))
                result.kind = ChangeChannelResult::Replied;
            else
                result.error = "the running window's answer was cut short";
        }
    }
    close(c.fd);
    return result;
}

}  // namespace platform
