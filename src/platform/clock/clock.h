#pragma once
// Every wait of the program goes through a clock, so that tests run on virtual
// time and never sleep. The real clock is steady time; the virtual one only
// moves when somebody waits on it or advances it.
#include <atomic>
#include <cstdint>

namespace platform {

class IClock {
public:
    virtual ~IClock() = default;
    virtual int64_t NowMs() const = 0;
    // Blocks the calling thread for ms milliseconds of this clock's time.
    virtual void SleepMs(int ms) = 0;
};

class SteadyClock final : public IClock {
public:
    int64_t NowMs() const override;
    void SleepMs(int ms) override;
};

// Sleeping returns at once and moves the clock forward: a paced sequence of
// writes leaves timestamps as far apart as on a real mouse, in no real time.
class VirtualClock final : public IClock {
public:
    int64_t NowMs() const override { return now_.load(); }
    void SleepMs(int ms) override { if (ms > 0) now_.fetch_add(ms); }
    void Advance(int ms) { SleepMs(ms); }
private:
    std::atomic<int64_t> now_{0};
};

}  // namespace platform
