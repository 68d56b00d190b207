#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>

#include "app/GameClock.h"
#include "app/GamePad.h"
#include "app/LevelState.h"
#include "gameplay/HazardSpot.h"
#include "gameplay/Heros.h"
#include "gameplay/Level.h"
#include "gameplay/Plateforme.h"
#include "gameplay/SautMovement.h"
#include "gameplay/Target.h"
#include "gameplay/TargetGroup.h"
#include "gameplay/TranslationMovement.h"
#include "graphics/BitmapPicture.h"
#include "graphics/Collision.h"
#include "graphics/Graphic.h"
#include "graphics/Shape.h"
#include "graphics/StripedAnimatedBitmapPicture.h"
#include "support/HeroFixture.h"
#include "support/LevelFixture.h"
#include "support/PadEvent.h"
#include "support/ScreenTest.h"
#include "support/ScriptedClock.h"
#include "support/ScriptedRandom.h"

namespace {

using GlContext::colours;
using Log = std::vector<std::string>;
const char* const kNames[] = {"StandLeft", "StandRight", "WalkLeft",   "WalkRight", "AirLeft",
                              "AirRight",  "ShootLeft",  "ShootRight", "HitLeft",   "HitRight"};

// The level screen, entered, in a folder laid out like the data folder: the hero (from a CRLF
// file) in LevelFixture's level, whose two targets overlap.
class World : public ScreenTest {
protected:
    void SetUp() override {
        HazardSpot::resetSoundLatch();
        std::filesystem::create_directories(files.dir + "/Levels");
        std::filesystem::copy_file(HeroFixture::writeHeroFile(true),
                                   files.dir + "/Levels/Heros.ini");
        std::filesystem::copy_file(files.levelFile, files.dir + "/Levels/Niveau1.ini");
        std::filesystem::current_path(files.dir);
        ASSERT_TRUE(screen.init(&credits)) << screen.failure();
        manager->changeState(&screen);
        hero = screen.getHero();
        level = screen.getLevel();
        // Far from the hero, for hit() only: waves drawn from zeros strike the first five spots.
        projectile(5)->setVisible(true, &screen);
    }
    void TearDown() override {
        std::filesystem::current_path(previous);
        Collision::clearCollisions();
    }
    // One frame of the screen, 17 ms long.
    void step(std::initializer_list<SDLKey> pressed = {}) {
        frame(screen, pressed);
        ScriptedClock::advance(17);
    }
    void land() {
        for (int i = 0; i < 400 && !(hero->isGrounded() && hero->getState() <= WalkRight); ++i)
            step();
    }
    // "<state> x,y" and whether the hero stands on something.
    std::string pose() {
        std::ostringstream text;
        text << kNames[hero->getState()] << " " << hero->getPosition()->getX() << ","
             << hero->getPosition()->getY() << (hero->isGrounded() ? " grounded" : "");
        return text.str();
    }
    // The hero's sounds since the last call (the level's are under Sounds/).
    Log heard() {
        Log mine;
        for (const std::string& entry : sound.take())
            if (entry.find("Sounds/") == std::string::npos)
                mine.push_back(entry);
        return mine;
    }
    void place(float x, float y) { hero->setPosition(Position(x, y)); }
    void hit(Heros& h) { h.onCollision(projectile(5), {0, 0}, {0, 0}, {0, 0}, {0, 0}); }
    Projectile* projectile(int i) { return level->getHazardSpots()[i]->getProjectile(); }
    std::string spots() {
        std::string s;
        for (HazardSpot* spot : level->getHazardSpots())
            s += spot->isIdle() ? '.' : spot->isWarning() ? 'w' : 'D';
        return s;
    }
    Target* target(int i) {
        return static_cast<Target*>(*std::next(level->getTargetGroup()->getChildren().begin(), i));
    }
    Target* aimed() { return level->getTargetGroup()->getCurrentTarget(); }

