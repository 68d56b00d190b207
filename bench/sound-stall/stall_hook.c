/* Preloaded into the game: every TOLVEK_STALL_EVERY seconds (default 5) the
 * buffer swap sleeps TOLVEK_STALL_MS (default 200) before presenting, as a
 * busy desktop or a slow driver would stall the main thread. */
#define _GNU_SOURCE // NOLINT(bugprone-reserved-identifier): glibc's switch for RTLD_NEXT
#include <dlfcn.h>
#include <stdlib.h>
#include <time.h>

static double seconds(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

static double setting(const char* name, double fallback) {
    const char* value = getenv(name);
    return value ? atof(value) : fallback;
}

void SDL_GL_SwapBuffers(void) {
    static void (*real)(void);
    static double next;
    if (!real) {
        real = (void (*)(void))dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers");
        next = seconds() + setting("TOLVEK_STALL_EVERY", 5);
    }
    if (seconds() >= next) {
        const double ms = setting("TOLVEK_STALL_MS", 200);
        const long whole = (long)(ms / 1000);
        struct timespec pause = {(time_t)whole, (long)((ms - 1000.0 * (double)whole) * 1e6)};
        nanosleep(&pause, NULL);
        next = seconds() + setting("TOLVEK_STALL_EVERY", 5);
    }
    real();
}
