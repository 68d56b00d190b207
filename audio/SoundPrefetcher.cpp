#include "audio/SoundPrefetcher.h"

#include <pthread.h>
#include <sched.h>

#include "audio/SoundStream.h"

SoundPrefetcher& SoundPrefetcher::shared() {
    // Shared by every system, so the thread ends with the statics: after
    // main returns, once its current order is done.
    static SoundPrefetcher prefetcher;
    return prefetcher;
}

SoundPrefetcher::SoundPrefetcher() : stopping(false), thread(&SoundPrefetcher::run, this) {}

SoundPrefetcher::~SoundPrefetcher() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    wake.notify_one();
    thread.join();
}

void SoundPrefetcher::order(std::weak_ptr<SoundStream> stream) {
    {
        std::lock_guard<std::mutex> lock(mutex);
        orders.push_back(std::move(stream));
    }
    wake.notify_one();
}

void SoundPrefetcher::waitIdle() {
    std::unique_lock<std::mutex> lock(mutex);
    idle.wait(lock, [this] { return orders.empty() && !working; });
}

void SoundPrefetcher::run() {
    // A batch thread does not preempt the main thread when an order wakes
    // it, which on a busy machine would land its decoding inside the frame.
    const sched_param normal = {};
    pthread_setschedparam(pthread_self(), SCHED_BATCH, &normal);
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        wake.wait(lock, [this] { return stopping || !orders.empty(); });
        if (stopping)
            return;
        std::weak_ptr<SoundStream> next = std::move(orders.front());
        orders.pop_front();
        working = true;
        lock.unlock();
        if (std::shared_ptr<SoundStream> stream = next.lock())
            stream->makeSpares();
        lock.lock();
        working = false;
        if (orders.empty())
            idle.notify_all();
    }
}
