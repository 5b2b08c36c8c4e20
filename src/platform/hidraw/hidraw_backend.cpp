#include "platform/hidraw/hidraw_backend.h"

#include "platform/hidraw/descriptor_parser.h"
#include "platform/hidraw/hidraw_device.h"
#include "platform/hidraw/unique_fd.h"

#include <libudev.h>
#include <linux/hidraw.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace platform {
namespace {

// How long after a node's arrival EACCES is taken for a rule not applied yet.
constexpr int64_t kArrivalGraceMs = 3000;
constexpr int kAccessRetries = 15;
constexpr int kAccessRetryMs = 100;

struct UdevDeleter {
    void operator()(udev* u) const { udev_unref(u); }
    void operator()(udev_enumerate* e) const { udev_enumerate_unref(e); }
    void operator()(udev_device* d) const { udev_device_unref(d); }
    void operator()(udev_monitor* m) const { udev_monitor_unref(m); }
};
template <class T> using UdevPtr = std::unique_ptr<T, UdevDeleter>;

std::string ErrnoText(int err) { return std::strerror(err); }

// The node number of "/dev/hidraw12", for a stable order; large for oddities.
long NodeNumber(const std::string& node) {
    const size_t digits = node.find_last_not_of("0123456789");
    if (digits == std::string::npos || digits + 1 >= node.size()) return 1L << 30;
    return std::strtol(node.c_str() + digits + 1, nullptr, 10);
}

struct NodeFacts {
    uint16_t vendor = 0;
    uint16_t product = 0;
    std::vector<uint8_t> descriptor;
};

bool ReadDescriptorIoctl(int fd, std::vector<uint8_t>* out, int* err) {
    int size = 0;
    if (ioctl(fd, HIDIOCGRDESCSIZE, &size) < 0) {
        *err = errno;
        return false;
    }
    hidraw_report_descriptor desc{};
    desc.size = uint32_t(std::clamp(size, 0, HID_MAX_DESCRIPTOR_SIZE));
    if (ioctl(fd, HIDIOCGRDESC, &desc) < 0) {
        *err = errno;
        return false;
    }
    out->assign(desc.value, desc.value + desc.size);
    return true;
}

bool ReadFactsFromFd(int fd, NodeFacts* facts) {
    hidraw_devinfo info{};
    if (ioctl(fd, HIDIOCGRAWINFO, &info) < 0) return false;
    facts->vendor = uint16_t(info.vendor);
    facts->product = uint16_t(info.product);
    int err = 0;
    return ReadDescriptorIoctl(fd, &facts->descriptor, &err);
}

// For a node the user may not open (no rule installed yet), udev and sysfs
// still tell who it is, so the mouse is listed and opening it can explain
// the missing rule instead of the mouse silently not being there.
bool ReadFactsFromUdev(udev_device* node, NodeFacts* facts) {
    udev_device* hid = udev_device_get_parent_with_subsystem_devtype(node, "hid", nullptr);
    if (hid == nullptr) return false;
    const char* id = udev_device_get_property_value(hid, "HID_ID");
    unsigned bus = 0, vendor = 0, product = 0;
    if (id == nullptr || std::sscanf(id, "%x:%x:%x", &bus, &vendor, &product) != 3) return false;
    facts->vendor = uint16_t(vendor);
    facts->product = uint16_t(product);
    const char* syspath = udev_device_get_syspath(hid);
    if (syspath == nullptr) return false;
    // Read with stdio: a stream would set up the C++ library's locales, a
    // few hundred kB of its code resident, for this one small file.
    std::FILE* f = std::fopen((std::string(syspath) + "/report_descriptor").c_str(), "rb");
    if (f == nullptr) return false;
    facts->descriptor.clear();
    unsigned char chunk[4096];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;)
        facts->descriptor.insert(facts->descriptor.end(), chunk, chunk + n);
    std::fclose(f);
    if (facts->descriptor.size() > HID_MAX_DESCRIPTOR_SIZE) facts->descriptor.resize(HID_MAX_DESCRIPTOR_SIZE);
    return true;
}

}  // namespace

bool SplitInterfacePath(const std::string& path, std::string* node, size_t* collection) {
    const size_t hash = path.rfind('#');
    if (hash == std::string::npos) {
        *node = path;
        *collection = 0;
        return true;
    }
    const std::string digits = path.substr(hash + 1);
    if (digits.empty() || digits.size() > 3 || digits.find_first_not_of("0123456789") != std::string::npos)
        return false;
    *node = path.substr(0, hash);
    *collection = size_t(std::stoul(digits));
    return true;
}

