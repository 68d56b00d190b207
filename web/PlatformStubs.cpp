// Calls the sound layer makes that a browser has nothing behind. They only
// have to link, and answer as a system without the feature would.
#include <cerrno>
#include <cstddef>
#include <pthread.h>

// No threads: the prefetch thread that asks for a batch priority never starts.
extern "C" int pthread_setschedparam(pthread_t, int, const struct sched_param*) {
    return ENOSYS;
}

// No shared libraries, and no ALSA whose messages would need muting.
extern "C" void* dlopen(const char*, int) {
    return nullptr;
}

extern "C" void* dlsym(void*, const char*) {
    return nullptr;
}
