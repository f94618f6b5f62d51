// How the headless port follows the virtual clock: a thread that waits for the clock to move
// registers the lock and condition it waits with, and every move of the clock wakes it at once,
// so waiting on virtual time costs no real time. Any thread.
#pragma once

#include <condition_variable>
#include <mutex>

namespace headless {

// Whether the clock is the real one (UseRealClock); a waiter on the real clock polls.
bool RealClockInUse();
// Every change of the clock or of the choice of clock then notifies changed with lock held. A
// waiter checks the clock under lock before it waits, so no move is missed.
void WatchClock(std::mutex& lock, std::condition_variable& changed);
void UnwatchClock(std::condition_variable& changed);

// Lets every open capture device capture the frames of the time the clock has passed (see
// WaitCaptureIdle); called on the thread that moves the virtual clock with AdvanceTime or SetTime.
void CaptureToNow();

} // namespace headless