std::string InterfacePath(const std::string& node, size_t collection, size_t collectionCount) {
    if (collectionCount <= 1) return node;
    return node + "#" + std::to_string(collection);
}

std::string PermissionMessage(const std::string& node) {
    return "No permission to open " + node + " (the udev rule 70-tevlan.rules gives it to the user at the desk)";
}

// The monitor thread's stop signal, shared by the backend and the thread so
// that whichever lets go last closes it: after the join normally, or the
// thread itself when it was stopped from its own callback and detached.
struct HidrawBackend::MonitorControl {
    UniqueFd stop;
};

HidrawBackend::HidrawBackend(IClock& clock) : clock_(clock) {}

HidrawBackend::~HidrawBackend() { StopMonitor(); }

std::vector<HidInterfaceInfo> HidrawBackend::Enumerate() {
    struct Found {
        long number;
        size_t collection;
        HidInterfaceInfo info;
    };
    std::vector<Found> found;
    UdevPtr<udev> u(udev_new());
    if (!u) return {};
    UdevPtr<udev_enumerate> e(udev_enumerate_new(u.get()));
    if (!e) return {};
    udev_enumerate_add_match_subsystem(e.get(), "hidraw");
    udev_enumerate_scan_devices(e.get());
    udev_list_entry* entry;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(e.get())) {
        UdevPtr<udev_device> dev(udev_device_new_from_syspath(u.get(), udev_list_entry_get_name(entry)));
        if (!dev) continue;
        // A node udev is still working on may not have its access rule yet.
        if (!udev_device_get_is_initialized(dev.get())) continue;
        const char* devnode = udev_device_get_devnode(dev.get());
        if (devnode == nullptr) continue;
        const std::string node = devnode;

        NodeFacts facts;
        bool ok = false;
        UniqueFd fd(::open(devnode, O_RDWR | O_CLOEXEC));
        if (fd.valid()) ok = ReadFactsFromFd(fd.get(), &facts);
        if (!ok) ok = ReadFactsFromUdev(dev.get(), &facts);
        if (!ok) continue;

        const HidDescriptorInfo desc = ParseReportDescriptor(facts.descriptor.data(), facts.descriptor.size());
        const size_t count = desc.collections.size();
        if (count == 0) {
            found.push_back({NodeNumber(node), 0, {node, facts.vendor, facts.product, 0, 0, 0, 0}});
            continue;
        }
        for (size_t i = 0; i < count; ++i) {
            const HidCollectionInfo& c = desc.collections[i];
            found.push_back({NodeNumber(node), i,
                             {InterfacePath(node, i, count), facts.vendor, facts.product, c.usagePage, c.usage,
                              c.inputReportLength, c.featureReportLength}});
        }
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return a.number != b.number ? a.number < b.number : a.collection < b.collection;
    });
    std::vector<HidInterfaceInfo> list;
    for (Found& f : found) list.push_back(std::move(f.info));
    return list;
}

bool HidrawBackend::ArrivedRecently(const std::string& node) {
    std::lock_guard<std::mutex> lock(mu_);
    auto it = arrivals_.find(node);
    return it != arrivals_.end() && clock_.NowMs() - it->second <= kArrivalGraceMs;
}

std::unique_ptr<IHidDevice> HidrawBackend::Open(const std::string& path, std::string* error) {
    return OpenWithReason(path, error, nullptr);
}

