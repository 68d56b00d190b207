#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "input/GamePad.h"
#include "support/SdlEvent.h"

// A pad made as a virtual joystick of SDL 2 (under sdl12-compat), of SDL 2's joystick type:
// prints what its buttons become; 1 when there is no such pad.
static int padButtons(int type, int buttons) {
    void* sdl2 = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_NOLOAD);
    if (!sdl2)
        return 1;
    const auto init = reinterpret_cast<int (*)(Uint32)>(dlsym(sdl2, "SDL_InitSubSystem"));
    const auto attach =
        reinterpret_cast<int (*)(int, int, int, int)>(dlsym(sdl2, "SDL_JoystickAttachVirtual"));
    // SDL 2's joysticks held open, so that the virtual one outlives the pad's second look.
    const bool made = init(SDL_INIT_JOYSTICK) == 0 && attach(type, 2, buttons, 1) >= 0;
    dlclose(sdl2); // sdl12-compat keeps it loaded
    if (!made || !GamePad::open())
        return 1;
    for (int raw = 0; raw < buttons; ++raw) {
        SDL_Event event = sdlEvent(SDL_JOYBUTTONDOWN, static_cast<Uint8>(raw));
        std::fprintf(stderr, "%d ", GamePad::normalize(event) ? event.jbutton.button : -1);
    }
    return 0;
}

// A pad SDL has a mapping for keeps its buttons; one it has none for is read raw: with few
// buttons, the first two jump and spray; with more, as SDL numbers a common pad. A raw button
// beyond those is dropped (-1), never a D-pad code. The pad stays open: each in its own process.
TEST(GamePad, EveryPadReachesTheGameInOneLayout) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const auto& [type, buttons, layout] :
         {std::tuple{1, 15, "0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 "},
          {0, 4, "0 2 -1 -1 "},
          {0, 16, "0 1 2 3 9 10 4 6 5 7 8 -1 -1 -1 -1 -1 "}})
        EXPECT_EXIT(std::exit(padButtons(type, buttons)), testing::ExitedWithCode(0),
                    std::string("^") + layout + "$");
}
