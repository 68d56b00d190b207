// The floor of a frame on this renderer: a 1024x768 GL window that only
// clears and swaps. Prints "N frames in S s (F fps)" as a fast replay does.
// Usage: scripts/with-display build/bench/clear_swap [frames]
#include <GL/gl.h>
#include <SDL/SDL.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::atoi(argv[1]) : 3000;
    SDL_Init(SDL_INIT_VIDEO);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    if (!SDL_SetVideoMode(1024, 768, 32, SDL_OPENGL)) {
        std::fprintf(stderr, "clear_swap: no GL window: %s\n", SDL_GetError());
        return 1;
    }
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < frames; ++i) {
        glClear(GL_COLOR_BUFFER_BIT);
        SDL_GL_SwapBuffers();
    }
    glFinish();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%d frames in %.2f s (%.1f fps)\n", frames, seconds, frames / seconds);
    SDL_Quit();
    return 0;
}
