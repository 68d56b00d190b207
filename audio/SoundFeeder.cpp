#include "audio/SoundFeeder.h"

#include <AL/alext.h>
#include <chrono>

SoundFeeder::SoundFeeder(ALCcontext* context, double intervalSeconds, std::function<void()> pass,
                         bool threaded)
    : context(context), interval(intervalSeconds), pass(std::move(pass)) {
    if (threaded)
        thread = std::thread(&SoundFeeder::run, this);
}

SoundFeeder::~SoundFeeder() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    wakeUp.notify_one();
    if (thread.joinable())
        thread.join();
}

void SoundFeeder::passNow() {
    if (!thread.joinable()) {
        pass();
        return;
    }
    std::unique_lock<std::mutex> lock(mutex);
    const long ticket = ++requested;
    wakeUp.notify_one();
    passed.wait(lock, [this, ticket] { return finished >= ticket || stopping; });
}

void SoundFeeder::run() {
    // A context of this thread's own: the main thread may make another
    // system's current (tests) while this one works.
    auto setThreadContext = reinterpret_cast<PFNALCSETTHREADCONTEXTPROC>(
        alcGetProcAddress(nullptr, "alcSetThreadContext"));
    if (setThreadContext)
        setThreadContext(context);
    const auto due = [this] { return stopping || requested > finished; };
    std::unique_lock<std::mutex> lock(mutex);
    while (!stopping) {
        if (interval > 0)
            wakeUp.wait_for(lock, std::chrono::duration<double>(interval), due);
        else
            wakeUp.wait(lock, due);
        if (stopping)
            break;
        const long serving = requested;
        lock.unlock();
        pass();
        lock.lock();
        finished = serving;
        passed.notify_all();
    }
    if (setThreadContext)
        setThreadContext(nullptr);
}
