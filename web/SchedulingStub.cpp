// The browser build has no threads, so the prefetch thread that asks for a
// batch priority never starts; its call only has to link.
#include <cerrno>
#include <pthread.h>

extern "C" int pthread_setschedparam(pthread_t, int, const struct sched_param*) {
    return ENOSYS;
}