std::unique_ptr<IHidDevice> HidrawBackend::OpenWithReason(const std::string& path, std::string* error,
                                                          HidOpenProblem* problem) {
    if (problem) *problem = HidOpenProblem::Other;
    auto fail = [&](const std::string& why, HidOpenProblem kind = HidOpenProblem::Other) -> std::unique_ptr<IHidDevice> {
        if (error) *error = why;
        if (problem) *problem = kind;
        return nullptr;
    };
    std::string node;
    size_t index = 0;
    if (!SplitInterfacePath(path, &node, &index)) return fail("Not a device path: " + path);

    UniqueFd fd(::open(node.c_str(), O_RDWR | O_CLOEXEC));
    int err = fd.valid() ? 0 : errno;
    for (int attempt = 0; err == EACCES && attempt < kAccessRetries && ArrivedRecently(node); ++attempt) {
        clock_.SleepMs(kAccessRetryMs);
        fd = UniqueFd(::open(node.c_str(), O_RDWR | O_CLOEXEC));
        err = fd.valid() ? 0 : errno;
    }
    if (!fd.valid()) {
        if (err == EACCES || err == EPERM) return fail(PermissionMessage(node), HidOpenProblem::NoPermission);
        if (err == EBUSY) return fail(node + " is in use by another program", HidOpenProblem::Busy);
        if (err == ENOENT || err == ENODEV || err == ENXIO) return fail("The device " + node + " is not there");
        return fail("Cannot open " + node + ": " + ErrnoText(err));
    }
    // Read waits in poll() and only then reads; non-blocking makes sure a
    // wake-up without a report waiting never leaves the reader stuck in read().
    fcntl(fd.get(), F_SETFL, fcntl(fd.get(), F_GETFL) | O_NONBLOCK);

    std::vector<uint8_t> bytes;
    if (!ReadDescriptorIoctl(fd.get(), &bytes, &err))
        return fail("Cannot read the report descriptor of " + node + ": " + ErrnoText(err));
    const HidDescriptorInfo desc = ParseReportDescriptor(bytes.data(), bytes.size());
    std::unique_ptr<IHidDevice> dev = MakeHidrawDevice(node, std::move(fd), desc, index, error);
    if (dev && problem) *problem = HidOpenProblem::None;
    return dev;
}

void HidrawBackend::SetChangeCallback(HidChangeCallback callback) {
    const bool want = bool(callback);
    {
        std::lock_guard<std::mutex> lock(mu_);
        callback_ = std::move(callback);
        // From inside the callback the monitor cannot be joined; with an empty
        // callback it simply delivers nothing until it is stopped later.
        if (monitor_.joinable() && monitor_.get_id() == std::this_thread::get_id()) return;
    }
    if (want && !monitor_.joinable()) StartMonitor();
    if (!want) StopMonitor();
}

void HidrawBackend::StartMonitor() {
    udev* u = udev_new();
    if (u == nullptr) return;
    udev_monitor* m = udev_monitor_new_from_netlink(u, "udev");
    if (m == nullptr || udev_monitor_filter_add_match_subsystem_devtype(m, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(m) < 0) {
        if (m) udev_monitor_unref(m);
        udev_unref(u);
        return;
    }
    auto control = std::make_shared<MonitorControl>();
    control->stop = UniqueFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!control->stop.valid()) {
        udev_monitor_unref(m);
        udev_unref(u);
        return;
    }
    control_ = control;
    monitor_ = std::thread([this, u, m, control] { MonitorLoop(u, m, control); });
}

void HidrawBackend::StopMonitor() {
    if (!monitor_.joinable()) return;
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t w = ::write(control_->stop.get(), &one, sizeof one);
    if (monitor_.get_id() == std::this_thread::get_id()) {
        // Stopped from its own callback: the loop sees the stop signal as soon
        // as the callback returns and touches nothing of this object after it.
        monitor_.detach();
    } else {
        monitor_.join();
    }
    control_.reset();
}

void HidrawBackend::MonitorLoop(void* udevPtr, void* monitorPtr, std::shared_ptr<MonitorControl> control) {
    UdevPtr<udev> u(static_cast<udev*>(udevPtr));
    UdevPtr<udev_monitor> m(static_cast<udev_monitor*>(monitorPtr));
    const int stopFd = control->stop.get();
    const int monitorFd = udev_monitor_get_fd(m.get());
    for (;;) {
        pollfd fds[2] = {{monitorFd, POLLIN, 0}, {stopFd, POLLIN, 0}};
        const int r = poll(fds, 2, -1);
        if (r < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents & POLLIN) return;
        if (!(fds[0].revents & POLLIN)) continue;
        UdevPtr<udev_device> dev(udev_monitor_receive_device(m.get()));
        if (!dev) continue;
        const char* action = udev_device_get_action(dev.get());
        const char* devnode = udev_device_get_devnode(dev.get());
        if (action == nullptr || devnode == nullptr) continue;
        const bool added = std::strcmp(action, "add") == 0;
        const bool removed = std::strcmp(action, "remove") == 0;
        if (!added && !removed) continue;
        HidChangeCallback cb;
        {
            std::lock_guard<std::mutex> lock(mu_);
            if (added)
                arrivals_[devnode] = clock_.NowMs();
            else
                arrivals_.erase(devnode);
            cb = callback_;
        }
        if (cb) cb(added, devnode);
    }
}

}  // namespace platform
