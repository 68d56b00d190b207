// CPU time of whole level frames (events, movements, collisions, update and
// drawing, with glFinish so the software renderer's work counts) on the
// shipped level, pacing off; every other frame is recorded as --record does,
// and the cost of recording is the difference between the two halves.
// Run under a display: scripts/with-display build/bench/level_frame [data folder] [frames]
#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL/SDL.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "app/CreditsState.h"
#include "app/GameCheckpoint.h"
#include "app/GameClock.h"
#include "app/GameManager.h"
#include "app/LevelState.h"
#include "replay/DemoRecorder.h"

namespace {

void push(Uint8 type, SDLKey key) {
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = type;
    event.key.keysym.sym = key;
    SDL_PushEvent(&event);
}

// A player who walks back and forth, jumps now and then and sprays.
void script(int frame) {
    const int t = frame % 240;
    if (t == 0)
        push(SDL_KEYDOWN, SDLK_RIGHT);
    if (t == 90)
        push(SDL_KEYUP, SDLK_RIGHT);
    if (t == 100)
        push(SDL_KEYDOWN, SDLK_LCTRL);
    if (t == 140)
        push(SDL_KEYDOWN, SDLK_SPACE);
    if (t == 170)
        push(SDL_KEYUP, SDLK_SPACE);
    if (t == 180)
        push(SDL_KEYDOWN, SDLK_LEFT);
    if (t == 235)
        push(SDL_KEYUP, SDLK_LEFT);
}

void report(const char* what, std::vector<double> values) {
    std::sort(values.begin(), values.end());
    double sum = 0;
    for (double v : values)
        sum += v;
    const size_t n = values.size();
    std::printf("%s over %zu frames: mean %.3f ms, p50 %.3f, p99 %.3f, max %.3f\n", what, n,
                sum / static_cast<double>(n), values[n / 2], values[n * 99 / 100], values.back());
}

} // namespace

int main(int argc, char** argv) {
    const char* data = argc > 1 ? argv[1] : TOLVEK_DATA_DIR;
    const int frames = argc > 2 ? std::atoi(argv[2]) : 3000;
    std::filesystem::current_path(data);
    SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    if (!SDL_SetVideoMode(1024, 768, 32, SDL_OPENGL)) {
        std::fprintf(stderr, "level_frame: no GL window: %s\n", SDL_GetError());
        return 1;
    }
    GameManager::setFrameRate(60);
    glViewport(0, 0, 1024, 768);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, 1024, 0, 768);
    glMatrixMode(GL_MODELVIEW);

    CreditsState credits;
    LevelState level;
    if (!level.init(&credits)) {
        std::fprintf(stderr, "level_frame: %s\n", level.failure().c_str());
        return 1;
    }
    GameManager::getInstance()->changeState(&level);

    DemoRecorder recorder(
        [&level](const std::vector<std::string>& sounds) {
            return GameCheckpoint::of("LevelState", nullptr, &level, sounds);
        },
        GameClock::realNow);
    const std::string demo = std::filesystem::temp_directory_path() / "level_frame.demo";
    recorder.open(demo, "bench", "");
    std::vector<double> ms, cpu, plain, recorded;
    ms.reserve(frames);
    cpu.reserve(frames);
    for (int i = 0; i < frames; ++i) {
        script(i);
        PlayTap::install(i % 2 ? &recorder : nullptr);
        const auto start = std::chrono::steady_clock::now();
        level.handleEvents();
        glClear(GL_COLOR_BUFFER_BIT);
        glLoadIdentity();
        level.update();
        if (i % 2)
            recorder.frameEnded();
        const auto submitted = std::chrono::steady_clock::now();
        glFinish();
        const auto end = std::chrono::steady_clock::now();
        ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        cpu.push_back(std::chrono::duration<double, std::milli>(submitted - start).count());
        (i % 2 ? recorded : plain).push_back(cpu.back());
        SDL_GL_SwapBuffers();
    }
    report("whole frame, rendering finished", ms);
    report("game code and GL submission", cpu);
    report("  of which frames not recorded", plain);
    report("  of which frames recorded", recorded);
    PlayTap::install(nullptr);
    recorder.discard();
    GameManager::getInstance()->clearCurrentState();
    return 0;
}
