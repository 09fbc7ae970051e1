#include "platform/clock_win32.h"

#include <windows.h>
#include <timeapi.h>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace {
long long Counter() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}
}  // namespace

PreciseSleeper::PreciseSleeper() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    frequency_ = frequency.QuadPart;
    // High-resolution timers exist from Windows 10 1803; older systems refuse the flag.
    timer_.reset(CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS));
    highResolution_ = static_cast<bool>(timer_);
    if (!timer_) timer_.reset(CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS));
    stopped_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
}

PreciseSleeper::~PreciseSleeper() {
    if (periodRaised_) timeEndPeriod(1);
}

void PreciseSleeper::BeginPrecise() {
    // A normal timer follows the system tick (15.6 ms by default): raise it only while needed.
    if (preciseDepth_++ == 0 && !highResolution_) periodRaised_ = timeBeginPeriod(1) == TIMERR_NOERROR;
}

void PreciseSleeper::EndPrecise() {
    if (preciseDepth_ == 0) return;
    if (--preciseDepth_ == 0 && periodRaised_) {
        timeEndPeriod(1);
        periodRaised_ = false;
    }
}

bool PreciseSleeper::WaitMs(std::uint32_t ms, std::stop_token stop) {
    if (stop.stop_requested()) return false;
    if (ms == 0) return true;
    const long long start = Counter();
    const long long end = start + static_cast<long long>(ms) * frequency_ / 1000;
    // The timer wakes late by an amount that depends on the system (a fraction of a millisecond
    // with a high-resolution timer on Windows, a few under Wine): wait until that much before
    // the end, then spin on the counter. The lateness is learnt from the waits themselves.
    const long long waitUs = static_cast<long long>(ms) * 1000 - static_cast<long long>(lateUs_) - 300;
    if (waitUs > 0) {
        ResetEvent(stopped_.get());
        const std::stop_callback wake(stop, [this] { SetEvent(stopped_.get()); });
        bool waited = false;
        if (timer_) {
            LARGE_INTEGER due;
            due.QuadPart = -waitUs * 10;  // relative, in 100 ns units
            if (SetWaitableTimer(timer_.get(), &due, 0, nullptr, nullptr, FALSE)) {
                const HANDLE either[] = {timer_.get(), stopped_.get()};
                const DWORD woke = WaitForMultipleObjects(2, either, FALSE, INFINITE);
                if (woke == WAIT_OBJECT_0 + 1) CancelWaitableTimer(timer_.get());
                waited = woke == WAIT_OBJECT_0;
            }
        }
        if (!waited && !stop.stop_requested()) {
            WaitForSingleObject(stopped_.get(), static_cast<DWORD>(waitUs / 1000));
        }
        if (stop.stop_requested()) return false;
        const double late = static_cast<double>(Counter() - start) * 1e6 / static_cast<double>(frequency_) -
                            static_cast<double>(waitUs);
        // Rise at once after a late wake, come down slowly.
        lateUs_ = late > lateUs_ ? late : 0.95 * lateUs_ + 0.05 * late;
        if (lateUs_ < kMinLateUs) lateUs_ = kMinLateUs;
        if (lateUs_ > kMaxLateUs) lateUs_ = kMaxLateUs;
    }
    while (Counter() < end) {
        if (stop.stop_requested()) return false;
        YieldProcessor();
    }
    return true;
}
