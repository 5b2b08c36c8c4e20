#include "persist/unreadable_files.h"

#include <algorithm>
#include <mutex>

#include "base/text_codec.h"
#include "base/ui_text.h"

namespace {

std::mutex g_mutex;
std::vector<UnreadableFile> g_files;

}  // namespace

void NoteUnreadableFile(const std::string& path, const std::string& why)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    for (const UnreadableFile& f : g_files)
        if (f.first == path) return;
    g_files.emplace_back(path, why);
}

bool IsUnreadableFile(const std::string& path)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return std::any_of(g_files.begin(), g_files.end(), [&](const UnreadableFile& f) { return f.first == path; });
}

std::vector<UnreadableFile> UnreadableFiles()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_files;
}

void ForgetUnreadableFiles()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_files.clear();
}

std::u16string UnreadableFilesMessage()
{
    std::u16string message;
    for (const UnreadableFile& f : UnreadableFiles()) {
        std::u16string text = UiText(460);
        if (const size_t at = text.find(u"%1"); at != std::u16string::npos) text.replace(at, 2, Utf8ToU16(f.first));
        if (!message.empty()) message += u"\n\n";
        message += text + u"\n(" + Utf8ToU16(f.second) + u")";
    }
    return message;
}