    ScriptedClock clock{1000};
    ScriptedRandom random;
    LevelFixture files;
    const std::filesystem::path previous = std::filesystem::current_path();
    LevelState screen;
    Heros* hero = nullptr;
    Level* level = nullptr;
};

} // namespace

TEST_F(World, TheHeroFileIsReadInOrderAndKeysMoveBetweenThePosesAndAHitKeepsTheShape) {
    EXPECT_EQ(pose(), "StandRight 40,100");
    EXPECT_EQ(hero->getStateShape(StandRight)->getPolygon(0).getPoints(),
              (std::list<Position>{{0, 0}, {16, 0}, {16, 32}, {0, 32}, {0, 0}})); // closed
    for (int s = StandLeft; s <= HitRight; ++s) {
        StripedAnimatedBitmapPicture* picture = hero->getStatePicture(HerosState(s));
        const HeroFixture::Animation& a = HeroFixture::kAnimations[s];
        EXPECT_EQ(picture->getAnimationSpeed(), a.speed) << s;
        // Only the left shooting pose is placed by its pair; the others are anchored.
        const Position pair(static_cast<float>(a.ax), static_cast<float>(a.ay));
        GraphicProperties& p = picture->getProperties();
        EXPECT_EQ(s == ShootLeft ? p.getPosition() : p.getAnchor(), pair) << s;
        EXPECT_EQ(s == ShootLeft ? p.getAnchor() : p.getPosition(), Position(0, 0)) << s;
        picture->setPlaying(false);
        std::vector<int> cells;
        for (int frame = 0; frame < picture->getFrameCount(); ++frame) {
            picture->setFrame(frame);
            picture->draw();
            cells.push_back(static_cast<int>(picture->getTexOrigin().getX() * 4));
        }
        EXPECT_EQ(cells, a.cells) << s;
    }
    hero->walkLeft(); // the left walk negates the file's positive speed
    EXPECT_EQ(static_cast<TranslationMovement*>(hero->getMovement())->getDx(), -HeroFixture::kWalk);
    // Each jump takes its four fields in file order.
    const std::pair<std::function<void(Heros&)>, HeroFixture::Jump> jumps[] = {
        {&Heros::stopLeft, HeroFixture::kJumpUp},
        {&Heros::walkLeft, HeroFixture::kJumpLeft},
        {&Heros::walkRight, HeroFixture::kJumpRight}};
    for (const auto& [key, j] : jumps) {
        key(*hero);
        hero->jump();
        const SautMovement* m = static_cast<SautMovement*>(hero->getMovement());
        EXPECT_EQ(std::make_tuple(m->getStepX(), m->getSpeedY(), m->getDecrement(), m->getPeriod()),
                  std::make_tuple(j.stepX, j.speedY, j.drop, j.period));
        place(40, 20);
        land();
    }
    // From standing right: l/L press/release Left, r/R Right, j jump, s/S shoot/stop, h a hit.
    const std::pair<const char*, HerosState> cases[] = {
        {"lL", StandLeft},    {"lrL", WalkRight},  {"rlR", WalkLeft},  {"rR", StandRight},
        {"lLrR", StandRight}, {"lj", AirLeft},     {"ljrsj", AirLeft}, {"rj", AirRight},
        {"lLj", AirLeft},     {"lLs", ShootLeft},  {"ls", ShootLeft},  {"rs", ShootRight},
        {"sjlr", ShootRight}, {"lsS", StandLeft},  {"sS", StandRight}, {"lSL", StandLeft},
        {"lLh", HitLeft},     {"hlrjs", HitRight}, {"lsh", HitLeft}};
    const std::function<void(Heros&)> press[] = {
        &Heros::walkLeft, &Heros::stopLeft, &Heros::walkRight,   &Heros::stopRight,
        &Heros::jump,     &Heros::shoot,    &Heros::stopShooting};
    for (const auto& [keys, expected] : cases) {
        Heros h;
        h.load(HeroFixture::writeHeroFile(false).c_str());
        Shape* kept = nullptr;
        for (const char* k = keys; *k; ++k)
            *k == 'h' ? (kept = h.getShape(), hit(h)) : press[std::string("lLrRjsS").find(*k)](h);
        EXPECT_STREQ(kNames[h.getState()], kNames[expected]) << keys;
        EXPECT_EQ(h.getGraphic()->getPictures(), std::list<Picture*>{h.getStatePicture(expected)});
        EXPECT_EQ(h.getShape(), expected < HitLeft ? h.getStateShape(expected) : kept) << keys;
    }
}

