#include "platform/sim/sim_mouse.h"

#include "platform/sim/sim_protocol.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <set>

namespace platform {
namespace {

constexpr size_t kBootMouseReportLength = 5;  // buttons, x, y, wheel + the id byte (0, unnumbered)

int Slot(SimProduct p) { return p == SimProduct::A ? 0 : 1; }
char Letter(SimProduct p) { return p == SimProduct::A ? 'A' : 'B'; }

const char* InterfaceName(SimInterface i) {
    switch (i) {
    case SimInterface::Mouse: return "mouse";
    case SimInterface::Input: return "input";
    case SimInterface::Feature: return "feature";
    }
    return "?";
}

bool ParsePath(const std::string& path, SimProduct* product, SimInterface* iface) {
    for (SimProduct p : {SimProduct::A, SimProduct::B})
        for (SimInterface i : {SimInterface::Mouse, SimInterface::Input, SimInterface::Feature})
            if (path == SimPath(p, i)) {
                *product = p;
                *iface = i;
                return true;
            }
    return false;
}

}  // namespace

class SimHandle;

std::string SimPath(SimProduct product, SimInterface iface) {
    return std::string("sim:") + Letter(product) + ":" + InterfaceName(iface);
}

// Everything the sim and its handles share, under one mutex. Handles hold the
// core by shared_ptr, so a handle outliving the SimMouse object stays safe.
struct SimMouse::Core {
    explicit Core(IClock& c) : clock(c) {}
    IClock& clock;
    mutable std::mutex mu;
    mutable std::condition_variable cv;
    bool plugged[2] = {false, false};
    // Bumped by every unplug: a handle opened under an older generation is dead.
    int generation[2] = {0, 0};
    int blockedReaders[2] = {0, 0};
    SimDeviceState state;
    SimStatus status;
    int emptyAnswers = 0;
    std::optional<std::vector<uint8_t>> rawAnswer;
    std::vector<uint8_t> answer = BuildStatusAnswer(SimStatus{}, 0, false);
    int failNextWrites = 0;
    bool failAllWrites = false;
    int failNextReads = 0;
    std::vector<SimTraceEntry> trace;
    HidChangeCallback callback;
    std::set<SimHandle*> handles;

    void Record(SimTraceEntry::Kind kind, SimProduct p, SimInterface i, const uint8_t* data, size_t len,
                bool failed, bool valid, std::string problem) {
        SimTraceEntry e;
        e.timeMs = clock.NowMs();
        e.kind = kind;
        e.product = p;
        e.iface = i;
        e.bytes.assign(data, data + len);
        e.failed = failed;
        e.valid = valid;
        e.problem = std::move(problem);
        trace.push_back(std::move(e));
    }

    bool Deliver(SimProduct p, SimInterface i, const std::vector<uint8_t>& bytes);
};

// One open interface of the simulated mouse.
class SimHandle final : public IHidDevice {
public:
    SimHandle(std::shared_ptr<SimMouse::Core> core, SimProduct p, SimInterface i)
        : core_(std::move(core)), product_(p), iface_(i) {
        // The caller holds the lock.
        generation_ = core_->generation[Slot(p)];
        core_->handles.insert(this);
    }
    ~SimHandle() override {
        std::lock_guard<std::mutex> lock(core_->mu);
        core_->handles.erase(this);
    }

