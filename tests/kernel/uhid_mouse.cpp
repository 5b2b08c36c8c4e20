#include "uhid_mouse.h"

#include "platform/hid/traced_backend.h"

#include <linux/uhid.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

namespace kerneltest {

using platform::SimInterface;
using platform::SimProduct;

namespace {

// Boot mouse without report ids: three buttons, x, y, wheel.
const std::vector<uint8_t> kMouseDescriptor = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19, 0x01, 0x29, 0x03,
    0x15, 0x00, 0x25, 0x01, 0x95, 0x03, 0x75, 0x01, 0x81, 0x02, 0x95, 0x01, 0x75, 0x05, 0x81, 0x03,
    0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x09, 0x38, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x03,
    0x81, 0x06, 0xC0, 0xC0};
// Vendor page 0xFF00 usage 1: input report 5, 32 bytes.
const std::vector<uint8_t> kInputDescriptor = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x05, 0x15, 0x00, 0x26,
                                               0xFF, 0x00, 0x75, 0x08, 0x95, 0x20, 0x09, 0x01, 0x81, 0x02, 0xC0};
// Vendor page 0xFF00 usage 2: feature report 0x0C, 32 bytes.
const std::vector<uint8_t> kFeatureDescriptor = {0x06, 0x00, 0xFF, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x0C, 0x15, 0x00, 0x26,
                                                 0xFF, 0x00, 0x75, 0x08, 0x95, 0x20, 0x09, 0x02, 0xB1, 0x02, 0xC0};

int Slot(SimProduct p) { return p == SimProduct::A ? 0 : 1; }

bool WriteEvent(int fd, const uhid_event& ev) {
    for (;;) {
        const ssize_t n = ::write(fd, &ev, sizeof ev);
        if (n == ssize_t(sizeof ev)) return true;
        if (n < 0 && errno == EINTR) continue;
        return false;
    }
}

}  // namespace

namespace {
std::string Hex(const uint8_t* data, size_t len) { return platform::HexBytes(data, len); }
template <size_t N> std::string Hex(const std::array<uint8_t, N>& a) { return Hex(a.data(), N); }
}  // namespace

std::string DescribeState(const platform::SimDeviceState& s) {
    std::string t;
    auto line = [&](const std::string& name, const std::string& value) { t += name + ": " + value + "\n"; };
    for (size_t i = 0; i < s.buttons.size(); ++i)
        line("button " + std::to_string(i), s.buttons[i] ? Hex(*s.buttons[i]) : "-");
    if (s.dpi) {
        std::string codes;
        for (uint16_t c : s.dpi->codes) codes += std::to_string(c) + " ";
        line("dpi", std::to_string(s.dpi->enabledCount) + " levels, current " + std::to_string(s.dpi->currentOrdinal) +
                        ", mask " + std::to_string(s.dpi->enableMask) + ", codes " + codes);
    } else {
        line("dpi", "-");
    }
    std::string colours = "-";
    if (s.dpiColours) {
        colours.clear();
        for (const auto& c : *s.dpiColours) colours += Hex(c) + " | ";
    }
    line("dpi colours", colours);
    line("polling", s.pollingIntervalMs ? std::to_string(*s.pollingIntervalMs) + " ms" : "-");
    line("lighting", s.lighting ? Hex(s.lighting->image) : "-");
    line("lift-off", s.liftOff ? Hex(*s.liftOff) : "-");
    line("debounce", s.debounce ? std::to_string(*s.debounce) : "-");
    line("power", s.power ? std::to_string(s.power->powerDownTime) + " " + std::to_string(s.power->moveLightingMode)
                          : "-");
    line("motion wake-up", s.motionWakeup ? std::to_string(*s.motionWakeup) : "-");
    for (const auto& [index, m] : s.macros)
        line("macro " + std::to_string(index), std::to_string(m.packetsReceived) + " packets, " +
                                                   (m.complete ? "complete, " : "incomplete, ") +
                                                   Hex(m.data.data(), m.data.size()));
    line("factory resets", std::to_string(s.factoryResets));
    line("status requests", std::to_string(s.statusRequests));
    line("valid writes", std::to_string(s.validWrites));
    line("rejected writes", std::to_string(s.rejectedWrites));
    line("sequence breaks", std::to_string(s.sequenceBreaks));
    return t;
}

std::string HidNamePrefix(SimProduct product) {
    return product == SimProduct::A ? "0003:248A:5B2E" : "0003:248A:5B2F";
}

struct UhidMouse::Device {
    int fd = -1;
    SimProduct product = SimProduct::A;
    SimInterface iface = SimInterface::Mouse;
    bool destroyed = false;  // UHID_DESTROY written; the pump closes the fd
};

