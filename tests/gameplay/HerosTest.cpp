#include <GL/gl.h>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <sstream>

#include "gameplay/Heros.h"
#include "gameplay/Plateforme.h"
#include "gameplay/Projectile.h"
#include "gameplay/SautMovement.h"
#include "gameplay/TranslationMovement.h"
#include "gameplay/Trigger.h"
#include "graphics/Collision.h"
#include "graphics/Graphic.h"
#include "graphics/Shape.h"
#include "graphics/StripedAnimatedBitmapPicture.h"
#include "support/GlContext.h"
#include "support/HeroFixture.h"
#include "support/IdleState.h"
#include "support/RecordingSoundSystem.h"
#include "support/ScriptedClock.h"
#include "support/ScriptedRandom.h"
#include "support/TempFile.h"

namespace {

using Log = std::vector<std::string>;
const char* const kNames[] = {"StandLeft", "StandRight", "WalkLeft",   "WalkRight", "AirLeft",
                              "AirRight",  "ShootLeft",  "ShootRight", "HitLeft",   "HitRight"};

// "<state> x,y" and whether the hero stands on something.
std::string pose(const Heros& hero) {
    std::ostringstream text;
    text << kNames[hero.getState()] << " " << hero.getPosition()->getX() << ","
         << hero.getPosition()->getY() << (hero.isGrounded() ? " grounded" : "");
    return text.str();
}

// A ground at y = 20, a platform top from (60, 80) to (100, 80) and a far
// projectile; the hero is registered against them as in a level.
class HerosWorld : public testing::Test {
protected:
    void SetUp() override {
        GlContext::reset();
        ASSERT_TRUE(hero.load(HeroFixture::writeHeroFile(false).c_str())) << hero.failure();
        ground.setType("Sol");
        for (GameObject* o : std::vector<GameObject*>{&ground, &platform, &projectile}) {
            o->setUseGraphicShape(false);
            Collision::registerCollision(&hero, o, true, false);
        }
        ground.setShape(&groundLine);
        platform.setShape(&platformTop);
        platform.setPosition(Position(60, 80));
        projectile.setShape(&platformTop);
        projectile.setPosition(Position(500, 500));
        projectile.setGraphic(&projectileLook);
        projectile.setVisible(true, &state);
    }
    void TearDown() override { Collision::clearCollisions(); }
    // The level's per-frame order, without drawing.
    void frame(int count = 1) {
        for (int i = 0; i < count; ++i) {
            hero.rememberPosition();
            hero.clearGrounded();
            if (hero.getMovement())
                hero.getMovement()->apply(hero.getPosition());
            hero.keepInBounds();
            Collision::checkAll();
            hero.fallIfUnsupported();
            hero.update(0);
            ScriptedClock::advance(17);
        }
    }
    void place(float x, float y) { hero.setPosition(Position(x, y)); }
    void land() {
        for (int i = 0; i < 400 && hero.getState() > WalkRight; ++i)
            frame();
    }
    void hit(Heros& h) { h.onCollision(&projectile, Position(0, 0), {0, 0}, {0, 0}, {0, 0}); }

    ScriptedClock clock{1000};
    ScriptedRandom random;
    RecordingSoundSystem sound;
    Shape groundLine = Shape({Polygon({Position(0, 20), Position(1024, 20)})});
    Shape platformTop = Shape({Polygon({Position(0, 0), Position(40, 0)})});
    Heros hero;
    Trigger ground;
    Plateforme platform;
    Projectile projectile;
    Graphic projectileLook;
    IdleState state;
};

} // namespace

