/* Preloaded into the game: records when each frame is presented, without
 * changing the game, and where its time went. TOLVEK_FRAME_LOG names the
 * output file: the first line is the CLOCK_REALTIME nanosecond stamp at
 * process start; then one line per presented frame with five stamps: the
 * frame's first glClear, the swap's start and end, and the start and end of
 * the SDL_Delay after it (0 when the frame had no wait), plus the delay
 * asked for in ms. */
#define _GNU_SOURCE // NOLINT(bugprone-reserved-identifier): glibc's switch for RTLD_NEXT
#include <dlfcn.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#define MAX_FRAMES 200000

struct frame {
    long long clear, swapStart, swapEnd, delayStart, delayEnd;
    unsigned int asked;
};

static struct frame frames[MAX_FRAMES];
static int count;
static long long started;
static long long pendingClear;

static long long now_ns(void) {
    struct timespec t;
    clock_gettime(CLOCK_REALTIME, &t);
    return (long long)t.tv_sec * 1000000000LL + t.tv_nsec;
}

static void* next_symbol(const char* name) {
    return dlsym(RTLD_NEXT, name);
}

__attribute__((constructor)) static void on_start(void) {
    started = now_ns();
}

__attribute__((destructor)) static void on_exit_write(void) {
    const char* path = getenv("TOLVEK_FRAME_LOG");
    FILE* out = path ? fopen(path, "w") : NULL;
    if (!out)
        return;
    fprintf(out, "%lld\n", started);
    for (int i = 0; i < count; ++i) {
        const struct frame* f = &frames[i];
        fprintf(out, "%lld %lld %lld %lld %lld %u\n", f->clear, f->swapStart, f->swapEnd,
                f->delayStart, f->delayEnd, f->asked);
    }
    fclose(out);
}

void glClear(unsigned int mask) {
    static void (*real)(unsigned int);
    if (!real)
        real = (void (*)(unsigned int))next_symbol("glClear");
    if (!pendingClear)
        pendingClear = now_ns();
    real(mask);
}

void SDL_GL_SwapBuffers(void) {
    static void (*real)(void);
    if (!real)
        real = (void (*)(void))next_symbol("SDL_GL_SwapBuffers");
    const long long start = now_ns();
    real();
    if (count < MAX_FRAMES) {
        struct frame* f = &frames[count++];
        f->clear = pendingClear ? pendingClear : start;
        f->swapStart = start;
        f->swapEnd = now_ns();
    }
    pendingClear = 0;
}

void SDL_Delay(uint32_t ms) {
    static void (*real)(uint32_t);
    if (!real)
        real = (void (*)(uint32_t))next_symbol("SDL_Delay");
    const long long start = now_ns();
    real(ms);
    if (count > 0 && count <= MAX_FRAMES && !frames[count - 1].delayStart) {
        struct frame* f = &frames[count - 1];
        f->delayStart = start;
        f->delayEnd = now_ns();
        f->asked = ms;
    }
}
