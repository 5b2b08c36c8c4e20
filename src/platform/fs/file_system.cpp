#include "platform/fs/file_system.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr char kTempInfix[] = ".tmp-";
constexpr size_t kTempSuffixLength = 6;
// As many links as the kernel itself follows before it calls it a loop.
constexpr int kMaxLinkHops = 40;
// A rename that finds its temporary name gone lost it to a start-up clean-up
// running beside us; the whole write is simply done again.
constexpr int kWriteAttempts = 3;

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() { if (fd_ >= 0) ::close(fd_); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() { int f = fd_; fd_ = -1; return f; }
private:
    int fd_;
};

bool WriteAll(int fd, const char* p, size_t n)
{
    while (n > 0) {
        ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += w;
        n -= static_cast<size_t>(w);
    }
    return true;
}

std::string FolderOf(const std::string& path)
{
    auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool IsAlphanumeric(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The file a path finally names, every symbolic link on the way followed (a
// relative one from the link's own folder). Nothing when the links loop.
std::optional<std::string> FollowLinks(std::string path)
{
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st{};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        for (;;) {
            ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
            if (n < 0) return std::nullopt;
            if (static_cast<size_t>(n) < target.size()) {
                target.resize(static_cast<size_t>(n));
                break;
            }
            target.resize(target.size() * 2);
        }
        if (target.empty()) return std::nullopt;
        path = target.front() == '/' ? target : FolderOf(path) + "/" + target;
    }
    return std::nullopt;
}

std::string TemporaryName(const std::string& target)
{
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char raw[kTempSuffixLength];
    if (::getrandom(raw, sizeof raw, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof raw)) {
        // No entropy yet this early after boot: a clash is only retried.
        timespec ts{};
        ::clock_gettime(CLOCK_MONOTONIC, &ts);
        unsigned long long v = static_cast<unsigned long long>(ts.tv_nsec) ^ (static_cast<unsigned long long>(::getpid()) << 20);
        for (unsigned char& b : raw) b = static_cast<unsigned char>(v), v = v * 6364136223846793005ULL + 1;
    }
    std::string name = target + kTempInfix;
    for (unsigned char b : raw) name.push_back(kAlphabet[b % (sizeof kAlphabet - 1)]);
    return name;
}

bool FillAndSync(int fd, mode_t mode, const std::string& bytes)
{
    return ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
}

enum class Attempt { Done, Failed, Again, NoUnnamedFiles };

// The bytes go into a file without a name; it gets one only once it is
// complete and on disk, just before the rename.
Attempt WriteThroughUnnamedFile(const std::string& target, const std::string& bytes, mode_t mode)
{
    Fd fd(::open(FolderOf(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    if (fd.get() < 0) {
        // Older kernels and some file systems do not know O_TMPFILE.
        return errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL ? Attempt::NoUnnamedFiles : Attempt::Failed;
    }
    if (!FillAndSync(fd.get(), mode, bytes)) return Attempt::Failed;
    const std::string self = "/proc/self/fd/" + std::to_string(fd.get());
    std::string tmp;
    for (int tries = 0;; ++tries) {
        tmp = TemporaryName(target);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, tmp.c_str(), AT_SYMLINK_FOLLOW) == 0) break;
        if (errno == EEXIST && tries < 16) continue;
        // ENOENT here: no /proc to name the file through.
        return errno == ENOENT ? Attempt::NoUnnamedFiles : Attempt::Failed;
    }
    if (::rename(tmp.c_str(), target.c_str()) != 0) {
        const int why = errno;
        ::unlink(tmp.c_str());
        return why == ENOENT ? Attempt::Again : Attempt::Failed;
    }
    return Attempt::Done;
}

Attempt WriteThroughNamedFile(const std::string& target, const std::string& bytes, mode_t mode)
{
    std::string tmp = target + kTempInfix + std::string(kTempSuffixLength, 'X');
    Fd fd(::mkstemp(tmp.data()));
    if (fd.get() < 0) return Attempt::Failed;
    bool ok = FillAndSync(fd.get(), mode, bytes);
    ok = (::close(fd.release()) == 0) && ok;
    if (!ok) {
        ::unlink(tmp.c_str());
        return Attempt::Failed;
    }
    if (::rename(tmp.c_str(), target.c_str()) != 0) {
        const int why = errno;
        ::unlink(tmp.c_str());
        return why == ENOENT ? Attempt::Again : Attempt::Failed;
    }
    return Attempt::Done;
}

}  // namespace

FileRead ReadRegularFile(const std::string& path)
{
    FileRead result;
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0) {
        result.error = errno;
        result.status = errno == ENOENT || errno == ENOTDIR ? ReadStatus::Missing : ReadStatus::Failed;
        return result;
    }
    struct stat st{};
    if (::fstat(fd.get(), &st) != 0) {
        result.error = errno;
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        result.status = ReadStatus::NotRegularFile;
        return result;
    }
    char buf[65536];
    for (;;) {
        ssize_t r = ::read(fd.get(), buf, sizeof buf);
        if (r < 0) {
            if (errno == EINTR) continue;
            result.error = errno;
            result.bytes.clear();
            return result;
        }
        if (r == 0) break;
        result.bytes.append(buf, static_cast<size_t>(r));
    }
    result.status = ReadStatus::Ok;
    return result;
}

std::string DescribeFailedRead(const std::string& path, const FileRead& read)
{
    switch (read.status) {
    case ReadStatus::Ok: return {};
    case ReadStatus::Missing: return path + " does not exist";
    case ReadStatus::NotRegularFile: return path + " is not a regular file";
    case ReadStatus::Failed: break;
    }
    return "cannot read " + path + ": " + std::strerror(read.error);
}

std::optional<std::string> ReadWholeFile(const std::string& path)
{
    FileRead read = ReadRegularFile(path);
    if (read.status != ReadStatus::Ok) return std::nullopt;
    return std::move(read.bytes);
}

bool WriteFileAtomic(const std::string& path, const std::string& bytes)
{
    // Replacing a link by a plain file would cut it off from the file the
    // user keeps elsewhere: the file at the end of the links is replaced.
    const std::optional<std::string> followed = FollowLinks(path);
    if (!followed) return false;
    const std::string& target = *followed;

    mode_t mode = 0644;
    struct stat st{};
    if (::stat(target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) return false;
        // A read-only target stays untouched, as a plain overwrite would have
        // failed. The mode bits count too: root passes access() for anything.
        if (::access(target.c_str(), W_OK) != 0 || (st.st_mode & 0222) == 0) return false;
        mode = st.st_mode & 07777;
        if (static_cast<size_t>(st.st_size) == bytes.size()) {
            const std::optional<std::string> current = ReadWholeFile(target);
            if (current && *current == bytes) return true;
        }
    }

    bool unnamed = true;
    for (int attempt = 0; attempt < kWriteAttempts; ++attempt) {
        Attempt a = unnamed ? WriteThroughUnnamedFile(target, bytes, mode) : Attempt::NoUnnamedFiles;
        if (a == Attempt::NoUnnamedFiles) {
            unnamed = false;
            a = WriteThroughNamedFile(target, bytes, mode);
        }
        if (a == Attempt::Failed) return false;
        if (a == Attempt::Done) {
            // The rename is only durable once the folder itself is flushed:
            // a folder the disk failed to flush is a save that may be lost,
            // and the caller must hear of it. (A file system that cannot
            // flush folders at all says EINVAL; that is no failure.)
            Fd dir(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            if (dir.get() < 0) return true;
            return ::fsync(dir.get()) == 0 || errno == EINVAL || errno == EROFS;
        }
    }
    return false;
}

bool IsTemporaryFileName(const std::string& name)
{
    const size_t infix = sizeof kTempInfix - 1;
    if (name.size() < 1 + infix + kTempSuffixLength) return false;
    const size_t at = name.size() - kTempSuffixLength - infix;
    if (name.compare(at, infix, kTempInfix) != 0) return false;
    for (size_t i = at + infix; i < name.size(); ++i)
        if (!IsAlphanumeric(name[i])) return false;
    return true;
}

int RemoveStaleTemporaryFiles(const std::string& folder)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return 0;
    int removed = 0;
    const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (!IsTemporaryFileName(name)) continue;
        const std::string path = prefix + name;
        struct stat st{};
        // Only files the writer could have made: never a link or a folder.
        if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        if (::unlink(path.c_str()) == 0) ++removed;
    }
    ::closedir(dir);
    return removed;
}

bool FileExists(const std::string& path)
{
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool PathExists(const std::string& path)
{
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0;
}

bool DirectoryExists(const std::string& path)
{
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeDirectory(const std::string& path)
{
    if (::mkdir(path.c_str(), 0755) == 0) return true;
    return errno == EEXIST && DirectoryExists(path);
}

}  // namespace platform
