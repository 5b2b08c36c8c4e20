#include "persist/stdio_file_ex.h"

#include "persist/unreadable_files.h"
#include "platform/fs/file_system.h"

namespace {

constexpr size_t kChunkUnits = 128;

void AppendUnits(std::string& out, const std::u16string& text)
{
    for (char16_t c : text) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
}

}  // namespace

CStdioFileEx::~CStdioFileEx()
{
    Close();
}

bool CStdioFileEx::Open(const std::string& path, OpenMode mode)
{
    Close();
    unicodeText = true;
    path_ = path;
    bytes_.clear();
    pos_ = 0;
    mode_ = mode;
    fromMemory_ = false;
    readFailed_ = false;
    if (mode == modeRead) {
        // Reading never asks for write access: a read-only file reads normally.
        platform::FileRead read = platform::ReadRegularFile(path);
        if (read.status != platform::ReadStatus::Ok) {
            // Only a missing file may be made anew; one that is there but
            // could not be read must survive whatever the caller does next.
            if (read.status != platform::ReadStatus::Missing)
                NoteUnreadableFile(path, platform::DescribeFailedRead(path, read));
            readFailed_ = read.status == platform::ReadStatus::Failed;
            return false;
        }
        bytes_ = std::move(read.bytes);
    }
    open_ = true;
    return true;
}

void CStdioFileEx::OpenBytes(std::string bytes)
{
    Close();
    unicodeText = true;
    path_.clear();
    bytes_ = std::move(bytes);
    pos_ = 0;
    mode_ = modeRead;
    fromMemory_ = true;
    open_ = true;
}

bool CStdioFileEx::Close()
{
    if (!open_) return true;
    open_ = false;
    if (mode_ != modeWrite) return true;
    if (IsUnreadableFile(path_)) return false;
    return platform::WriteFileAtomic(path_, bytes_);
}

void CStdioFileEx::WriteString(const std::u16string& text)
{
    if (!open_ || mode_ != modeWrite) return;
    if (bytes_.empty()) AppendUnits(bytes_, u"\uFEFF");
    AppendUnits(bytes_, text);
}

bool CStdioFileEx::ReadString(std::u16string& line)
{
    line.clear();
    if (!open_ || mode_ != modeRead) return false;
    if (pos_ == 0) pos_ = bytes_.size() < 2 ? bytes_.size() : 2;  // the mark, unchecked

    // Chunks of up to 128 units, each ending early at a line feed; go on while
    // a chunk is full and did not end the line.
    for (;;) {
        size_t got = 0;
        bool endedLine = false;
        while (got < kChunkUnits && pos_ + 1 < bytes_.size()) {
            char16_t c = static_cast<char16_t>(static_cast<unsigned char>(bytes_[pos_]) |
                                               (static_cast<unsigned char>(bytes_[pos_ + 1]) << 8));
            pos_ += 2;
            line.push_back(c);
            ++got;
            if (c == u'\n') {
                endedLine = true;
                break;
            }
        }
        if (endedLine || got < kChunkUnits) break;
    }
    // A trailing odd byte cannot form a unit; it is consumed and dropped.
    if (pos_ + 1 == bytes_.size()) pos_ = bytes_.size();

    if (line.size() >= 2 && line.back() == u'\n') line.pop_back();
    return !line.empty();
}

size_t CStdioFileEx::GetPosition() const
{
    return mode_ == modeWrite ? bytes_.size() : pos_;
}

std::string EncodeUtf16LeFile(const std::u16string& text)
{
    std::string out;
    out.reserve(2 + text.size() * 2);
    AppendUnits(out, u"\uFEFF");
    AppendUnits(out, text);
    return out;
}
