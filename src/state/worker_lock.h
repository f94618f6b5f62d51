// The lock that an owner on the user-interface thread shares with its worker thread, which the
// owner may have to terminate when it does not end. Any thread.
#pragma once

#include <memory>
#include <mutex>

class WorkerLock {
public:
    // The mutex to take; Recover may replace it, so it is asked for at every use.
    std::mutex& Mutex() { return *mutex_; }

    // Called by the owner after it terminated the worker, holding nothing itself. A worker killed
    // inside the lock has left it held for good: the lock goes on with a new mutex, and the old
    // one is left allocated, since a held mutex must not be destroyed.
    void Recover() {
        if (mutex_->try_lock()) {
            mutex_->unlock();
            return;
        }
        static_cast<void>(mutex_.release());
        mutex_ = std::make_unique<std::mutex>();
    }

private:
    std::unique_ptr<std::mutex> mutex_ = std::make_unique<std::mutex>();
};