TEST_F(World, LandingTakesTheEdgeStartsHeightAndOnlyFromAbove) {
    // From y 50: the new y, where the edge starts, and the pose after the contact.
    for (const auto& [y, edgeStartY, after] : {std::tuple{48.0f, 51.0f, "AirRight 200,48"}, // above
                                               {52, 45, "AirRight 200,52"}, // rising
                                               {48, 45, "StandRight 200,45 grounded"},
                                               {50, 50, "StandRight 200,50 grounded"}}) {
        place(200, 300);
        step();
        place(200, 50);
        hero->rememberPosition();
        place(200, y);
        hero->clearGrounded();
        // A slope: the hero takes the height where the edge starts, not that of the contact.
        hero->onCollision(level->getPlatforms().front(), {0, 0}, {0, 0}, Position(150, edgeStartY),
                          Position(250, 60));
        EXPECT_EQ(pose(), after);
    }
    place(250, 440); // over the first platform: falls onto its top
    step();
    land();
    EXPECT_EQ(pose(), "StandRight 250,420 grounded");
}

TEST_F(World, EachActionPlaysFromItsPoolAndAHitLasts3000msOfThreeLives) {
    place(200, 20);
    step();
    sound.take();
    random.push({1});
    hero->jump();
    land();
    hero->shoot();
    Sound* shot = hero->getCurrentShotSound();
    EXPECT_TRUE(sound.loops("shot.ogg"));
    const unsigned int hitAt = ScriptedClock::now();
    hit(*hero); // stops the shot sound but keeps it
    hit(*hero); // hits do not stack during the pose
    EXPECT_EQ(heard(), (Log{"play jump1.ogg", "play land.ogg", "play shot.ogg", "stop shot.ogg",
                            "play hurt.ogg"}));
    EXPECT_EQ(hero->getLives(), 2);
    ScriptedClock::set(hitAt + 3000); // the pose lasts exactly 3000 ms
    step();
    EXPECT_EQ(hero->getState(), HitRight);
    ScriptedClock::set(hitAt + 3001);
    step();
    hero->jump(); // so does a jump
    EXPECT_EQ(hero->getCurrentShotSound(), shot);
    land();
    hero->shoot();
    hero->stopShooting(); // stops it and lets it go
    EXPECT_EQ(hero->getCurrentShotSound(), nullptr);
    EXPECT_EQ(heard(), (Log{"stop shot.ogg", "play jump0.ogg", "play land.ogg", "play shot.ogg",
                            "stop shot.ogg"}));
    // The second hit still hurts aloud; the third is silent and never recovers.
    for (const Log& sounds : {Log{"play hurt.ogg"}, Log{}}) {
        ScriptedClock::advance(3001);
        step();
        hit(*hero);
        EXPECT_EQ(heard(), sounds);
    }
    ScriptedClock::advance(100000);
    step();
    EXPECT_EQ(pose(), "HitRight 200,20 grounded");
}

