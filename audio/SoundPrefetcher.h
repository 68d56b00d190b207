#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

class SoundStream;

// The sound layer's one thread: it opens streams' decoders and decodes past
// their heads ahead of time, so starting a play costs the main thread no
// file work. It touches only its order queue and the streams' spare lists,
// each under its own lock. Shared by every system and joined at exit.
class SoundPrefetcher {
public:
    static SoundPrefetcher& shared();
    // Off: no thread is started and nothing is prefetched; a play opens its
    // decoder when it needs one.
    static void setThreaded(bool value) { threaded = value; }
    static bool isThreaded() { return threaded; }
    ~SoundPrefetcher();
    SoundPrefetcher(const SoundPrefetcher&) = delete;
    SoundPrefetcher& operator=(const SoundPrefetcher&) = delete;

    // A stream gone by the time its turn comes is skipped.
    void order(std::weak_ptr<SoundStream> stream);
    // Returns once every order given so far is done.
    void waitIdle();

private:
    SoundPrefetcher();
    void run();

    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    std::deque<std::weak_ptr<SoundStream>> orders;
    bool working = false;
    bool stopping;
    std::thread thread;
    static inline bool threaded = true;
};