TEST(HerosFile, ReadsEveryBlockInFileOrder) {
    GlContext::reset();
    Heros hero;
    ASSERT_TRUE(hero.load(HeroFixture::writeHeroFile(true).c_str())) << hero.failure();
    EXPECT_EQ(pose(hero), "StandRight 40,100");
    EXPECT_EQ(hero.getGraphic()->getPictures(), std::list<Picture*>{hero.getCurrentPicture()});
    EXPECT_EQ(hero.getCurrentPicture(), hero.getStatePicture(StandRight));
    EXPECT_FLOAT_EQ(hero.getGraphic()->getProperties().getDepth(), 0.8f);
    EXPECT_EQ(hero.getShape(), hero.getStateShape(StandRight));
    std::unique_ptr<Shape> outline(hero.getWorldShape()); // the outline, not the picture
    EXPECT_EQ(outline->getPolygon(0).getPoints(),
              (std::list<Position>{{40, 100}, {56, 100}, {56, 132}, {40, 132}, {40, 100}}));
    glTranslatef(50, 50, 0);
    hero.getCurrentPicture()->draw(); // cell 2 at x 50..66: the anchor moves only the outline
    EXPECT_EQ(std::string() + GlContext::colourAt(52, 60) + GlContext::colourAt(62, 60), "bw");
    const std::list<Position> rectangle = {{0, 0}, {16, 0}, {16, 32}, {0, 32}, {0, 0}};
    for (int s = StandLeft; s <= HitRight; ++s) {
        StripedAnimatedBitmapPicture* picture = hero.getStatePicture(HerosState(s));
        const HeroFixture::Animation& a = HeroFixture::kAnimations[s];
        EXPECT_EQ(picture->getAnimationSpeed(), a.speed) << s;
        // Only the left shooting pose is placed by its pair; the others are anchored.
        const Position pair(static_cast<float>(a.ax), static_cast<float>(a.ay));
        GraphicProperties& p = picture->getProperties();
        EXPECT_EQ(s == ShootLeft ? p.getPosition() : p.getAnchor(), pair) << s;
        EXPECT_EQ(s == ShootLeft ? p.getAnchor() : p.getPosition(), Position(0, 0)) << s;
        ASSERT_TRUE(picture->isPlaying());
        picture->setPlaying(false);
        std::vector<int> cells;
        for (int frame = 0; frame < picture->getFrameCount(); ++frame) {
            picture->setFrame(frame);
            picture->draw();
            cells.push_back(static_cast<int>(picture->getTexOrigin().getX() * 4));
        }
        EXPECT_EQ(cells, a.cells) << s;
        Shape* shape = hero.getStateShape(HerosState(s));
        EXPECT_EQ(shape ? shape->getPolygon(0).getPoints() : rectangle, rectangle) << s;
    }
    hero.walkLeft(); // the left walk negates the file's positive speed
    EXPECT_EQ(static_cast<TranslationMovement*>(hero.getMovement())->getDx(), -HeroFixture::kWalk);
    hero.walkRight();
    EXPECT_EQ(static_cast<TranslationMovement*>(hero.getMovement())->getDx(), HeroFixture::kWalk);
    // Each jump takes its four fields in file order.
    for (const auto& [key, j] : {std::pair{&Heros::stopLeft, HeroFixture::kJumpUp},
                                 {&Heros::walkLeft, HeroFixture::kJumpLeft},
                                 {&Heros::walkRight, HeroFixture::kJumpRight}}) {
        Heros jumper;
        jumper.load(HeroFixture::writeHeroFile(false).c_str());
        (jumper.*key)();
        jumper.jump();
        const SautMovement* m = static_cast<SautMovement*>(jumper.getMovement());
        EXPECT_EQ(std::make_tuple(m->getStepX(), m->getSpeedY(), m->getDecrement(), m->getPeriod()),
                  std::make_tuple(j.stepX, j.speedY, j.drop, j.period));
    }
}

TEST(HerosFile, MissingOrShortFilesAreReportedNotPlayed) {
    Heros missing;
    EXPECT_FALSE(missing.load("/nonexistent/Heros.ini"));
    EXPECT_EQ(missing.failure(), "/nonexistent/Heros.ini: cannot open the file");
    const std::string full = HeroFixture::heroFileText("Images/none.png");
    // Cut before every item but the last (a cut inside a value token can still read).
    for (size_t cut = 0; cut <= full.find_last_of(" \n", full.size() - 2); ++cut) {
        if (cut > 0 && full[cut] != ' ' && full[cut] != '\n')
            continue;
        const std::string path = writeTempFile("Heros.ini", full.substr(0, cut));
        Heros hero;
        EXPECT_FALSE(hero.load(path.c_str())) << "cut at " << cut;
        EXPECT_EQ(hero.failure().rfind(path + ": missing ", 0), 0u) << hero.failure();
    }
}

