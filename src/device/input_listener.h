#pragma once
// One thread that blocks in reads of a product's 33-byte input interface and
// hands every "settings changed on the mouse" report (05 06 ...) to a callback.
// It touches nothing else: the callbacks post to the window thread, which owns
// the profile records and the last-sent images.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

#include "platform/hid/hid_transport.h"

class InputListener {
public:
    // Both run on the listener thread.
    using ChangeCallback = std::function<void(uint8_t intervalMs, uint8_t levelOrdinal)>;
    using EndCallback = std::function<void()>;

    InputListener() = default;
    ~InputListener();
    InputListener(const InputListener&) = delete;
    InputListener& operator=(const InputListener&) = delete;

    // Starts reading `device` (an open input interface whose reports are
    // `reportLength` bytes). onEnd runs once, as the last thing the thread
    // does, when a read fails or the read is cancelled.
    void Start(std::unique_ptr<platform::IHidDevice> device, size_t reportLength, ChangeCallback onChange,
               EndCallback onEnd);
    // Cancels a blocked read and waits for the thread. Safe when not started.
    void Stop();
    // Waits for a thread that has ended by itself (after its onEnd).
    void Join();
    bool Started() const { return thread_.joinable(); }
    // Set once the first read is under way.
    bool Reading() const { return reading_.load(); }

private:
    std::unique_ptr<platform::IHidDevice> device_;
    std::atomic<bool> reading_{false};
    std::thread thread_;
};
