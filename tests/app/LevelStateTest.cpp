#include <SDL/SDL.h>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "app/GameManager.h"
#include "app/LevelState.h"
#include "gameplay/Heros.h"
#include "gameplay/Level.h"
#include "gameplay/TargetGroup.h"
#include "graphics/Collision.h"
#include "support/GlContext.h"
#include "support/HeroFixture.h"
#include "support/LevelFixture.h"
#include "support/ScriptedRandom.h"

namespace {

class NextState : public GameState {
public:
    void handleEvents() override {}
    void enter() override { ++entered; }
    int entered = 0;
};

void pushKey(Uint8 type, SDLKey key) {
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = type;
    event.key.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    SDL_PushEvent(&event);
}

// Runs the test inside a folder laid out like the game's data folder.
class LevelStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        GlContext::reset();
        SDL_Event drain;
        while (SDL_PollEvent(&drain)) {
        }
        previous = std::filesystem::current_path();
        std::filesystem::create_directories(files.dir + "/Levels");
        std::filesystem::copy_file(HeroFixture::writeHeroFile(true),
                                   files.dir + "/Levels/Heros.ini");
        std::filesystem::copy_file(files.levelFile, files.dir + "/Levels/Niveau1.ini");
        std::filesystem::current_path(files.dir);
    }
    void TearDown() override {
        std::filesystem::current_path(previous);
        Collision::clearCollisions();
    }
    void frame() {
        level.handleEvents();
        GlContext::reset();
        if (GameManager::getInstance()->getCurrentState() == &level)
            level.update();
        ScriptedClock::advance(17);
    }

    ScriptedClock clock{5000};
    ScriptedRandom random;
    LevelFixture files;
    std::filesystem::path previous;
    LevelState level;
    NextState credits;
};

} // namespace

TEST_F(LevelStateTest, PlaysFramesInOrderAndHandsOverOnEscape) {
    ASSERT_TRUE(level.init(&credits)) << level.failure();
    GameManager::getInstance()->changeState(&level);
    EXPECT_TRUE(level.isIntroPlaying());
    Heros* hero = level.getHero();

    // The hero starts in the air above the ground and lands exactly on it.
    for (int i = 0; i < 200 && !(hero->getState() == StandRight && hero->isGrounded()); ++i)
        frame();
    EXPECT_EQ(hero->getState(), StandRight);
    EXPECT_EQ(hero->getPosition()->getY(), 20.0f);

    // Right held walks; its release stops. The right Control does not jump.
    pushKey(SDL_KEYDOWN, SDLK_RIGHT);
    frame();
    EXPECT_EQ(hero->getState(), WalkRight);
    const float x = hero->getPosition()->getX();
    frame();
    EXPECT_FLOAT_EQ(hero->getPosition()->getX(), x + 2.5f);
    pushKey(SDL_KEYUP, SDLK_RIGHT);
    pushKey(SDL_KEYDOWN, SDLK_RCTRL);
    frame();
    EXPECT_EQ(hero->getState(), StandRight);

    // Space shoots at the target under the shot point; its release stops filling.
    hero->setPosition(Position(110, 150)); // shot point (130, 120): first target
    pushKey(SDL_KEYDOWN, SDLK_SPACE);
    frame();
    EXPECT_EQ(hero->getState(), ShootRight);
    EXPECT_NE(level.getLevel()->getTargetGroup()->getCurrentTarget(), nullptr);

    // Escape hands over at once; the Space release queued behind it is still ours.
    pushKey(SDL_KEYDOWN, SDLK_ESCAPE);
    pushKey(SDL_KEYUP, SDLK_SPACE);
    frame();
    EXPECT_EQ(GameManager::getInstance()->getCurrentState(), &credits);
    EXPECT_EQ(credits.entered, 1);
    EXPECT_EQ(hero->getState(), StandRight);
    EXPECT_EQ(level.getLevel()->getTargetGroup()->getCurrentTarget(), nullptr);
    EXPECT_FALSE(level.isIntroPlaying());
}

TEST_F(LevelStateTest, TheLoopTrackTakesOverOnceAfterTheIntro) {
    ASSERT_TRUE(level.init(&credits)) << level.failure();
    GameManager::getInstance()->changeState(&level);
    ScriptedClock::advance(LevelState::kIntroLength);
    level.update();
    EXPECT_TRUE(level.isIntroPlaying()); // exactly the length: not yet
    ScriptedClock::advance(1);
    level.update();
    EXPECT_FALSE(level.isIntroPlaying());
    // Window close leaves the level like Escape.
    SDL_Event quit;
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    level.handleEvents();
    EXPECT_EQ(GameManager::getInstance()->getCurrentState(), &credits);
}

TEST_F(LevelStateTest, BrokenContentIsReportedByName) {
    std::filesystem::remove(files.dir + "/Levels/Niveau1.ini");
    EXPECT_FALSE(level.init(&credits));
    EXPECT_EQ(level.failure(), "Levels/Niveau1.ini: cannot open the file");
    LevelState noHero;
    std::filesystem::remove(files.dir + "/Levels/Heros.ini");
    EXPECT_FALSE(noHero.init(&credits));
    EXPECT_EQ(noHero.failure(), "./Levels/Heros.ini: cannot open the file");
}
