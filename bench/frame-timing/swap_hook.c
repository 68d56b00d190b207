/* Preloaded into the game: records when each frame is presented, without
 * changing the game. TOLVEK_FRAME_LOG names the output file (one
 * CLOCK_REALTIME nanosecond stamp per line; the first line is the stamp at
 * process start). */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#define MAX_FRAMES 200000

static long long stamps[MAX_FRAMES];
static int count;
static long long started;

static long long now_ns(void) {
    struct timespec t;
    clock_gettime(CLOCK_REALTIME, &t);
    return (long long)t.tv_sec * 1000000000LL + t.tv_nsec;
}

__attribute__((constructor)) static void on_start(void) { started = now_ns(); }

__attribute__((destructor)) static void on_exit_write(void) {
    const char* path = getenv("TOLVEK_FRAME_LOG");
    FILE* out = path ? fopen(path, "w") : NULL;
    if (!out)
        return;
    fprintf(out, "%lld\n", started);
    for (int i = 0; i < count; ++i)
        fprintf(out, "%lld\n", stamps[i]);
    fclose(out);
}

void SDL_GL_SwapBuffers(void) {
    static void (*real)(void);
    if (!real)
        real = (void (*)(void))dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers");
    real();
    if (count < MAX_FRAMES)
        stamps[count++] = now_ns();
}
