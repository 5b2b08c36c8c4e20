#include "platform/hidraw/hidraw_device.h"

#include <linux/hidraw.h>

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <vector>

namespace platform {
namespace {

// Larger than any report the kernel delivers (HID_MAX_BUFFER_SIZE is 16 KiB
// for USB, 4 KiB for most drivers); one spare byte in front for the 0 id.
constexpr size_t kReadBufferSize = 16384 + 1;

class HidrawDevice final : public IHidDevice {
public:
    HidrawDevice(std::string node, UniqueFd fd, UniqueFd cancel, HidCollectionInfo collection, bool numbered,
                 bool filter)
        : node_(std::move(node)),
          fd_(std::move(fd)),
          cancel_(std::move(cancel)),
          collection_(std::move(collection)),
          numbered_(numbered),
          filter_(filter) {}

    bool SetFeature(const uint8_t* data, size_t len) override {
        if (data == nullptr || len == 0) return Fail("Nothing to write");
        if (ioctl(fd_.get(), HIDIOCSFEATURE(len), data) < 0) return FailErrno("Writing a feature report", errno);
        return Succeeded();
    }

    bool GetFeature(uint8_t* data, size_t len) override {
        if (data == nullptr || len == 0) return Fail("No buffer to read into");
        if (ioctl(fd_.get(), HIDIOCGFEATURE(len), data) < 0) return FailErrno("Reading a feature report", errno);
        return Succeeded();
    }

    // Blocks in poll on the node and the cancel eventfd rather than in read:
    // a read blocked in the kernel cannot be woken from another thread, and
    // the listener must end when the program does, not when the mouse next
    // speaks. The cancel eventfd is never drained, so once cancelled every
    // later Read returns at once.
    HidReadResult Read(uint8_t* buf, size_t len, size_t* got) override {
        if (got) *got = 0;
        std::vector<uint8_t>& tmp = readBuffer_;
        tmp.resize(kReadBufferSize);
        for (;;) {
            pollfd fds[2] = {{fd_.get(), POLLIN, 0}, {cancel_.get(), POLLIN, 0}};
            const int r = poll(fds, 2, -1);
            if (r < 0) {
                if (errno == EINTR) continue;
                FailErrno("Waiting for an input report", errno);
                return HidReadResult::Error;
            }
            if (fds[1].revents & POLLIN) return HidReadResult::Cancelled;
            if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
                Fail("The device " + node_ + " was removed");
                return HidReadResult::Gone;
            }
            if (!(fds[0].revents & POLLIN)) continue;
            // Unnumbered reports arrive without an id byte: read them one
            // byte in, behind a 0.
            uint8_t* into = numbered_ ? tmp.data() : tmp.data() + 1;
            const ssize_t n = ::read(fd_.get(), into, tmp.size() - 1);
            if (n < 0) {
                const int err = errno;
                if (err == EINTR || err == EAGAIN) continue;
                FailErrno("Reading an input report", err);
                return IsGoneErrno(err) ? HidReadResult::Gone : HidReadResult::Error;
            }
            if (n == 0) {
                Fail("The device " + node_ + " was removed");
                return HidReadResult::Gone;
            }
            size_t total = size_t(n);
            if (!numbered_) {
                tmp[0] = 0;
                total += 1;
            }
            if (filter_ && !collection_.HasInputReport(tmp[0])) continue;  // another collection's report
            const size_t copy = std::min(total, len);
            std::copy(tmp.begin(), tmp.begin() + long(copy), buf);
            if (got) *got = copy;
            Succeeded();
            return HidReadResult::Report;
        }
    }

    void CancelRead() override {
        const uint64_t one = 1;
        // Only fails when the counter would overflow: then it is signalled already.
        [[maybe_unused]] ssize_t w = ::write(cancel_.get(), &one, sizeof one);
    }

    std::string LastError() const override {
        std::lock_guard<std::mutex> lock(mu_);
        return lastError_;
    }

private:
    // The error describes the handle's last call: one that worked clears
    // it, so an old read error is never taken for the reason a later write
    // failed.
    bool Succeeded() {
        std::lock_guard<std::mutex> lock(mu_);
        lastError_.clear();
        return true;
    }
    bool Fail(const std::string& what) {
        std::lock_guard<std::mutex> lock(mu_);
        lastError_ = what;
        return false;
    }
    bool FailErrno(const std::string& what, int err) {
        if (IsGoneErrno(err)) return Fail(what + " failed: the device " + node_ + " was removed");
        return Fail(what + " on " + node_ + " failed: " + std::strerror(err));
    }

    const std::string node_;
    UniqueFd fd_;
    UniqueFd cancel_;
    const HidCollectionInfo collection_;
    const bool numbered_;
    const bool filter_;
    mutable std::mutex mu_;  // the writer and the reader thread both set errors
    std::string lastError_;
    std::vector<uint8_t> readBuffer_;  // only the reading thread touches it
};

}  // namespace

bool IsGoneErrno(int err) { return err == ENODEV || err == EIO || err == ENXIO || err == ESHUTDOWN; }

std::unique_ptr<IHidDevice> MakeHidrawDevice(const std::string& node, UniqueFd fd, const HidDescriptorInfo& desc,
                                             size_t collection, std::string* error) {
    HidCollectionInfo info;
    if (collection < desc.collections.size()) {
        info = desc.collections[collection];
    } else if (!desc.collections.empty() || collection != 0) {
        if (error) *error = node + " has no collection " + std::to_string(collection);
        return nullptr;
    }
    UniqueFd cancel(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!cancel.valid()) {
        if (error) *error = std::string("Cannot create an event descriptor: ") + std::strerror(errno);
        return nullptr;
    }
    // Filter only where one fd carries several collections' reports.
    const bool filter = desc.collections.size() > 1 && desc.usesReportIds;
    return std::make_unique<HidrawDevice>(node, std::move(fd), std::move(cancel), std::move(info),
                                          desc.usesReportIds, filter);
}

}  // namespace platform