    bool SetFeature(const uint8_t* data, size_t len) override {
        std::lock_guard<std::mutex> lock(core_->mu);
        SimMouse::Core& c = *core_;
        std::string failure;
        if (Dead())
            failure = "the mouse was unplugged";
        else if (iface_ != SimInterface::Feature)
            failure = "this interface has no feature reports";
        else if (c.failAllWrites)
            failure = "write failed (simulated)";
        else if (c.failNextWrites > 0) {
            --c.failNextWrites;
            failure = "write failed (simulated)";
        }
        if (!failure.empty()) {
            c.Record(SimTraceEntry::Kind::FeatureWrite, product_, iface_, data, data ? len : 0, true, false, failure);
            lastError_ = failure;
            return false;
        }
        if (len > kSimSequenceAt && data[0] == 0x0C) {
            const uint8_t sequence = data[kSimSequenceAt];
            if (c.state.lastSequence && sequence != uint8_t(*c.state.lastSequence + 1)) c.state.sequenceBreaks += 1;
            c.state.lastSequence = sequence;
        }
        std::string problem = CheckFeatureFraming(data, len);
        if (problem.empty()) problem = ApplyFeatureReport(c.state, data);
        const bool valid = problem.empty();
        if (valid) {
            c.state.validWrites += 1;
            if (data[kSimCommandAt] == 0x20) {
                const bool withData = c.emptyAnswers == 0;
                if (!withData) --c.emptyAnswers;
                c.answer = c.rawAnswer ? *c.rawAnswer : BuildStatusAnswer(c.status, data[kSimSequenceAt], withData);
            }
        } else {
            c.state.rejectedWrites += 1;
        }
        c.Record(SimTraceEntry::Kind::FeatureWrite, product_, iface_, data, data ? len : 0, false, valid,
                 std::move(problem));
        // The mouse acknowledges a malformed report like any other.
        return true;
    }

    bool GetFeature(uint8_t* data, size_t len) override {
        std::lock_guard<std::mutex> lock(core_->mu);
        SimMouse::Core& c = *core_;
        std::string failure;
        if (Dead())
            failure = "the mouse was unplugged";
        else if (iface_ != SimInterface::Feature)
            failure = "this interface has no feature reports";
        else if (data == nullptr || len == 0 || data[0] != 0x0C)
            failure = "no feature report with that id";
        else if (c.failNextReads > 0) {
            --c.failNextReads;
            failure = "read failed (simulated)";
        }
        if (!failure.empty()) {
            c.Record(SimTraceEntry::Kind::FeatureRead, product_, iface_, nullptr, 0, true, true, failure);
            lastError_ = failure;
            return false;
        }
        const size_t n = std::min(len, c.answer.size());
        std::copy(c.answer.begin(), c.answer.begin() + long(n), data);
        c.Record(SimTraceEntry::Kind::FeatureRead, product_, iface_, data, n, false, true, {});
        return true;
    }

    HidReadResult Read(uint8_t* buf, size_t len, size_t* got) override {
        std::unique_lock<std::mutex> lock(core_->mu);
        SimMouse::Core& c = *core_;
        if (got) *got = 0;
        c.blockedReaders[Slot(product_)] += 1;
        c.cv.notify_all();
        c.cv.wait(lock, [&] { return cancelled_ || Dead() || !queue_.empty(); });
        c.blockedReaders[Slot(product_)] -= 1;
        if (cancelled_) return HidReadResult::Cancelled;
        if (Dead()) {
            lastError_ = "the mouse was unplugged";
            return HidReadResult::Gone;
        }
        std::vector<uint8_t> report = std::move(queue_.front());
        queue_.pop_front();
        const size_t n = std::min(len, report.size());
        std::copy(report.begin(), report.begin() + long(n), buf);
        if (got) *got = n;
        return HidReadResult::Report;
    }

    void CancelRead() override {
        std::lock_guard<std::mutex> lock(core_->mu);
        cancelled_ = true;
        core_->cv.notify_all();
    }

    std::string LastError() const override {
        std::lock_guard<std::mutex> lock(core_->mu);
        return lastError_;
    }

