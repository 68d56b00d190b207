// Opens one real SDL/OpenGL window (under the test X server) before any
// test runs, so drawing and matrix-stack code runs against Mesa for real.
#include <SDL/SDL.h>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>

#include "app/GameManager.h"
#include "app/LeakCheckSupport.h"
#include "support/GlContext.h"

namespace {

// Tests switch to states of their own; none may outlive its test.
class ForgetStates : public testing::EmptyTestEventListener {
    void OnTestEnd(const testing::TestInfo&) override {
        GameManager::getInstance()->clearCurrentState();
    }
};

bool onlyListing(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0)
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv) {
    LeakCheckSupport::keepLibrariesLoaded();
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new ForgetStates);
    if (!onlyListing(argc, argv)) {
        if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) {
            std::fprintf(stderr, "test context: SDL_Init failed: %s\n", SDL_GetError());
            return 1;
        }
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        if (!SDL_SetVideoMode(GlContext::kWidth, GlContext::kHeight, 32, SDL_OPENGL)) {
            std::fprintf(stderr, "test context: no GL window: %s\n", SDL_GetError());
            return 1;
        }
        GlContext::reset();
    }
    // No SDL_Quit: closing the display unloads the GL driver before the leak
    // check, which then cannot name the driver's own allocations.
    return RUN_ALL_TESTS();
}