TEST_F(World, WavesComeAtTheDrawnIntervalAndStrikeDistinctSpots) {
    const int sizes[][3] = {{0, 5, 3}, {2, 4, 2},  {3, 3, 2}, {6, 3, 2},
                            {7, 2, 1}, {14, 2, 1}, {15, 1, 0}};
    for (const auto& row : sizes) {
        int spotCount = 0, strength = 0;
        Level::waveSize(row[0], spotCount, strength);
        EXPECT_EQ(std::make_pair(spotCount, strength), std::make_pair(row[1], row[2])) << row[0];
    }
    random.push({0}); // interval 2000 ms
    level->update(0);
    ScriptedClock::advance(2000);
    level->update(0);
    EXPECT_EQ(spots(), "......");               // exactly 2000 ms is not more than 2000
    EXPECT_EQ(screen.getObjects().size(), 14u); // all but five projectiles shown
    sound.take();
    random.push({1, 2, 2, 0, 0}); // 4 spots: indices 2, 2, 0, 0 of what remains
    ScriptedClock::advance(1);
    level->update(0);
    EXPECT_EQ(spots(), "wwww..");
    EXPECT_EQ(level->getHazardSpots()[2]->getSound(), level->getWaveSounds()[2]);
    EXPECT_EQ(sound.take("Sounds/w"), Log{"play Sounds/wave.ogg"});
}

// The real generator, not a script: waves must come every 2 to 6 s.
TEST(Level, RealGeneratorDrawsIntervalsAcrossTwoToSixSeconds) {
    GameRandom::seed(1234);
    int low = GameRandom::max, high = 0;
    for (int i = 0; i < 300000; ++i) {
        low = std::min(low, GameRandom::next());
        high = std::max(high, GameRandom::next());
    }
    EXPECT_EQ(std::make_tuple(low, high, Level::waveDelayFor(low), Level::waveDelayFor(high)),
              std::make_tuple(0, GameRandom::max, 2000, 5999));
}

TEST_F(World, ASpotWarnsThenStrikesFor500msEachAndOneAtATimeVoicesIt) {
    std::vector<HazardSpot*> s = level->getHazardSpots();
    for (int i = 1; i < 4; ++i) {
        s[i]->setSound(level->getWaveSounds()[i - 1]);
        s[i]->activate();
    }
    const auto after = [&](unsigned int ms, std::initializer_list<int> updated) {
        ScriptedClock::advance(ms);
        for (int i : updated)
            s[i]->update(0);
        return spots();
    };
    EXPECT_EQ(after(500, {1, 2}), ".www..");
    EXPECT_EQ(after(1, {1, 2}), ".DDw..");
    EXPECT_EQ(sound.take("Sounds/w"),
              Log{"play Sounds/w0.ogg"}); // while one speaks, the others are silent
    EXPECT_TRUE(projectile(1)->isVisible() && s[1]->getGraphic()->getPictures().empty());
    EXPECT_EQ(projectile(1)->getGraphic()->getPictures().size(), 1u);
    EXPECT_EQ(after(500, {1}), ".DDw..");
    EXPECT_EQ(after(1, {1, 3}), "..DD.."); // the first to leave frees the voice
    EXPECT_EQ(sound.take("Sounds/w"), Log{"play Sounds/w2.ogg"});
    EXPECT_FALSE(projectile(1)->isVisible());
}

TEST_F(World, TargetsFillOverBurstsAndTakePointsInTheBoxOfTheirFourCorners) {
    ASSERT_TRUE(target(0)->getGraphic()); // showing its picture
    EXPECT_EQ(target(0)->getGraphic()->getPictures().front(), target(0)->getPicture());
    EXPECT_TRUE(GameState::drawOrder(target(0), level->getPlatforms().front())); // under platforms
    // The shot point is the hero position plus (20, -30); (150, 140) is inside both targets.
    level->fireAt(Position(130, 170));
    level->fireAt(Position(900, 900)); // a miss keeps the target being filled
    EXPECT_EQ(level->getTargetGroup()->getCurrentTarget(), target(0));
    ScriptedClock::advance(1500);
    target(0)->update(0);
    level->ceaseFire();
    ScriptedClock::advance(5000); // paused: nothing grows
    level->fireAt(Position(130, 170));
    ScriptedClock::advance(500);
    target(0)->update(0);
    EXPECT_FALSE(target(0)->isComplete());
    target(0)->update(0);
    EXPECT_TRUE(target(0)->isComplete());
    level->ceaseFire();
    level->fireAt(Position(130, 170)); // a complete target refuses shots
    EXPECT_EQ(level->getTargetGroup()->getCurrentTarget(), target(1));
    Target odd; // points after the four corners are not corners
    odd.setup(new BitmapPicture("", GraphicProperties(), nullptr, 0),
              new Shape({Polygon({Position(0, 0), Position(10, 0), Position(10, 10),
                                  Position(0, 10), Position(0, 0), Position(100, 5)})}),
              Position(0, 0));
    EXPECT_FALSE(odd.tryStart(Position(50, 5)));
    EXPECT_FALSE(Target().tryStart(Position(0, 0))); // no outline, no corners
}

