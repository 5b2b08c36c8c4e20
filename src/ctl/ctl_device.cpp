#include "ctl/ctl_device.h"


void CtlHost::PostToWindowThread(std::function<void()> task)
{
    std::lock_guard<std::mutex> lock(mu_);
    tasks_.push_back(std::move(task));
}

void CtlHost::Drain()
{
    for (;;) {
        std::function<void()> task;
        {
            std::lock_guard<std::mutex> lock(mu_);
            if (tasks_.empty())
                return;
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
    }
}

// Counts feature reads and writes and keeps the last error, between the
// device link and the (traced) backend.
class CtlDeviceSession::Watch final : public platform::IHidBackend {
public:
    Watch(platform::IHidBackend& inner, uint16_t onlyProduct)
        : inner_(inner), shared_(std::make_shared<Shared>()), onlyProduct_(onlyProduct)
    {
    }

    // With --product, the other product's interfaces are not there for the link.
    std::vector<platform::HidInterfaceInfo> Enumerate() override
    {
        std::vector<platform::HidInterfaceInfo> all = inner_.Enumerate();
        if (onlyProduct_)
            std::erase_if(all, [this](const platform::HidInterfaceInfo& i) {
                return i.vendorId == kMouseVendorId && i.productId != onlyProduct_;
            });
        return all;
    }
    std::unique_ptr<platform::IHidDevice> Open(const std::string& path, std::string* error) override
    {
        return OpenWithReason(path, error, nullptr);
    }
    std::unique_ptr<platform::IHidDevice> OpenWithReason(const std::string& path, std::string* error,
                                                         platform::HidOpenProblem* problem) override
    {
        std::unique_ptr<platform::IHidDevice> dev = inner_.OpenWithReason(path, error, problem);
        if (!dev)
            return nullptr;
        return std::make_unique<Device>(std::move(dev), shared_);
    }
    void SetChangeCallback(platform::HidChangeCallback callback) override
    {
        inner_.SetChangeCallback(std::move(callback));
    }

    CtlIoCounts Counts() const
    {
        std::lock_guard<std::mutex> lock(shared_->mu);
        return shared_->counts;
    }

private:
    struct Shared {
        mutable std::mutex mu;
        CtlIoCounts counts;
    };
    class Device final : public platform::IHidDevice {
    public:
        Device(std::unique_ptr<platform::IHidDevice> inner, std::shared_ptr<Shared> shared)
            : inner_(std::move(inner)), shared_(std::move(shared))
        {
        }
        bool SetFeature(const uint8_t* data, size_t len) override
        {
            const bool ok = inner_->SetFeature(data, len);
            std::lock_guard<std::mutex> lock(shared_->mu);
            ++shared_->counts.writes;
            if (!ok) {
                ++shared_->counts.failedWrites;
                shared_->counts.lastError = inner_->LastError();
            }
            return ok;
        }
        bool GetFeature(uint8_t* data, size_t len) override
        {
            const bool ok = inner_->GetFeature(data, len);
            std::lock_guard<std::mutex> lock(shared_->mu);
            ++shared_->counts.reads;
            if (ok) {
                shared_->counts.lastRead.assign(data, data + len);
            } else {
                ++shared_->counts.failedReads;
                shared_->counts.lastError = inner_->LastError();
            }
            return ok;
        }
        platform::HidReadResult Read(uint8_t* buf, size_t len, size_t* got) override
        {
            return inner_->Read(buf, len, got);
        }
        void CancelRead() override { inner_->CancelRead(); }
        std::string LastError() const override { return inner_->LastError(); }

    private:
        std::unique_ptr<platform::IHidDevice> inner_;
        std::shared_ptr<Shared> shared_;
    };

    platform::IHidBackend& inner_;
    std::shared_ptr<Shared> shared_;
    uint16_t onlyProduct_ = 0;
};

CtlDeviceSession::CtlDeviceSession(const CtlOptions& options, std::ostream& trace)
{
    // The simulated mouse answers at once; its virtual clock makes the
    // pacing waits return at once too, with the timestamps a real apply has.
    if (options.device == CtlDevice::Sim)
        clock_ = std::make_unique<platform::VirtualClock>();
    else
        clock_ = std::make_unique<platform::SteadyClock>();
    std::ostream* out = &trace;
    backend_ = platform::MakeHidBackend(options, *clock_, [out](const std::string& line) {
        *out << line << '\n';
        out->flush();
    });
    if (backend_.sim) {
        if (options.simFailWrites > 0)
            backend_.sim->FailNextWrites(options.simFailWrites);
        if (options.simFailReads > 0)
            backend_.sim->FailNextReads(options.simFailReads);
    }
    backendError_ = backend_.error.empty() ? "" : "this tevlanctl was " + backend_.error;
    platform::IHidBackend* top = backend_.top;
    if (top) {
        watch_ = std::make_unique<Watch>(*top, options.product.value_or(0));
        link_ = std::make_unique<DeviceLink>(*watch_, *clock_, host_, library_);
    }
}

CtlDeviceSession::~CtlDeviceSession()
{
    // The link first: it stops its listeners and finishes the queued writes
    // while the backends below it still exist.
    link_.reset();
    watch_.reset();
    backend_.traced.reset();
    backend_.real.reset();
    backend_.sim.reset();
}

int CtlDeviceSession::Connect(std::string* message, bool requireFeature)
{
    if (!link_) {
        *message = backendError_;
        return kExitDeviceIo;
    }
    mouse_.clear();
    openErrors_.clear();
    openProblem_ = platform::HidOpenProblem::None;
    for (const platform::HidInterfaceInfo& info : watch_->Enumerate())
        if (info.vendorId == kMouseVendorId && (info.productId == kMouseProductA || info.productId == kMouseProductB))
            mouse_.push_back(info);
    if (mouse_.empty()) {
        *message = "no mouse found: no HID device 248A:5B2E (cable) or 248A:5B2F (receiver) is connected";
        return kExitNoMouse;
    }

    link_->ScanDevices();
    Settle();

    // The scan skips interfaces it cannot open without saying why; ask again
    // for the reason, which names the udev rule when it is a permission problem.
    for (const platform::HidInterfaceInfo& info : mouse_) {
        const bool used = info.path == link_->Product(kProductA).featurePath ||
                          info.path == link_->Product(kProductB).featurePath ||
                          info.path == link_->Product(kProductA).inputPath ||
                          info.path == link_->Product(kProductB).inputPath;
        if (used || (info.featureReportLength != kFeatureReportLength && info.inputReportLength != kFeatureReportLength))
            continue;
        std::string error;
        platform::HidOpenProblem problem = platform::HidOpenProblem::None;
        if (!watch_->OpenWithReason(info.path, &error, &problem)) {
            if (openErrors_.empty()) openProblem_ = problem;
            openErrors_.push_back(error.empty() ? "cannot open " + info.path : error);
        }
    }

    if (!requireFeature || link_->anyPresent)
        return kExitOk;
    if (!openErrors_.empty()) {
        *message = openErrors_.front();
        return kExitDeviceIo;
    }
    *message = "the mouse was found, but none of its interfaces takes the 33-byte feature reports it is set up with";
    return kExitNoMouse;
}

void CtlDeviceSession::Settle()
{
    if (!link_)
        return;
    // Callbacks of the I/O thread may post more work, and that work may
    // queue more I/O: go round until both are quiet.
    do {
        link_->WaitForDeviceIo();
        host_.Drain();
    } while (link_->PendingDeviceIo() != 0);
}

CtlIoCounts CtlDeviceSession::Counts() const { return watch_ ? watch_->Counts() : CtlIoCounts{}; }
