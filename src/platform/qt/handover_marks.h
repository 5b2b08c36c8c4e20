#pragma once
// Qt's posted-event queue hands an event from the posting thread to the
// receiving one under a lock inside Qt, which a race checker cannot see
// because Qt is not built for it. These marks tell the checker about that
// hand-over; in any other build they are nothing.
#if defined(__SANITIZE_THREAD__)
extern "C" void __tsan_release(void* addr);
extern "C" void __tsan_acquire(void* addr);
#endif

namespace platform {

// After the last write to an object, before Qt takes it to another thread.
inline void MarkHandedOver([[maybe_unused]] void* object)
{
#if defined(__SANITIZE_THREAD__)
    __tsan_release(object);
#endif
}

// On the receiving thread, before the first read of that object.
inline void MarkTakenOver([[maybe_unused]] void* object)
{
#if defined(__SANITIZE_THREAD__)
    __tsan_acquire(object);
#endif
}

}  // namespace platform