TEST(HerosFile, EmptyAndNegativeSoundPoolsStaySilent) {
    RecordingSoundSystem sound;
    std::string text = HeroFixture::heroFileText("Images/none.png");
    text = text.substr(0, text.find("Sounds of hero")) +
           "Sounds of hero count:0\nlanding count:-3\nshot count:0\nhurt count:0\n";
    Heros hero;
    ASSERT_TRUE(hero.load(writeTempFile("Heros.ini", text).c_str())) << hero.failure();
    EXPECT_TRUE(hero.shoot());
    EXPECT_EQ(hero.getCurrentShotSound(), nullptr);
    hero.stopShooting();
    hero.jump();
    EXPECT_EQ(hero.getState(), AirRight);
    EXPECT_EQ(sound.take(), Log{});
    {
        Heros shooter;
        shooter.load(HeroFixture::writeHeroFile(false).c_str());
        shooter.shoot();
    }
    // Its sounds go with the hero, stopping as they go.
    EXPECT_EQ(sound.take(), (Log{"play shot.ogg", "stop shot.ogg"}));
}

// From standing right: l/L press/release Left, r/R Right, j jump, s/S shoot/stop, h a hit.
TEST_F(HerosWorld, KeysMoveBetweenThePoses) {
    const std::pair<const char*, HerosState> cases[] = {
        {"lL", StandLeft},    {"lrL", WalkRight},  {"rlR", WalkLeft},  {"rR", StandRight},
        {"lLrR", StandRight}, {"lj", AirLeft},     {"ljrsj", AirLeft}, {"rj", AirRight},
        {"lLj", AirLeft},     {"lLs", ShootLeft},  {"ls", ShootLeft},  {"rs", ShootRight},
        {"sjlr", ShootRight}, {"lsS", StandLeft},  {"sS", StandRight}, {"lSL", StandLeft},
        {"lLh", HitLeft},     {"hlrjs", HitRight}, {"lsh", HitLeft}};
    const std::map<char, std::function<void(Heros&)>> press = {
        {'l', &Heros::walkLeft},    {'L', &Heros::stopLeft}, {'r', &Heros::walkRight},
        {'R', &Heros::stopRight},   {'j', &Heros::jump},     {'s', &Heros::shoot},
        {'S', &Heros::stopShooting}};
    for (const auto& [keys, expected] : cases) {
        Heros h;
        h.load(HeroFixture::writeHeroFile(false).c_str());
        for (const char* k = keys; *k; ++k)
            *k == 'h' ? hit(h) : press.find(*k)->second(h);
        EXPECT_STREQ(kNames[h.getState()], kNames[expected]) << keys;
        EXPECT_EQ(h.getGraphic()->getPictures(), std::list<Picture*>{h.getStatePicture(expected)});
    }
}

TEST_F(HerosWorld, LandingTakesTheEdgeStartsHeightAndOnlyFromAbove) {
    struct Case {
        float previousY, y, edgeStartY;
        const char* after;
    };
    for (const Case& c : {Case{50, 48, 51, "AirRight 200,48"}, // the edge starts above the hero
                          Case{50, 52, 45, "AirRight 200,52"}, // rising
                          Case{50, 48, 45, "StandRight 200,45 grounded"},
                          Case{50, 50, 50, "StandRight 200,50 grounded"}}) {
        place(200, 300);
        frame();
        place(200, c.previousY);
        hero.rememberPosition();
        place(200, c.y);
        hero.clearGrounded();
        // A slope: the hero takes the height where the edge starts, not that of the contact.
        hero.onCollision(&platform, {0, 0}, {0, 0}, Position(150, c.edgeStartY), Position(250, 60));
        EXPECT_EQ(pose(hero), c.after);
    }
}