TEST_F(World, TheLayoutIsPickedAtRandomFromTheList) {
    std::vector<std::string> layouts;
    for (int i = 0; i < 3; ++i)
        layouts.push_back("I.png x:" + std::to_string(100 * i) + " y:0 0 0 9 0 9 9 0 9\n");
    // Layouts listed, the draw, the x of the one target built (-1: none).
    for (const auto& [count, r, x] :
         {std::tuple{3, 0, 0.0f}, {3, 4, 100}, {3, 32765, 200}, {0, 7, -1}}) {
        random.push({r});
        LevelFixture listed({layouts.begin(), layouts.begin() + count});
        Level read;
        IdleState shown;
        ASSERT_TRUE(read.load(listed.levelFile.c_str(), hero, &shown)) << read.failure();
        const std::list<GameObject*>& built = read.getTargetGroup()->getChildren();
        EXPECT_EQ(built.empty() ? -1 : built.front()->getPosition()->getX(), x) << r;
    }
}

TEST_F(World, KeysDriveTheHeroAndSpaceFiresOnlyWhenTheHeroShoots) {
    land();
    EXPECT_EQ(colours({{45, 30}}), "w"); // the white hero drawn
    const std::tuple<Uint8, SDLKey, HerosState> steps[] = {
        {SDL_KEYDOWN, SDLK_RIGHT, WalkRight},  {SDL_KEYUP, SDLK_RIGHT, StandRight},
        {SDL_KEYDOWN, SDLK_RCTRL, StandRight}, {SDL_KEYDOWN, SDLK_LEFT, WalkLeft},
        {SDL_KEYUP, SDLK_LEFT, StandLeft},     {SDL_KEYDOWN, SDLK_LCTRL, AirLeft}};
    for (const auto& [type, key, state] : steps) {
        push(type, key);
        step();
        EXPECT_EQ(hero->getState(), state) << key;
    }
    // In the air Space is refused, so nothing is fired at the target under the shot point.
    hero->setPosition(Position(110, 150)); // shot point (130, 120): the first target
    step({SDLK_SPACE});
    EXPECT_EQ(aimed(), nullptr);
    push(SDL_KEYUP, SDLK_SPACE);
    land();
    hero->setPosition(Position(110, 150));
    step({SDLK_SPACE});
    EXPECT_EQ(hero->getState(), ShootLeft);
    EXPECT_NE(aimed(), nullptr);
    step({SDLK_ESCAPE}); // hands over at once
    EXPECT_EQ(manager->getCurrentState(), &credits);
}

TEST_F(World, TheIntroPlaysThenTheLoopTakesOverOnce) {
    const std::string intro = "Sounds/music-ingame-a.ogg", loop = "Sounds/music-ingame-b.ogg";
    EXPECT_EQ(sound.take("music"), Log{"play " + intro});
    ScriptedClock::advance(106718);
    screen.update(); // exactly the intro's length: not yet
    EXPECT_EQ(sound.take("music"), Log{});
    ScriptedClock::advance(1);
    screen.update();
    screen.update();
    EXPECT_EQ(sound.take("music"), (Log{"stop " + intro, "play " + loop}));
    EXPECT_TRUE(sound.loops(loop) && !sound.loops(intro));
}

