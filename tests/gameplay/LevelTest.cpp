#include <gtest/gtest.h>

#include "app/GameRandom.h"
#include "app/LevelState.h"
#include "app/OptionsScreen.h"
#include "gameplay/HazardSpot.h"
#include "gameplay/Heros.h"
#include "gameplay/Level.h"
#include "gameplay/Plateforme.h"
#include "gameplay/Target.h"
#include "gameplay/TargetGroup.h"
#include "graphics/BitmapPicture.h"
#include "graphics/Collision.h"
#include "graphics/Graphic.h"
#include "graphics/Shape.h"
#include "graphics/StripedAnimatedBitmapPicture.h"
#include "settings/PlayerSettings.h"
#include "support/ScreenTest.h"
#include "support/ScriptedClock.h"
#include "support/TempFile.h"
#include "support/TestImage.h"

namespace {

const char* const kNames[] = {"StandLeft", "StandRight", "WalkLeft",   "WalkRight", "AirLeft",
                              "AirRight",  "ShootLeft",  "ShootRight", "HitLeft",   "HitRight"};

// The level screen, entered, in a copy of fixtures/level: a small level (ground at y 20, two
// platforms at (200, 420) and (600, 300) with a 128 px top, six hazard spots, one layout of two
// targets) and a hero whose file has CRLF line ends.
struct World : ScreenTest {
    void SetUp() override {
        GameRandom::setSource([] { return 0; }); // the replays draw from the real generator
        HazardSpot::resetSoundLatch();
        std::filesystem::copy(TOLVEK_TEST_FIXTURES "/level", dir,
                              std::filesystem::copy_options::recursive);
        TestImage::solid(dir + "/hero.bmp", 64, 32, 255, 255, 255); // four 16 x 32 cells
        TestImage::solid(dir + "/warning sign.bmp", 8, 8, 255, 200, 0);
        std::filesystem::current_path(dir);
        ASSERT_TRUE(screen.init(&credits)) << screen.failure();
        manager->changeState(&screen);
        hero = screen.getHero();
        level = screen.getLevel();
        // Far from the hero, for hit() only: waves drawn from zeros strike the first five spots.
        projectile(5)->setVisible(true, &screen);
    }
    void TearDown() override {
        GameRandom::setSource(nullptr);
        std::filesystem::current_path(previous);
        Collision::clearCollisions();
    }
    void step() { // a frame, 17 ms long
        frame(screen);
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
    void place(float x, float y) { hero->setPosition(Position(x, y)); }
    void hit(Heros& h) { h.onCollision(projectile(5), {0, 0}, {0, 0}, {0, 0}, {0, 0}); }
    Projectile* projectile(int i) { return level->getHazardSpots()[i]->getProjectile(); }

    ScriptedClock clock{1000};
    const std::string dir = tempDir();
    const std::filesystem::path previous = std::filesystem::current_path();
    LevelState screen;
    Heros* hero = nullptr;
    Level* level = nullptr;
};

} // namespace

TEST_F(World, KeysMoveBetweenThePosesAHitKeepsTheShapeAndALandingIsFromAboveOnly) {
    EXPECT_EQ(pose(), "StandRight 40,100");
    EXPECT_EQ(hero->getStateShape(StandRight)->getPolygon(0).getPoints(),
              (std::list<Position>{{0, 0}, {16, 0}, {16, 32}, {0, 32}, {0, 0}})); // closed
    const std::unique_ptr<Shape> hurts(projectile(1)->getWorldShape()); // its file's outline
    EXPECT_EQ(hurts->getPolygon(0).getPoints(),
              (std::list<Position>{{100, 400}, {132, 400}, {132, 432}, {100, 432}}));
    // From standing right (plain moves are in the replays): l/L Left down/up, r/R, j, s/S, h a hit.
    const std::pair<const char*, HerosState> cases[] = {
        {"lrL", WalkRight},   {"rlR", WalkLeft},  {"ljrsj", AirLeft}, {"lLs", ShootLeft},
        {"sjlr", ShootRight}, {"lsS", StandLeft}, {"lSL", StandLeft}, {"lLh", HitLeft},
        {"hlrjs", HitRight},  {"lsh", HitLeft},   {"lh", HitLeft},    {"rh", HitRight}};
    const std::function<void(Heros&)> press[] = {
        &Heros::walkLeft, &Heros::stopLeft, &Heros::walkRight,   &Heros::stopRight,
        &Heros::jump,     &Heros::shoot,    &Heros::stopShooting};
    for (const auto& [keys, expected] : cases) {
        Heros h;
        h.load("Levels/Heros.ini");
        Shape* kept = nullptr;
        for (const char* k = keys; *k; ++k)
            *k == 'h' ? (kept = h.getShape(), hit(h)) : press[std::string("lLrRjsS").find(*k)](h);
        EXPECT_STREQ(kNames[h.getState()], kNames[expected]) << keys;
        EXPECT_EQ(h.getGraphic()->getPictures(), std::list<Picture*>{h.getStatePicture(expected)});
        EXPECT_EQ(h.getShape(), expected < HitLeft ? h.getStateShape(expected) : kept) << keys;
    }
    hit(*hero); // the hit pose holds 3000 ms of the game's time, and not a millisecond more
    for (const auto& [wait, after] : {std::pair{3000, HitRight}, {1, StandRight}}) {
        ScriptedClock::advance(wait);
        hero->update(0);
        EXPECT_STREQ(kNames[hero->getState()], kNames[after]);
    }
    // Landing from y 50: the new y, where the edge starts, and the pose after the contact.
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
    place(250, 440); // over the first platform: its outline, not its picture, holds him
    step();
    land();
    EXPECT_EQ(pose(), "StandRight 250,420 grounded");
}

// Later waves strike fewer spots, harder; the real generator's waves come every 2 to 6 s.
TEST(Level, WavesShrinkAsTheyGoByAndTheRealGeneratorSpacesThemTwoToSixSecondsApart) {
    const int sizes[][3] = {{0, 5, 3}, {2, 4, 2},  {3, 3, 2}, {6, 3, 2},
                            {7, 2, 1}, {14, 2, 1}, {15, 1, 0}};
    for (const auto& row : sizes) {
        int spotCount = 0, strength = 0;
        Level::waveSize(row[0], spotCount, strength);
        EXPECT_EQ(std::make_pair(spotCount, strength), std::make_pair(row[1], row[2])) << row[0];
    }
    GameRandom::seed(1234);
    int low = GameRandom::max, high = 0;
    for (int i = 0; i < 300000; ++i) {
        low = std::min(low, GameRandom::next());
        high = std::max(high, GameRandom::next());
    }
    EXPECT_EQ(std::make_tuple(low, high, Level::waveDelayFor(low), Level::waveDelayFor(high)),
              std::make_tuple(0, GameRandom::max, 2000, 5999));
}

TEST(Target, TakesPointsOnlyInTheBoxOfItsFourCorners) {
    Target odd; // points after the four corners are not corners
    odd.setup(new BitmapPicture("", GraphicProperties(), nullptr, 0),
              new Shape({Polygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}, {100, 5}})}),
              Position(0, 0));
    // Inside, on each edge, and just past an edge.
    const std::tuple<float, float, bool> points[] = {{5, 5, true},      {0, 5, true},
                                                     {10, 10, true},    {50, 5, false},
                                                     {-0.5f, 5, false}, {5, 10.5f, false}};
    for (const auto& [x, y, taken] : points) {
        EXPECT_EQ(odd.tryStart(Position(x, y)), taken) << x << "," << y;
        odd.pause();
    }
    EXPECT_FALSE(Target().tryStart(Position(0, 0))); // no outline, no corners
}

