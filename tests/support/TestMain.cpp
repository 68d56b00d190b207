// Opens one real SDL/OpenGL window (under the test X server) before any
// test runs, so drawing and matrix-stack code runs against Mesa for real.
#include <SDL/SDL.h>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>

#include "app/GameManager.h"
#include "app/LeakCheckSupport.h"
#include "support/GlContext.h"

// Tests switch to states of their own; none may outlive its test.
class ForgetStates : public testing::EmptyTestEventListener {
    void OnTestEnd(const testing::TestInfo&) override {
        GameManager::getInstance()->clearCurrentState();
    }
};

int main(int argc, char** argv) {
    LeakCheckSupport::keepLibrariesLoaded();
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new ForgetStates);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) == 0)
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    if (!SDL_SetVideoMode(GlContext::kWidth, GlContext::kHeight, 32, SDL_OPENGL)) {
        std::fprintf(stderr, "test context: no GL window: %s\n", SDL_GetError());
        return 1;
    }
    GlContext::reset();
    // No SDL_Quit: closing the display unloads the GL driver before the leak
    // check, which then cannot name the driver's own allocations.
    return RUN_ALL_TESTS();
}
