#include "platform/fs/file_system.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

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

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path)
{
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) return std::nullopt;
    struct stat st{};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    std::string out;
    char buf[65536];
    for (;;) {
        ssize_t r = ::read(fd.get(), buf, sizeof buf);
        if (r < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (r == 0) break;
        out.append(buf, static_cast<size_t>(r));
    }
    return out;
}

bool WriteFileAtomic(const std::string& path, const std::string& bytes)
{
    mode_t mode = 0644;
    struct stat st{};
    if (::stat(path.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) return false;
        // A read-only target stays untouched, as a plain overwrite would have
        // failed. The mode bits count too: root passes access() for anything.
        if (::access(path.c_str(), W_OK) != 0 || (st.st_mode & 0222) == 0) return false;
        mode = st.st_mode & 07777;
    }
    std::string tmp = path + ".tmp-XXXXXX";
    Fd fd(::mkstemp(tmp.data()));
    if (fd.get() < 0) return false;
    bool ok = ::fchmod(fd.get(), mode) == 0 && WriteAll(fd.get(), bytes.data(), bytes.size()) &&
              ::fsync(fd.get()) == 0;
    ok = (::close(fd.release()) == 0) && ok;
    if (!ok || ::rename(tmp.c_str(), path.c_str()) != 0) {
        ::unlink(tmp.c_str());
        return false;
    }
    // The rename is only durable once the folder itself is flushed.
    Fd dir(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
    return true;
}

bool FileExists(const std::string& path)
{
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
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