// The outline closes on the first corner, which bounds the target as the other three do.
TEST(TargetGroup, ALayoutsFirstCornerBoundsItsTarget) {
    const std::string layout =
        writeTempFile("l.txt", "Targets count:1\nnone.png x:0 y:0 -10 -10 10 0 10 10 0 10\n");
    TargetGroup group;
    ASSERT_TRUE(group.loadLayoutList(
                    writeTempFile("ls.txt", "Target layouts count:1 " + layout + "\n").c_str()) &&
                group.chooseLayout(nullptr));
    group.fire(Position(-5, -5));
    EXPECT_NE(group.getCurrentTarget(), nullptr);
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
    EXPECT_TRUE(sound.loops(loop) && !sound.loops(intro)); // and of the hero's, only the spray
    EXPECT_TRUE(sound.music[intro] && sound.music[loop]);
    EXPECT_TRUE(sound.loops("shot.ogg") && !sound.loops("hurt.ogg") && !sound.loops("jump1.ogg"));
    ScriptedClock::advance(2001); // the first wave, drawn from zeros, strikes with its sound
    screen.update();
    EXPECT_EQ(sound.take("wave.ogg"), Log{"play Sounds/wave.ogg"});
}

TEST_F(World, ThePadPlaysAsTheKeysAndAPauseHoldsTheClockTheMusicAndTheActions) {
    land();
    GamePad::forget();
    sound.take();
    const std::string intro = "Sounds/music-ingame-a.ogg";
    const Log pause{"pause " + intro}, resume{"resume " + intro};
    const SDL_Event walk = sdlEvent(SDL_JOYAXISMOTION, 0, 12000);
    // Each pushed through SDL's queue, then a frame, then 500 ms.
    const std::tuple<SDL_Event, HerosState, bool, Log> steps[] = {
        {sdlEvent(SDL_JOYHATMOTION, 0, SDL_HAT_RIGHT), WalkRight, false, {}},
        {sdlEvent(SDL_JOYHATMOTION, 0, SDL_HAT_LEFTUP), WalkLeft, false, {}},
        {sdlEvent(SDL_JOYHATMOTION, 0, SDL_HAT_CENTERED), StandLeft, false, {}},
        {walk, WalkRight, false, {}},
        {sdlEvent(SDL_JOYAXISMOTION, 0, 8000), WalkRight, false, {}}, // not yet back
        {sdlEvent(SDL_JOYAXISMOTION, 0, -7000), StandRight, false, {}},
        {sdlEvent(SDL_JOYAXISMOTION, 1, -32768), StandRight, false, {}}, // up: nothing here
        {walk, WalkRight, false, {}},
        {sdlEvent(SDL_JOYBUTTONDOWN, GamePad::kStartButton), WalkRight, true, pause},
        {sdlEvent(SDL_JOYAXISMOTION, 0, 0), WalkRight, true, {}}, // let go while paused
        {sdlEvent(SDL_JOYBUTTONDOWN, GamePad::kJumpButton), WalkRight, true, {}},
        {sdlEvent(SDL_JOYBUTTONDOWN, GamePad::kStartButton), StandRight, false, resume},
        {sdlEvent(SDL_ACTIVEEVENT, 0, SDL_APPINPUTFOCUS), StandRight, true, pause},
        {sdlEvent(SDL_ACTIVEEVENT, 1, SDL_APPINPUTFOCUS), StandRight, true, {}},
        {sdlEvent(SDL_KEYDOWN, 0, SDLK_a), StandRight, true, {}},
        {sdlEvent(SDL_KEYDOWN, 0, SDLK_p), StandRight, false, resume},
        {sdlEvent(SDL_JOYBUTTONDOWN, GamePad::kJumpButton), AirRight, false, {}},
        {sdlEvent(SDL_JOYBUTTONDOWN, GamePad::kSprayButton), AirRight, false, {}}};
    const Position* at = hero->getPosition();
    for (const auto& [event, state, paused, sounds] : steps) {
        pushEvent(event);
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
    pushEvent(sdlEvent(SDL_JOYBUTTONDOWN, GamePad::kBackButton));
    frame(screen);
    EXPECT_EQ(manager->getCurrentState(), &credits);
}

// The pause's Options take the pad and the keys; a key held through a rebinding is let go as
// it was bound, and the level then answers the new key.
TEST_F(World, ThePausesOptionsRebindAKeyHeldDown) {
    PlayerSettings kept{Settings()};
    OptionsScreen options(&kept, {}, 1024, 768);
    screen.setSettings(&kept, &options);
    land();
    frame(screen, {SDLK_RIGHT, SDLK_p, SDLK_o});
    ASSERT_TRUE(options.isOpen() && screen.isPaused());
    for (int press = 0; press < 6; ++press) // the D-pad down thrice, then the key once
        pushEvent(sdlEvent(press % 2 ? SDL_JOYBUTTONUP : SDL_JOYBUTTONDOWN, GamePad::kDpadDown));
    frame(screen, {SDLK_DOWN});
    EXPECT_EQ(options.getRow(), OptionsScreen::FirstActionRow + 1); // Right
    frame(screen, {SDLK_RETURN});
    pushEvent(sdlEvent(SDL_KEYUP, 0, SDLK_RETURN));
    pushEvent(sdlEvent(SDL_KEYUP, 0, SDLK_RIGHT));
    frame(screen, {SDLK_d, SDLK_ESCAPE});
    EXPECT_FALSE(options.isOpen());
    frame(screen, {SDLK_p});
    EXPECT_EQ(hero->getState(), StandRight);
    frame(screen, {SDLK_RIGHT});
    EXPECT_EQ(hero->getState(), StandRight);
    frame(screen, {SDLK_d});
    EXPECT_EQ(hero->getState(), WalkRight);
}