struct UhidMouse::Product {
    bool plugged = false;
    std::unique_ptr<platform::IHidDevice> feature;
    std::unique_ptr<platform::IHidDevice> input;
    std::thread reader;
    int armAt = 0;
    bool armBefore = false;
    int writes = 0;
};

UhidMouse::UhidMouse(platform::IClock& clock) : clock_(clock), sim_(clock, false, false) {
    products_[0] = std::make_unique<Product>();
    products_[1] = std::make_unique<Product>();
    wake_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    pump_ = std::thread([this] { Pump(); });
}

UhidMouse::~UhidMouse() {
    Unplug(SimProduct::A);
    Unplug(SimProduct::B);
    stop_ = true;
    Wake();
    pump_.join();
    for (auto& d : devices_) ::close(d->fd);
    ::close(wake_);
}

void UhidMouse::Wake() {
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t w = ::write(wake_, &one, sizeof one);
}

bool UhidMouse::Plug(SimProduct product, std::string* error) {
    std::unique_lock<std::mutex> lock(mu_);
    Product& p = *products_[Slot(product)];
    if (p.plugged) return true;
    sim_.Plug(product);
    std::string why;
    p.feature = sim_.Open(platform::SimPath(product, SimInterface::Feature), &why);
    p.input = sim_.Open(platform::SimPath(product, SimInterface::Input), &why);
    const char letter = product == SimProduct::A ? 'A' : 'B';
    // In the order of the mouse's interfaces, so that the node numbers follow it.
    const std::pair<SimInterface, const std::vector<uint8_t>*> parts[] = {
        {SimInterface::Mouse, &kMouseDescriptor},
        {SimInterface::Input, &kInputDescriptor},
        {SimInterface::Feature, &kFeatureDescriptor}};
    int index = 0;
    for (const auto& [iface, descriptor] : parts) {
        const int fd = ::open("/dev/uhid", O_RDWR | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) {
            if (error) *error = std::string("cannot open /dev/uhid: ") + std::strerror(errno);
            return false;
        }
        uhid_event ev{};
        ev.type = UHID_CREATE2;
        std::snprintf(reinterpret_cast<char*>(ev.u.create2.name), sizeof ev.u.create2.name, "Test mouse %c", letter);
        std::snprintf(reinterpret_cast<char*>(ev.u.create2.phys), sizeof ev.u.create2.phys, "uhid-test/%c/input%d",
                      letter, index++);
        ev.u.create2.rd_size = uint16_t(descriptor->size());
        std::copy(descriptor->begin(), descriptor->end(), ev.u.create2.rd_data);
        ev.u.create2.bus = 0x03;  // USB
        ev.u.create2.vendor = platform::kSimVendorId;
        ev.u.create2.product = product == SimProduct::A ? platform::kSimProductA : platform::kSimProductB;
        ev.u.create2.version = 0x0100;
        if (!WriteEvent(fd, ev)) {
            if (error) *error = std::string("UHID_CREATE2 failed: ") + std::strerror(errno);
            ::close(fd);
            return false;
        }
        auto d = std::make_unique<Device>();
        d->fd = fd;
        d->product = product;
        d->iface = iface;
        devices_.push_back(std::move(d));
    }
    p.plugged = true;
    p.armAt = 0;
    // What the sim sends on its input interface goes out to the kernel.
    platform::IHidDevice* input = p.input.get();
    p.reader = std::thread([this, product, input] {
        std::vector<uint8_t> buf(platform::kSimReportLength);
        for (;;) {
            size_t got = 0;
            if (input->Read(buf.data(), buf.size(), &got) != platform::HidReadResult::Report) return;
            std::lock_guard<std::mutex> lock(mu_);
            for (auto& d : devices_)
                if (!d->destroyed && d->product == product && d->iface == SimInterface::Input) {
                    uhid_event ev{};
                    ev.type = UHID_INPUT2;
                    ev.u.input2.size = uint16_t(got);
                    std::copy(buf.begin(), buf.begin() + long(got), ev.u.input2.data);
                    WriteEvent(d->fd, ev);
                }
        }
    });
    Wake();
    return true;
}

void UhidMouse::Unplug(SimProduct product) {
    std::unique_lock<std::mutex> lock(mu_);
    UnplugLocked(lock, product);
}

void UhidMouse::UnplugLocked(std::unique_lock<std::mutex>& lock, SimProduct product) {
    Product& p = *products_[Slot(product)];
    if (!p.plugged) return;
    p.plugged = false;
    unplugAtMs_ = clock_.NowMs();
    // The devices go first, as a cable pulled: the kernel sees the removal
    // before anything else happens. The feature device goes before the
    // others: a hidraw call waiting for its answer holds a lock every hidraw
    // removal needs, and only this device's removal ends the wait (at once;
    // otherwise after the kernel's 5 s report timeout).
    for (SimInterface iface : {SimInterface::Feature, SimInterface::Input, SimInterface::Mouse})
        for (auto& d : devices_)
            if (!d->destroyed && d->product == product && d->iface == iface) {
                uhid_event ev{};
                ev.type = UHID_DESTROY;
                WriteEvent(d->fd, ev);
                d->destroyed = true;
            }
    std::thread reader = std::move(p.reader);
    lock.unlock();
    sim_.Unplug(product);  // the reader's Read returns Gone
    if (reader.joinable()) reader.join();
    lock.lock();
    p.feature.reset();
    p.input.reset();
    Wake();
}

