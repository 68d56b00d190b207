#include <dlfcn.h>
#include <gtest/gtest.h>

#include "input/GamePad.h"
#include "support/SdlEvent.h"

// A virtual SDL 2 joystick of the type (under sdl12-compat): prints what its buttons become.
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

// A mapped pad keeps its buttons; an unmapped one with few buttons jumps and sprays with the first
// two, with more is read as SDL numbers a common pad; others are dropped (-1). A process each.
TEST(GamePad, EveryPadReachesTheGameInOneLayout) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const auto& [type, buttons, layout] :
         {std::tuple{1, 15, "0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 "},
          {0, 4, "0 2 -1 -1 "},
          {0, 16, "0 1 2 3 9 10 4 6 5 7 8 -1 -1 -1 -1 -1 "}})
        EXPECT_EXIT(std::exit(padButtons(type, buttons)), testing::ExitedWithCode(0),
                    std::string("^") + layout + "$");
}
