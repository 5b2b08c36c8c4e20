#include "platform/hid/traced_backend.h"

namespace platform {

std::string HexBytes(const uint8_t* data, size_t len) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    s.reserve(len * 3);
    for (size_t i = 0; i < len; ++i) {
        if (i) s += ' ';
        s += digits[data[i] >> 4];
        s += digits[data[i] & 0x0F];
    }
    return s;
}

void TracedBackend::Shared::Line(const std::string& line) {
    std::lock_guard<std::mutex> lock(mu);
    if (sink) sink(line);
}

namespace {

class TracedDevice final : public IHidDevice {
public:
    TracedDevice(std::unique_ptr<IHidDevice> inner, std::shared_ptr<TracedBackend::Shared> shared)
        : inner_(std::move(inner)), shared_(std::move(shared)) {}

    bool SetFeature(const uint8_t* data, size_t len) override {
        const bool ok = inner_->SetFeature(data, len);
        shared_->Line("W " + HexBytes(data, len));
        if (!ok) shared_->Line("E write failed: " + inner_->LastError());
        return ok;
    }

    bool GetFeature(uint8_t* data, size_t len) override {
        const bool ok = inner_->GetFeature(data, len);
        if (ok)
            shared_->Line("R " + HexBytes(data, len));
        else
            shared_->Line("E read failed: " + inner_->LastError());
        return ok;
    }

    HidReadResult Read(uint8_t* buf, size_t len, size_t* got) override {
        size_t n = 0;
        const HidReadResult r = inner_->Read(buf, len, &n);
        if (got) *got = n;
        if (r == HidReadResult::Report)
            shared_->Line("I " + HexBytes(buf, n));
        else if (r == HidReadResult::Gone || r == HidReadResult::Error)
            shared_->Line("E input read ended: " + inner_->LastError());
        return r;
    }

    void CancelRead() override { inner_->CancelRead(); }
    std::string LastError() const override { return inner_->LastError(); }

private:
    std::unique_ptr<IHidDevice> inner_;
    std::shared_ptr<TracedBackend::Shared> shared_;
};

}  // namespace

TracedBackend::TracedBackend(IHidBackend& inner, TraceSink sink)
    : inner_(inner), shared_(std::make_shared<Shared>()) {
    shared_->sink = std::move(sink);
}

std::vector<HidInterfaceInfo> TracedBackend::Enumerate() { return inner_.Enumerate(); }

std::unique_ptr<IHidDevice> TracedBackend::Open(const std::string& path, std::string* error) {
    return OpenWithReason(path, error, nullptr);
}

std::unique_ptr<IHidDevice> TracedBackend::OpenWithReason(const std::string& path, std::string* error,
                                                          HidOpenProblem* problem) {
    std::unique_ptr<IHidDevice> dev = inner_.OpenWithReason(path, error, problem);
    if (!dev) return nullptr;
    return std::make_unique<TracedDevice>(std::move(dev), shared_);
}

void TracedBackend::SetChangeCallback(HidChangeCallback callback) { inner_.SetChangeCallback(std::move(callback)); }

}  // namespace platform