    // Called with the lock held.
    bool Dead() const {
        return !core_->plugged[Slot(product_)] || core_->generation[Slot(product_)] != generation_;
    }
    SimProduct product() const { return product_; }
    SimInterface iface() const { return iface_; }
    void Push(const std::vector<uint8_t>& r) { queue_.push_back(r); }

private:
    std::shared_ptr<SimMouse::Core> core_;
    SimProduct product_;
    SimInterface iface_;
    int generation_ = 0;
    // Once cancelled a handle stays cancelled: a cancel that comes just before
    // the reader blocks must not be lost.
    bool cancelled_ = false;
    std::deque<std::vector<uint8_t>> queue_;
    std::string lastError_;
};

bool SimMouse::Core::Deliver(SimProduct p, SimInterface i, const std::vector<uint8_t>& bytes) {
    if (!plugged[Slot(p)]) {
        Record(SimTraceEntry::Kind::Input, p, i, bytes.data(), bytes.size(), true, true, "the mouse is unplugged");
        return false;
    }
    int readers = 0;
    for (SimHandle* h : handles)
        if (h->product() == p && h->iface() == i && !h->Dead()) {
            h->Push(bytes);
            ++readers;
        }
    Record(SimTraceEntry::Kind::Input, p, i, bytes.data(), bytes.size(), false, true,
           readers == 0 ? "nobody was reading" : "");
    cv.notify_all();
    return true;
}

SimMouse::SimMouse(IClock& clock, bool presentA, bool presentB) : core_(std::make_shared<Core>(clock)) {
    core_->plugged[0] = presentA;
    core_->plugged[1] = presentB;
}

SimMouse::~SimMouse() {
    std::lock_guard<std::mutex> lock(core_->mu);
    core_->callback = nullptr;
}

std::vector<HidInterfaceInfo> SimMouse::Enumerate() {
    std::lock_guard<std::mutex> lock(core_->mu);
    std::vector<HidInterfaceInfo> list;
    for (SimProduct p : {SimProduct::A, SimProduct::B}) {
        if (!core_->plugged[Slot(p)]) continue;
        const uint16_t product = p == SimProduct::A ? kSimProductA : kSimProductB;
        list.push_back({SimPath(p, SimInterface::Mouse), kSimVendorId, product, 0x0001, 0x0002,
                        uint16_t(kBootMouseReportLength), 0});
        list.push_back({SimPath(p, SimInterface::Input), kSimVendorId, product, 0xFF00, 0x0001,
                        uint16_t(kSimReportLength), 0});
        list.push_back({SimPath(p, SimInterface::Feature), kSimVendorId, product, 0xFF00, 0x0002, 0,
                        uint16_t(kSimReportLength)});
    }
    return list;
}

std::unique_ptr<IHidDevice> SimMouse::Open(const std::string& path, std::string* error) {
    SimProduct p;
    SimInterface i;
    if (!ParsePath(path, &p, &i)) {
        if (error) *error = "No such device: " + path;
        return nullptr;
    }
    std::lock_guard<std::mutex> lock(core_->mu);
    if (!core_->plugged[Slot(p)]) {
        if (error) *error = "The mouse is not connected: " + path;
        return nullptr;
    }
    return std::make_unique<SimHandle>(core_, p, i);
}

void SimMouse::SetChangeCallback(HidChangeCallback callback) {
    std::lock_guard<std::mutex> lock(core_->mu);
    core_->callback = std::move(callback);
}

namespace {
void Notify(const HidChangeCallback& cb, SimProduct p, bool arrived) {
    if (!cb) return;
    for (SimInterface i : {SimInterface::Mouse, SimInterface::Input, SimInterface::Feature})
        cb(arrived, SimPath(p, i));
}
}  // namespace

void SimMouse::Plug(SimProduct product) {
    HidChangeCallback cb;
    {
        std::lock_guard<std::mutex> lock(core_->mu);
        if (core_->plugged[Slot(product)]) return;
        core_->plugged[Slot(product)] = true;
        cb = core_->callback;
    }
    Notify(cb, product, true);
}

void SimMouse::Unplug(SimProduct product) {
    HidChangeCallback cb;
    {
        std::lock_guard<std::mutex> lock(core_->mu);
        if (!core_->plugged[Slot(product)]) return;
        core_->plugged[Slot(product)] = false;
        core_->generation[Slot(product)] += 1;
        core_->cv.notify_all();
        cb = core_->callback;
    }
    Notify(cb, product, false);
}

bool SimMouse::IsPlugged(SimProduct product) const {
    std::lock_guard<std::mutex> lock(core_->mu);
    return core_->plugged[Slot(product)];
}

void SimMouse::SetStatus(const SimStatus& status) {
    std::lock_guard<std::mutex> lock(core_->mu);
    core_->status = status;
}

SimStatus SimMouse::Status() const {
    std::lock_guard<std::mutex> lock(core_->mu);
    return core_->status;
}

void SimMouse::AnswerEmptyStatus(int n) {
    std::lock_guard<std::mutex> lock(core_->mu);
    core_->emptyAnswers = n < 0 ? 0 : n;
}

void SimMouse::SetRawStatusAnswer(std::optional<std::vector<uint8_t>> answer) {
    std::lock_guard<std::mutex> lock(core_->mu);
    if (answer) answer->resize(kSimReportLength, 0);
    core_->rawAnswer = std::move(answer);
}

bool SimMouse::SendInputReport(SimProduct product, SimInterface iface, const std::vector<uint8_t>& bytes) {
    std::lock_guard<std::mutex> lock(core_->mu);
    return core_->Deliver(product, iface, bytes);
}

bool SimMouse::ReportDeviceChange(SimProduct product, uint8_t intervalMs, uint8_t dpiOrdinal) {
    return SendInputReport(product, SimInterface::Input, BuildDeviceChangeReport(intervalMs, dpiOrdinal));
}

bool SimMouse::PressDpiButton(SimProduct product) {
    std::lock_guard<std::mutex> lock(core_->mu);
    SimDeviceState& s = core_->state;
    uint8_t ordinal = 1;
    if (s.dpi) {
        const uint8_t count = s.dpi->enabledCount ? s.dpi->enabledCount : 1;
        const uint8_t current = s.dpi->currentOrdinal ? s.dpi->currentOrdinal : 1;
        ordinal = uint8_t(current % count + 1);
        s.dpi->currentOrdinal = ordinal;
    }
    const uint8_t interval = s.pollingIntervalMs.value_or(1);
    return core_->Deliver(product, SimInterface::Input, BuildDeviceChangeReport(interval, ordinal));
}

bool SimMouse::ChangePolling(SimProduct product, uint8_t intervalMs) {
    std::lock_guard<std::mutex> lock(core_->mu);
    SimDeviceState& s = core_->state;
    s.pollingIntervalMs = intervalMs;
    const uint8_t ordinal = s.dpi && s.dpi->currentOrdinal ? s.dpi->currentOrdinal : 1;
    return core_->Deliver(product, SimInterface::Input, BuildDeviceChangeReport(intervalMs, ordinal));
}

bool SimMouse::WaitForReaders(SimProduct product, int readers, int timeoutMs) const {
    std::unique_lock<std::mutex> lock(core_->mu);
    return core_->cv.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return core_->blockedReaders[Slot(product)] >= readers; });
}

