#include <filesystem>
#include <gtest/gtest.h>

#include "app/Application.h"
#include "app/GameManager.h"
#include "app/LevelState.h"
#include "gameplay/Heros.h"
#include "gameplay/Level.h"
#include "gameplay/TargetGroup.h"
#include "graphics/Collision.h"
#include "support/GlContext.h"
#include "support/HeroFixture.h"
#include "support/IdleState.h"
#include "support/KeyEvents.h"
#include "support/LevelFixture.h"
#include "support/RecordingSoundSystem.h"
#include "support/ScriptedClock.h"
#include "support/ScriptedRandom.h"

namespace {

using Log = std::vector<std::string>;

// Runs the test inside a folder laid out like the game's data folder.
class LevelStateTest : public testing::Test {
protected:
    void SetUp() override {
        GlContext::reset();
        KeyEvents::drain();
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
    void start() {
        ASSERT_TRUE(level.init(&credits)) << level.failure();
        manager->changeState(&level);
        hero = level.getHero();
    }
    void frame(std::initializer_list<std::pair<Uint8, SDLKey>> keys = {}) {
        for (const auto& key : keys)
            KeyEvents::push(key.first, key.second);
        level.handleEvents();
        GlContext::reset();
        if (manager->getCurrentState() == &level)
            level.update();
        ScriptedClock::advance(17);
    }
    void landAs(HerosState standing) {
        for (int i = 0; i < 300 && !(hero->getState() == standing && hero->isGrounded()); ++i)
            frame();
        ASSERT_EQ(hero->getState(), standing);
    }
    Target* aimed() { return level.getLevel()->getTargetGroup()->getCurrentTarget(); }

    GameManager* manager = GameManager::getInstance();
    ScriptedClock clock{5000};
    ScriptedRandom random;
    RecordingSoundSystem sound;
    LevelFixture files;
    const std::filesystem::path previous = std::filesystem::current_path();
    IdleState credits;
    LevelState level;
    Heros* hero = nullptr;
};

} // namespace

TEST_F(LevelStateTest, KeysDriveTheHeroAndSpaceFiresOnlyWhenTheHeroShoots) {
    start();
    landAs(StandRight);
    EXPECT_EQ(hero->getPosition()->getY(), 20.0f);
    const struct {
        Uint8 type;
        SDLKey key;
        HerosState state;
    } steps[] = {{SDL_KEYDOWN, SDLK_RIGHT, WalkRight},  {SDL_KEYUP, SDLK_RIGHT, StandRight},
                 {SDL_KEYDOWN, SDLK_RCTRL, StandRight}, {SDL_KEYDOWN, SDLK_LEFT, WalkLeft},
                 {SDL_KEYUP, SDLK_LEFT, StandLeft},     {SDL_KEYDOWN, SDLK_LCTRL, AirLeft}};
    for (const auto& step : steps) {
        frame({{step.type, step.key}});
        EXPECT_EQ(hero->getState(), step.state) << step.key;
    }
    // In the air Space is refused, so nothing is fired at the target under the shot point.
    hero->setPosition(Position(110, 150)); // shot point (130, 120): the first target
    frame({{SDL_KEYDOWN, SDLK_SPACE}});
    EXPECT_EQ(aimed(), nullptr);
    frame({{SDL_KEYUP, SDLK_SPACE}});
    landAs(StandLeft);
    hero->setPosition(Position(110, 150));
    frame({{SDL_KEYDOWN, SDLK_SPACE}});
    EXPECT_EQ(hero->getState(), ShootLeft);
    EXPECT_NE(aimed(), nullptr);
    // Escape hands over at once; the Space release queued behind it is still ours.
    frame({{SDL_KEYDOWN, SDLK_ESCAPE}, {SDL_KEYUP, SDLK_SPACE}});
    EXPECT_EQ(manager->getCurrentState(), &credits);
    EXPECT_EQ(hero->getState(), StandLeft);
    EXPECT_EQ(aimed(), nullptr);
}

TEST_F(LevelStateTest, TheIntroPlaysThenTheLoopTakesOverOnceAndMissingContentIsNamed) {
    start();
    const std::string intro = "Sounds/music-ingame-a.ogg", loop = "Sounds/music-ingame-b.ogg";
    EXPECT_EQ(sound.take("music"), Log{"play " + intro});
    ScriptedClock::advance(106718);
    level.update(); // exactly the intro's length: not yet
    EXPECT_EQ(sound.take("music"), Log{});
    ScriptedClock::advance(1);
    level.update();
    level.update();
    EXPECT_EQ(sound.take("music"), (Log{"stop " + intro, "play " + loop}));
    EXPECT_TRUE(sound.loops(loop) && !sound.loops(intro));
    EXPECT_EQ(std::make_pair(sound.volumes[intro], sound.volumes[loop]),
              std::make_pair(0.8f, 0.8f));
    KeyEvents::push(SDL_QUIT); // window close leaves the level like Escape
    level.handleEvents();
    EXPECT_EQ(manager->getCurrentState(), &credits);
    for (const char* file : {"Levels/Niveau1.ini", "Levels/Heros.ini"}) {
        std::filesystem::remove(files.dir + "/" + file);
        LevelState missing;
        EXPECT_FALSE(missing.init(&credits));
        EXPECT_EQ(missing.failure().substr(missing.failure().find('L')),
                  std::string(file) + ": cannot open the file");
    }
    EXPECT_EQ(Application().start(), 1); // no Levels/Viewport.xml
}