TEST_F(HerosWorld, AHitHangsInMidAirForExactly3000ms) {
    place(500, 300);
    frame();
    const unsigned int hitAt = ScriptedClock::now();
    hero.getStatePicture(HitRight)->setFrame(1); // a hit starts its pose from the first frame
    hit(hero);
    hit(hero); // hits do not stack during the pose
    EXPECT_EQ(hero.getLives(), 2);
    EXPECT_EQ(hero.getCurrentPicture(), hero.getStatePicture(HitRight));
    EXPECT_EQ(hero.getCurrentPicture()->getFrame(), 0);
    frame(170);
    EXPECT_EQ(pose(hero), "HitRight 500,300");
    ScriptedClock::set(hitAt + 3000);
    hero.update(0);
    EXPECT_EQ(hero.getState(), HitRight);
    ScriptedClock::set(hitAt + 3001);
    hero.update(0);
    EXPECT_EQ(hero.getState(), StandRight);
    frame(2); // the fall starts on the next frame, from rest
    EXPECT_EQ(pose(hero), "AirRight 500,300");
}

TEST_F(HerosWorld, ALeftFacingHitShowsTheLeftPoseAndKeepsTheShape) {
    hero.walkLeft();
    hero.stopLeft();
    hit(hero);
    EXPECT_EQ(hero.getState(), HitLeft);
    EXPECT_EQ(hero.getGraphic()->getPictures(), std::list<Picture*>{hero.getStatePicture(HitLeft)});
    EXPECT_EQ(hero.getShape(), hero.getStateShape(StandLeft));
}

TEST_F(HerosWorld, EachActionPlaysFromItsPoolAndTheShotSoundFollowsThePose) {
    place(200, 20);
    frame();
    sound.take();
    random.push({1});
    hero.jump();
    land();
    hero.shoot();
    Sound* shot = hero.getCurrentShotSound();
    EXPECT_TRUE(sound.loops("shot.ogg"));
    for (const char* once : {"jump0.ogg", "jump1.ogg", "land.ogg", "hurt.ogg"})
        EXPECT_FALSE(sound.loops(once)) << once;
    hit(hero); // stops the shot sound but keeps it
    EXPECT_EQ(sound.take(), (Log{"play jump1.ogg", "play land.ogg", "play shot.ogg",
                                 "stop shot.ogg", "play hurt.ogg"}));
    ScriptedClock::advance(3001);
    frame();
    hero.jump(); // so does a jump
    EXPECT_EQ(hero.getCurrentShotSound(), shot);
    land();
    hero.shoot();
    hero.stopShooting(); // stops it and lets it go
    EXPECT_EQ(hero.getCurrentShotSound(), nullptr);
    EXPECT_EQ(sound.take(), (Log{"stop shot.ogg", "play jump0.ogg", "play land.ogg",
                                 "play shot.ogg", "stop shot.ogg"}));
    // The second hit still hurts aloud; the third is silent and never recovers.
    for (const Log& heard : {Log{"play hurt.ogg"}, Log{}}) {
        ScriptedClock::advance(3001);
        frame();
        hit(hero);
        EXPECT_EQ(sound.take(), heard);
    }
    EXPECT_EQ(hero.getLives(), 0);
    ScriptedClock::advance(100000);
    frame();
    EXPECT_EQ(pose(hero), "HitRight 200,20 grounded");
}

TEST_F(HerosWorld, OtherObjectsOnlyPrintTheirTraceAndTheClampsAreStrict) {
    Trigger wall;
    wall.setType("Mur");
    GameObject plain;
    projectile.setVisible(false, &state); // an invisible projectile does nothing at all
    testing::internal::CaptureStdout();
    for (GameObject* other : std::vector<GameObject*>{&wall, &plain, &projectile})
        hero.onCollision(other, Position(0, 0), {0, 0}, {0, 0}, {0, 0});
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Autre collisionAutre collision");
    EXPECT_EQ(hero.getLives(), 3);
    for (const auto& [x, kept] :
         {std::pair{-10.0f, -10.0f}, {-10.5f, -10}, {930, 930}, {931, 930}}) {
        place(x, 0);
        hero.keepInBounds();
        EXPECT_EQ(hero.getPosition()->getX(), kept) << x;
    }
}