void UhidMouse::UnplugOnWrite(SimProduct product, int n, bool beforeAnswer) {
    std::lock_guard<std::mutex> lock(mu_);
    Product& p = *products_[Slot(product)];
    p.armAt = n;
    p.armBefore = beforeAnswer;
    p.writes = 0;
    armedFired_ = false;
}

void UhidMouse::Pump() {
    for (;;) {
        std::vector<pollfd> fds;
        std::vector<Device*> which;
        {
            std::lock_guard<std::mutex> lock(mu_);
            if (stop_) return;
            for (auto it = devices_.begin(); it != devices_.end();) {
                if ((*it)->destroyed) {
                    ::close((*it)->fd);
                    it = devices_.erase(it);
                } else {
                    fds.push_back({(*it)->fd, POLLIN, 0});
                    which.push_back(it->get());
                    ++it;
                }
            }
        }
        fds.push_back({wake_, POLLIN, 0});
        if (poll(fds.data(), fds.size(), -1) < 0) continue;
        if (fds.back().revents & POLLIN) {
            uint64_t v;
            [[maybe_unused]] ssize_t r = ::read(wake_, &v, sizeof v);
        }
        for (size_t i = 0; i < which.size(); ++i)
            if (fds[i].revents & POLLIN) Handle(*which[i]);
    }
}

void UhidMouse::Handle(Device& d) {
    std::unique_lock<std::mutex> lock(mu_);
    if (d.destroyed) return;
    uhid_event ev{};
    const ssize_t n = ::read(d.fd, &ev, sizeof ev);
    if (n <= 0) return;
    Product& p = *products_[Slot(d.product)];
    const bool feature = d.iface == SimInterface::Feature && p.feature;
    if (ev.type == UHID_SET_REPORT) {
        uhid_event reply{};
        reply.type = UHID_SET_REPORT_REPLY;
        reply.u.set_report_reply.id = ev.u.set_report.id;
        bool fire = false;
        if (feature) {
            p.writes += 1;
            fire = p.armAt > 0 && p.writes == p.armAt;
        }
        if (fire && p.armBefore) {
            armedFired_ = true;
            UnplugLocked(lock, d.product);
            return;
        }
        const bool ok = feature && ev.u.set_report.rtype == UHID_FEATURE_REPORT &&
                        p.feature->SetFeature(ev.u.set_report.data, ev.u.set_report.size);
        reply.u.set_report_reply.err = ok ? 0 : EIO;
        WriteEvent(d.fd, reply);
        if (fire) {
            armedFired_ = true;
            UnplugLocked(lock, d.product);
        }
    } else if (ev.type == UHID_GET_REPORT) {
        uhid_event reply{};
        reply.type = UHID_GET_REPORT_REPLY;
        reply.u.get_report_reply.id = ev.u.get_report.id;
        uint8_t* data = reply.u.get_report_reply.data;
        data[0] = ev.u.get_report.rnum;
        const bool ok = feature && ev.u.get_report.rtype == UHID_FEATURE_REPORT &&
                        p.feature->GetFeature(data, platform::kSimReportLength);
        reply.u.get_report_reply.err = ok ? 0 : EIO;
        reply.u.get_report_reply.size = ok ? uint16_t(platform::kSimReportLength) : 0;
        WriteEvent(d.fd, reply);
    }
    // START, STOP, OPEN, CLOSE and OUTPUT need no answer.
}

std::string UhidMouse::TraceText() const {
    std::string text;
    for (const platform::SimTraceEntry& e : sim_.Trace()) {
        if (e.failed) continue;
        if (e.kind == platform::SimTraceEntry::Kind::FeatureWrite)
            text += "W " + platform::HexBytes(e.bytes.data(), e.bytes.size()) + "\n";
        else if (e.kind == platform::SimTraceEntry::Kind::FeatureRead)
            text += "R " + platform::HexBytes(e.bytes.data(), e.bytes.size()) + "\n";
    }
    return text;
}

std::vector<int64_t> UhidMouse::WriteTimes() const {
    std::vector<int64_t> times;
    for (const platform::SimTraceEntry& e : sim_.Trace())
        if (e.kind == platform::SimTraceEntry::Kind::FeatureWrite && !e.failed) times.push_back(e.timeMs);
    return times;
}

}  // namespace kerneltest