void SimMouse::FailNextWrites(int n) {
    std::lock_guard<std::mutex> lock(core_->mu);
    core_->failNextWrites = n < 0 ? 0 : n;
}

void SimMouse::FailAllWrites(bool fail) {
    std::lock_guard<std::mutex> lock(core_->mu);
    core_->failAllWrites = fail;
}

void SimMouse::FailNextReads(int n) {
    std::lock_guard<std::mutex> lock(core_->mu);
    core_->failNextReads = n < 0 ? 0 : n;
}

SimDeviceState SimMouse::State() const {
    std::lock_guard<std::mutex> lock(core_->mu);
    return core_->state;
}

std::vector<SimTraceEntry> SimMouse::Trace() const {
    std::lock_guard<std::mutex> lock(core_->mu);
    return core_->trace;
}

std::vector<std::vector<uint8_t>> SimMouse::AcceptedWrites() const {
    std::lock_guard<std::mutex> lock(core_->mu);
    std::vector<std::vector<uint8_t>> out;
    for (const SimTraceEntry& e : core_->trace)
        if (e.kind == SimTraceEntry::Kind::FeatureWrite && !e.failed && e.valid) out.push_back(e.bytes);
    return out;
}

void SimMouse::ClearTrace() {
    std::lock_guard<std::mutex> lock(core_->mu);
    core_->trace.clear();
}

}  // namespace platform
