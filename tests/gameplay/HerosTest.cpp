#include <cstdio>
#include <gtest/gtest.h>

#include "app/GameClock.h"
#include "app/GameState.h"
#include "gameplay/Heros.h"
#include "gameplay/Movement.h"
#include "gameplay/Plateforme.h"
#include "gameplay/Projectile.h"
#include "gameplay/SautMovement.h"
#include "gameplay/Trigger.h"
#include "graphics/BitmapPicture.h"
#include "graphics/Collision.h"
#include "graphics/Graphic.h"
#include "graphics/Rectangle.h"
#include "graphics/Shape.h"
#include "graphics/StripedAnimatedBitmapPicture.h"
#include "support/GlContext.h"
#include "support/HeroFixture.h"
#include "support/TempFile.h"

namespace {

unsigned int fakeNow = 1000;
unsigned int fakeClock() {
    return fakeNow;
}

class TestState : public GameState {
public:
    void handleEvents() override {}
};

// A ground at y = 20, a platform top from (60, 80) to (100, 80), and an
// optional projectile; the hero is registered against them as in a level.
class HerosWorld : public ::testing::Test {
protected:
    void SetUp() override {
        GlContext::reset();
        GameClock::setSource(fakeClock);
        ASSERT_TRUE(hero.load(HeroFixture::writeHeroFile(false).c_str())) << hero.failure();
        ground.setType("Sol");
        ground.setShape(new Shape({Polygon({Position(0, 20), Position(1024, 20)})}));
        ground.setUseGraphicShape(false);
        platform.setShape(new Shape({Polygon({Position(0, 0), Position(40, 0)})}));
        platform.setUseGraphicShape(false);
        platform.setPosition(Position(60, 80));
        projectile.setGraphic(&projectileLook);
        projectile.setShape(new Shape({Rectangle(Position(0, 0), 20, 20)}));
        projectile.setUseGraphicShape(false);
        projectile.setPosition(Position(500, 500));
        Collision::registerCollision(&hero, &ground, true, false);
        Collision::registerCollision(&hero, &platform, true, false);
        Collision::registerCollision(&hero, &projectile, true, false);
    }
    void TearDown() override {
        Collision::clearCollisions();
        GameClock::setSource(nullptr);
        delete ground.getShape();
        delete platform.getShape();
        delete projectile.getShape();
    }

    // The level's per-frame order, without drawing.
    void frame() {
        hero.rememberPosition();
        hero.clearGrounded();
        if (hero.getMovement())
            hero.getMovement()->apply(hero.getPosition());
        hero.keepInBounds();
        Collision::checkAll();
        hero.fallIfUnsupported();
        hero.update(fakeNow);
        fakeNow += 17;
    }
    void placeHero(float x, float y) { hero.setPosition(Position(x, y)); }
    float heroX() { return hero.getPosition()->getX(); }
    float heroY() { return hero.getPosition()->getY(); }
    void runUntilStanding(int limit = 400) {
        for (int i = 0; i < limit && hero.getState() > StandRight + 2; ++i)
            frame();
    }

    Heros hero;
    Trigger ground;
    Plateforme platform;
    Projectile projectile;
    Graphic projectileLook;
    TestState state;
};

} // namespace

TEST(HerosFile, ReadsEveryBlockTheSameWithCrlfOrLf) {
    for (bool crlf : {false, true}) {
        SCOPED_TRACE(crlf ? "CRLF" : "LF");
        Heros hero;
        ASSERT_TRUE(hero.load(HeroFixture::writeHeroFile(crlf).c_str())) << hero.failure();
        EXPECT_EQ(*hero.getPosition(), Position(40, 100));
        EXPECT_EQ(hero.getState(), StandRight);
        EXPECT_EQ(hero.getCurrentPicture(), hero.getStatePicture(StandRight));
        EXPECT_EQ(hero.getGraphic()->getPictures().front(), hero.getStatePicture(StandRight));
        EXPECT_FLOAT_EQ(hero.getGraphic()->getProperties().getDepth(), 0.8f);
        EXPECT_EQ(hero.getShape(), hero.getStateShape(StandRight));

        // Block 8's pair places the left shooting pose; elsewhere it is the anchor.
        StripedAnimatedBitmapPicture* shootLeft = hero.getStatePicture(ShootLeft);
        EXPECT_EQ(shootLeft->getProperties().getPosition(), Position(5, 7));
        EXPECT_EQ(shootLeft->getProperties().getAnchor(), Position(0, 0));
        EXPECT_EQ(shootLeft->getFrameCount(), 1);
        EXPECT_EQ(hero.getStatePicture(WalkRight)->getFrameCount(), 3);
        EXPECT_EQ(hero.getStatePicture(StandLeft)->getWidth(), 16.0f);
        EXPECT_EQ(hero.getStatePicture(StandLeft)->getHeight(), 32.0f);
        EXPECT_NE(hero.getStatePicture(StandLeft)->getStrip()->getTexture(), 0u);

        std::list<Position> rectangle = {Position(0, 0), Position(16, 0), Position(16, 32),
                                         Position(0, 32), Position(0, 0)};
        for (int s = StandLeft; s <= ShootRight; ++s)
            EXPECT_EQ(hero.getStateShape(HerosState(s))->getPolygon(0).getPoints(), rectangle);
        EXPECT_EQ(hero.getStateShape(HitLeft), nullptr);

        // The left walk negates the file's positive speed.
        hero.walkLeft();
        Position p(0, 0);
        hero.getMovement()->apply(&p);
        EXPECT_EQ(p, Position(-2.5f, 0));
        hero.walkRight();
        p.set(0, 0);
        hero.getMovement()->apply(&p);
        EXPECT_EQ(p, Position(2.5f, 0));
    }
}

