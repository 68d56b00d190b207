// One real SDL/OpenGL window (under the test X server) for every test.
#include <gtest/gtest.h>

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
    SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    if (!SDL_SetVideoMode(GlContext::kWidth, GlContext::kHeight, 32, SDL_OPENGL)) {
        std::fprintf(stderr, "test context: no GL window: %s\n", SDL_GetError());
        return 1;
    }
    GlContext::reset();
    // Other windows on the X server would take the focus and pause the level: only pushed ones
    // count.
    SDL_SetEventFilter([](const SDL_Event* event) { return int(event->type != SDL_ACTIVEEVENT); });
    // No SDL_Quit: the leak check must still see the GL driver's allocations.
    return RUN_ALL_TESTS();
}
