// The browser's entry: the desktop's main, except that the browser calls
// each frame (an animation frame: the display's own pace) instead of the
// game's loop waiting between frames, and the sound layer runs without
// threads. The page learns how the game ended through tolvek_ended().
#include <emscripten.h>
#include <unistd.h>

#include <cstdio>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/GameClock.h"
#include "app/GameManager.h"
#include "audio/SoundSystem.h"

extern "C" void tolvek_ended(int code);

namespace {

// A fast replay plays frames for this long before the page gets its turn.
const unsigned int kFastSliceMs = 30;

Application* application = nullptr;
bool fast = false;

void end(int code) {
    std::fflush(stdout);
    std::fflush(stderr);
    tolvek_ended(code);
}

void frame() {
    const unsigned int sliceStart = GameClock::realNow();
    bool playing = true;
    do
        playing = GameManager::getInstance()->frame();
    while (playing && fast && GameClock::realNow() - sliceStart < kFastSliceMs);
    if (playing)
        return;
    emscripten_cancel_main_loop();
    end(application->close());
}

} // namespace

int main(int argc, char** argv) {
    CommandLine options;
    if (!options.parse(argc, argv)) {
        std::fprintf(stderr, "tolvek: %s\n%s\n", options.error().c_str(), CommandLine::usage());
        end(2);
        return 2;
    }
    if (chdir("/data") != 0) {
        std::perror("tolvek: /data");
        end(1);
        return 1;
    }
    // A page cannot start full screen: a key asks the browser for it (F11).
    options.window = true;
    fast = options.fast;
    SoundSystem::setThreaded(false);
    // It lives as long as the page: the frames run after main has returned.
    application = new Application();
    if (!application->open(options)) {
        end(application->close());
        return 0;
    }
    GameManager::getInstance()->begin(application->firstScreen());
    emscripten_set_main_loop(frame, 0, 0);
    return 0;
}