TEST(HerosFile, MissingOrShortFilesAreReportedNotPlayed) {
    Heros missing;
    EXPECT_FALSE(missing.load("/nonexistent/Heros.ini"));
    EXPECT_EQ(missing.failure(), "/nonexistent/Heros.ini: cannot open the file");

    const std::string full = HeroFixture::heroFileText("Images/none.png", "none.ogg");
    // Cut before every item but the last (a cut inside a value token can still read).
    const size_t lastItem = full.find_last_of(" \n", full.size() - 2);
    for (size_t cut = 0; cut <= lastItem; ++cut) {
        if (cut > 0 && full[cut] != ' ' && full[cut] != '\n')
            continue;
        const std::string path = writeTempFile("Heros.ini", full.substr(0, cut));
        Heros hero;
        EXPECT_FALSE(hero.load(path.c_str())) << "cut at " << cut;
        EXPECT_EQ(hero.failure().rfind(path + ": missing ", 0), 0u) << hero.failure();
    }
    Heros whole;
    EXPECT_TRUE(whole.load(writeTempFile("Heros.ini", full).c_str())) << whole.failure();
}

TEST(HerosFile, EmptyAndNegativeSoundPoolsStaySilent) {
    std::string text = HeroFixture::heroFileText("Images/none.png", "none.ogg");
    const size_t sounds = text.find("Sounds of hero");
    text = text.substr(0, sounds) +
           "Sounds of hero count:0\nlanding count:-3\nshot count:0\nhurt count:0\n";
    Heros hero;
    ASSERT_TRUE(hero.load(writeTempFile("Heros.ini", text).c_str())) << hero.failure();
    hero.jump();
    EXPECT_EQ(hero.getState(), AirRight);
    Heros shooter;
    shooter.load(writeTempFile("Heros.ini", text).c_str());
    EXPECT_TRUE(shooter.shoot());
    EXPECT_EQ(shooter.getCurrentShotSound(), nullptr);
}

TEST_F(HerosWorld, LandsExactlyOnTheGroundAndStaysSupported) {
    placeHero(200, 60);
    frame(); // nothing below: the fall starts
    EXPECT_EQ(hero.getState(), AirRight);
    runUntilStanding();
    EXPECT_EQ(hero.getState(), StandRight);
    EXPECT_EQ(heroY(), 20.0f);
    EXPECT_EQ(heroX(), 200.0f); // the upward jump movement has no sideways step
    for (int i = 0; i < 10; ++i)
        frame();
    EXPECT_EQ(hero.getState(), StandRight);
    EXPECT_TRUE(hero.isGrounded());
    EXPECT_EQ(heroY(), 20.0f);
}

TEST_F(HerosWorld, WalkingOffAPlatformFallsWhileDrifting) {
    placeHero(70, 80);
    frame();
    EXPECT_EQ(hero.getState(), StandRight);
    hero.walkRight();
    float lastX = heroX();
    while (hero.getState() == WalkRight && heroX() < 300) {
        lastX = heroX();
        frame();
    }
    EXPECT_EQ(hero.getState(), AirRight);
    EXPECT_GT(lastX, 100.0f - HeroFixture::kWidth); // walked until past the edge
    const float startFallX = heroX();
    frame();
    frame();
    EXPECT_GT(heroX(), startFallX); // keeps the right jump's sideways step
    runUntilStanding();
    EXPECT_EQ(hero.getState(), StandRight); // lands standing, not walking
    EXPECT_EQ(heroY(), 20.0f);
    hero.stopRight(); // releasing the key now changes nothing
    EXPECT_EQ(hero.getState(), StandRight);
}

TEST_F(HerosWorld, RisingThroughAPlatformDoesNotLand) {
    placeHero(70, 20);
    frame();
    ASSERT_EQ(hero.getState(), StandRight);
    hero.jump();
    EXPECT_EQ(hero.getState(), AirRight);
    bool passedPlatform = false;
    for (int i = 0; i < 200 && hero.getState() == AirRight; ++i) {
        const float before = heroY();
        frame();
        if (heroY() > before) {
            EXPECT_EQ(hero.getState(), AirRight);
            EXPECT_FALSE(hero.isGrounded());
            passedPlatform = passedPlatform || heroY() > 80;
        }
    }
    // The jump peaks about 120 px up, above the platform, then lands on it.
    EXPECT_TRUE(passedPlatform);
    EXPECT_EQ(hero.getState(), StandRight);
    EXPECT_EQ(heroY(), 80.0f);
}