TEST_F(World, ThePadPlaysAsTheKeysAndAPauseHoldsTheClockTheMusicAndTheActions) {
    land();
    GamePad::forget();
    sound.take();
    const std::string intro = "Sounds/music-ingame-a.ogg";
    const SDL_Event walk = padEvent(SDL_JOYAXISMOTION, 0, 12000);
    // Each pushed through SDL's queue, then a frame, then 500 ms.
    const std::tuple<SDL_Event, HerosState, bool, Log> steps[] = {
        {padEvent(SDL_JOYHATMOTION, 0, SDL_HAT_RIGHT), WalkRight, false, {}},
        {padEvent(SDL_JOYHATMOTION, 0, SDL_HAT_LEFTUP), WalkLeft, false, {}},
        {padEvent(SDL_JOYHATMOTION, 0, SDL_HAT_CENTERED), StandLeft, false, {}},
        {walk, WalkRight, false, {}},
        {padEvent(SDL_JOYAXISMOTION, 0, 8000), WalkRight, false, {}}, // not yet back
        {padEvent(SDL_JOYAXISMOTION, 0, -7000), StandRight, false, {}},
        {padEvent(SDL_JOYAXISMOTION, 1, -32768), StandRight, false, {}}, // up: nothing here
        {walk, WalkRight, false, {}},
        {padEvent(SDL_JOYBUTTONDOWN, GamePad::kStartButton), WalkRight, true, {"pause " + intro}},
        {padEvent(SDL_JOYAXISMOTION, 0, 0), WalkRight, true, {}}, // let go while paused
        {padEvent(SDL_JOYBUTTONDOWN, GamePad::kJumpButton), WalkRight, true, {}},
        {padEvent(SDL_JOYBUTTONDOWN, GamePad::kStartButton),
         StandRight,
         false,
         {"resume " + intro}},
        {padEvent(SDL_ACTIVEEVENT, 0, SDL_APPINPUTFOCUS), StandRight, true, {"pause " + intro}},
        {padEvent(SDL_ACTIVEEVENT, 1, SDL_APPINPUTFOCUS), StandRight, true, {}},
        {padEvent(SDL_KEYDOWN, 0), StandRight, true, {}},                   // a key that is not P
        {padEvent(SDL_KEYDOWN, 0), StandRight, false, {"resume " + intro}}, // P
        {padEvent(SDL_JOYBUTTONDOWN, GamePad::kJumpButton), AirRight, false, {}},
        {padEvent(SDL_JOYBUTTONDOWN, GamePad::kSprayButton), AirRight, false, {}}};
    const Position* at = hero->getPosition();
    for (const auto& [event, state, paused, sounds] : steps) {
        SDL_Event pushed = event;
        if (pushed.type == SDL_KEYDOWN)
            pushed.key.keysym.sym = paused ? SDLK_a : SDLK_p;
        SDL_PushEvent(&pushed);
        const float x = at->getX();
        frame(screen);
        EXPECT_EQ(hero->getState(), state) << &event - &std::get<0>(steps[0]);
        EXPECT_EQ(screen.isPaused(), paused);
        EXPECT_TRUE(!paused || at->getX() == x); // held where he is, walking or not
        EXPECT_EQ(sound.take("music"), sounds);
        const unsigned int now = GameClock::now();
        ScriptedClock::advance(500);
        EXPECT_EQ(GameClock::now() - now, paused ? 0u : 500u);
    }
    frame(screen, {SDLK_p, SDLK_p}); // P pauses and resumes
    EXPECT_EQ(sound.take("music"), (Log{"pause " + intro, "resume " + intro}));
    SDL_Event back = padEvent(SDL_JOYBUTTONDOWN, GamePad::kBackButton);
    SDL_PushEvent(&back);
    frame(screen);
    EXPECT_EQ(manager->getCurrentState(), &credits);
}
