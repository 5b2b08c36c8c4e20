#include "device/input_listener.h"

#include <vector>

#include "device/device_reports.h"

InputListener::~InputListener() { Stop(); }

void InputListener::Start(std::unique_ptr<platform::IHidDevice> device, size_t reportLength, ChangeCallback onChange,
                          EndCallback onEnd)
{
    Stop();
    device_ = std::move(device);
    reading_ = false;
    platform::IHidDevice* dev = device_.get();
    const size_t length = reportLength < kInputReportMinLength ? kInputReportMinLength : reportLength;
    thread_ = std::thread([this, dev, length, onChange = std::move(onChange), onEnd = std::move(onEnd)] {
        std::vector<uint8_t> buf(length, 0xFF);
        buf[0] = kInputReportId;
        reading_ = true;
        for (;;) {
            size_t got = 0;
            if (dev->Read(buf.data(), buf.size(), &got) != platform::HidReadResult::Report)
                break;
            // Bytes 3 and 4 must have come from this report, not from an
            // earlier longer one left in the buffer.
            if (got >= kInputReportMinLength && buf[0] == kInputReportId && buf[kInputKindAt] == kInputSettingsChanged &&
                onChange)
                onChange(buf[kInputIntervalAt], buf[kInputLevelAt]);
        }
        if (onEnd)
            onEnd();
    });
}

void InputListener::Stop()
{
    if (thread_.joinable()) {
        device_->CancelRead();
        thread_.join();
    }
    device_.reset();
}

void InputListener::Join()
{
    if (thread_.joinable())
        thread_.join();
    device_.reset();
}