TEST_F(HerosWorld, NoDoubleJumpAndHeldKeysDoNotResumeWalking) {
    placeHero(300, 20);
    frame();
    hero.walkLeft();
    EXPECT_EQ(hero.getState(), WalkLeft);
    hero.jump();
    ASSERT_EQ(hero.getState(), AirLeft);
    frame();
    frame();
    SautMovement* jump = static_cast<SautMovement*>(hero.getMovement());
    const float speed = jump->getSpeedY();
    hero.jump(); // in the air: nothing
    EXPECT_EQ(jump->getSpeedY(), speed);
    EXPECT_FALSE(hero.shoot());
    hero.walkRight(); // no walking from the air
    EXPECT_EQ(hero.getState(), AirLeft);
    runUntilStanding();
    EXPECT_EQ(hero.getState(), StandLeft);
    hero.stopLeft();
    EXPECT_EQ(hero.getState(), StandLeft);
    // Turning while walking is immediate; releasing the first key changes nothing.
    hero.walkLeft();
    hero.walkRight();
    EXPECT_EQ(hero.getState(), WalkRight);
    hero.stopLeft();
    EXPECT_EQ(hero.getState(), WalkRight);
    EXPECT_TRUE(hero.shoot());
    EXPECT_EQ(hero.getState(), ShootRight);
    hero.jump();
    EXPECT_EQ(hero.getState(), ShootRight);
    hero.stopShooting();
    EXPECT_EQ(hero.getState(), StandRight);
}

TEST_F(HerosWorld, AHitInMidAirHangsUntilThePoseEnds) {
    projectile.setPosition(Position(495, 200));
    projectile.setVisible(true, &state);
    placeHero(500, 300);
    frame();
    ASSERT_EQ(hero.getState(), AirRight);
    int frames = 0;
    while (hero.getState() == AirRight && frames++ < 400)
        frame();
    ASSERT_EQ(hero.getState(), HitRight);
    EXPECT_EQ(hero.getLives(), 2);
    EXPECT_EQ(hero.getMovement(), nullptr);
    EXPECT_EQ(hero.getCurrentPicture(), hero.getStatePicture(HitRight));
    EXPECT_EQ(hero.getCurrentPicture()->getFrame(), 0);
    const float hangY = heroY();
    projectile.setVisible(false, &state); // gone: no more hits
    while (fakeNow - 0 < 1000000 && hero.getState() == HitRight) {
        EXPECT_EQ(heroY(), hangY);
        frame();
    }
    EXPECT_EQ(hero.getState(), StandRight); // after 3000 ms, then the fall starts next frame
    frame();
    EXPECT_EQ(hero.getState(), AirRight);
}

TEST_F(HerosWorld, TheThirdHitNeverRecovers) {
    projectile.setPosition(Position(195, 15));
    placeHero(200, 20);
    for (int hit = 1; hit <= 3; ++hit) {
        projectile.setVisible(true, &state);
        frame();
        ASSERT_EQ(hero.getState(), HitRight) << "hit " << hit;
        EXPECT_EQ(hero.getLives(), 3 - hit);
        frame(); // hits do not stack during the pose
        EXPECT_EQ(hero.getLives(), 3 - hit);
        projectile.setVisible(false, &state);
        fakeNow += 3100;
        frame();
        if (hit < 3) {
            EXPECT_EQ(hero.getState(), StandRight);
        }
    }
    EXPECT_EQ(hero.getState(), HitRight);
    fakeNow += 100000;
    frame();
    EXPECT_EQ(hero.getState(), HitRight);
    hero.walkLeft();
    hero.jump();
    EXPECT_FALSE(hero.shoot());
    EXPECT_EQ(hero.getState(), HitRight);
}

TEST_F(HerosWorld, OtherObjectsOnlyPrintTheirTrace) {
    Trigger wall;
    wall.setType("Mur");
    testing::internal::CaptureStdout();
    hero.onCollision(&wall, Position(0, 0), Position(0, 0), Position(0, 0), Position(0, 0));
    GameObject plain;
    hero.onCollision(&plain, Position(0, 0), Position(0, 0), Position(0, 0), Position(0, 0));
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Autre collisionAutre collision");
    // An invisible projectile does nothing at all.
    testing::internal::CaptureStdout();
    hero.onCollision(&projectile, Position(0, 0), Position(0, 0), Position(0, 0), Position(0, 0));
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(hero.getLives(), 3);
    // Strict clamps: exactly -10 and 930 stay, beyond is pulled back.
    placeHero(-10, 0);
    hero.keepInBounds();
    EXPECT_EQ(heroX(), -10.0f);
    placeHero(-10.5f, 0);
    hero.keepInBounds();
    EXPECT_EQ(heroX(), -10.0f);
    placeHero(930, 0);
    hero.keepInBounds();
    EXPECT_EQ(heroX(), 930.0f);
    placeHero(931, 0);
    hero.keepInBounds();
    EXPECT_EQ(heroX(), 930.0f);
}
