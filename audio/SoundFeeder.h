#pragma once

#include <AL/alc.h>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// The thread that keeps one system's streams fed: it runs the system's pass
// every interval, or only when asked (a loopback mix, which advances only as
// it is rendered). The main thread's frames never wait on it, so a frame
// however late leaves the queues as full as ever.
class SoundFeeder {
public:
    // interval 0: passes only on request. The thread works in `context`
    // without changing the context current on other threads. Without a
    // thread (a browser has none to give), passes run only in passNow().
    SoundFeeder(ALCcontext* context, double intervalSeconds, std::function<void()> pass,
                bool threaded = true);
    ~SoundFeeder();
    SoundFeeder(const SoundFeeder&) = delete;
    SoundFeeder& operator=(const SoundFeeder&) = delete;

    // Returns once a pass begun after this call has finished.
    void passNow();
    bool isThreaded() const { return thread.joinable(); }

private:
    void run();

    ALCcontext* context;
    double interval;
    std::function<void()> pass;
    std::mutex mutex;
    std::condition_variable wakeUp;
    std::condition_variable passed;
    long requested = 0;
    long finished = 0;
    bool stopping = false;
    std::thread thread;
};
