// How the headless port follows the virtual clock: whoever waits for the clock to move registers
// a function that wakes its waiting threads, and every move of the clock calls it at once, so
// waiting on virtual time costs no real time. Any thread.
#pragma once

#include <functional>

namespace headless {

// Whether the clock is the real one (UseRealClock); a waiter on the real clock polls.
bool RealClockInUse();
// wake is called, on the thread that moves the clock, after every move and every change of the
// choice of clock, until UnwatchClock(key). It may take locks of its own only; a waiter checks
// the clock under the same lock before it waits, so that no move is missed.
void WatchClock(const void* key, std::function<void()> wake);
void UnwatchClock(const void* key);

// Lets every open capture device capture the frames of the time the clock has passed (see
// WaitCaptureIdle); called on the thread that moves the virtual clock with AdvanceTime or SetTime.
void CaptureToNow();

} // namespace headless
