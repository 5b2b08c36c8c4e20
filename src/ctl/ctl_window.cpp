#include "ctl/ctl_window.h"

#include <filesystem>

#include "ctl/ctl_options.h"
#include "ctl/ctl_show.h"
#include "ctl/json_writer.h"
#include "base/text_codec.h"
#include "platform/instance/change_channel.h"
#include "platform/instance/single_instance.h"

WindowAnswer AskWindow(const CtlFolders& folders, int profile, const std::vector<std::string>& words)
{
    WindowAnswer answer;
    std::error_code ec;
    const std::string folder = std::filesystem::absolute(folders.dataFolder, ec).string();
    const std::string bytes = EncodeChangeRequest({profile, folder, words});
    if (bytes.empty()) {
        answer.kind = WindowAnswer::Failed;
        answer.error = "the command is too long";
        return answer;
    }
    const platform::SingleInstance instance;
    const platform::ChangeChannelResult sent =
        platform::SendChangeRequest(instance.Folder(), instance.SocketPath(), instance.LockPath(), bytes);
    if (sent.kind == platform::ChangeChannelResult::NoWindow) return answer;
    answer.kind = WindowAnswer::Failed;
    if (sent.kind == platform::ChangeChannelResult::Failed) {
        answer.error = sent.error;
        return answer;
    }
    const std::optional<ChangeReply> reply = DecodeChangeReply(sent.reply);
    if (!reply) {
        answer.error = "the running window's answer was not understood";
        return answer;
    }
    // A window of another data folder leaves this one to tevlanctl.
    if (reply->status == ChangeReply::OtherFolder) return WindowAnswer{};
    answer.kind = WindowAnswer::Answered;
    answer.reply = *reply;
    return answer;
}

int ReportCommandOutcome(const ChangeReply& reply, const char* by, bool json, std::ostream& out, std::ostream& err)
{
    const int code = reply.status == ChangeReply::NotUnderstood ? kExitUsage
                     : reply.status == ChangeReply::NoMouse     ? kExitNoMouse
                     : reply.status == ChangeReply::Refused     ? kExitBadFile
                                                                : kExitOk;
    if (code != kExitOk) {
        err << "tevlanctl: " << reply.message << "\n";
        if (json) out << JsonErrorText(reply.message, code) << "\n";
        return code;
    }
    const std::u16string message = Utf8ToU16(reply.message);
    if (json) {
        JsonWriter j;
        j.BeginObject();
        j.MemberInt("version", 1);
        j.Key("changed");
        j.Bool(reply.changed);
        j.Member("result", message);
        j.MemberUtf8("by", by);
        j.EndObject();
        out << j.Text() << "\n";
    } else if (!message.empty()) {
        out << PrintableText(message) << "\n";
    }
    return kExitOk;
}
