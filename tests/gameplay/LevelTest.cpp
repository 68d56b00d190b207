#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "app/GameRandom.h"
#include "app/GameState.h"
#include "gameplay/HazardSpot.h"
#include "gameplay/Heros.h"
#include "gameplay/Level.h"
#include "gameplay/Plateforme.h"
#include "gameplay/Target.h"
#include "gameplay/TargetGroup.h"
#include "gameplay/Trigger.h"
#include "graphics/BitmapPicture.h"
#include "graphics/Collision.h"
#include "graphics/Graphic.h"
#include "graphics/Shape.h"
#include "support/GlContext.h"
#include "support/HeroFixture.h"
#include "support/LevelFixture.h"
#include "support/ScriptedRandom.h"
#include "support/TempFile.h"

namespace {

class TestState : public GameState {
public:
    void handleEvents() override {}
};

class LevelLoad : public ::testing::Test {
protected:
    void SetUp() override {
        GlContext::reset();
        HazardSpot::resetSoundLatch();
        ASSERT_TRUE(hero.load(HeroFixture::writeHeroFile(false).c_str()));
    }
    void TearDown() override { Collision::clearCollisions(); }

    int activeSpots(const Level& level) {
        int n = 0;
        for (HazardSpot* spot : level.getHazardSpots())
            n += spot->isIdle() ? 0 : 1;
        return n;
    }

    ScriptedClock clock{1000};
    ScriptedRandom random;
    Heros hero;
    TestState state;
};

} // namespace

TEST_F(LevelLoad, BuildsEveryObjectAndRegistersTheHeroPairsInOrder) {
    for (bool crlf : {false, true}) {
        SCOPED_TRACE(crlf ? "CRLF" : "LF");
        Collision::clearCollisions();
        LevelFixture::Options options;
        options.crlf = crlf;
        LevelFixture files(options);
        TestState shown;
        Level level;
        ASSERT_TRUE(level.load(files.levelFile.c_str(), &hero, &shown)) << level.failure();

        EXPECT_EQ(level.getGround()->getType(), "Sol");
        EXPECT_EQ(level.getPlatforms().size(), 2u);
        EXPECT_EQ(*level.getPlatforms().back()->getPosition(), Position(600, 300));
        ASSERT_EQ(level.getHazardSpots().size(), 6u);
        EXPECT_EQ(level.getShotOffset(), Position(20, -30));
        EXPECT_EQ(level.getWaveSounds().size(), 4u);
        EXPECT_NE(level.getWaveSound(), nullptr);

        // Whole-line items keep their spaces and lose the carriage return.
        HazardSpot* spot = level.getHazardSpots()[1];
        spot->activate();
        BitmapPicture* warning =
            static_cast<BitmapPicture*>(spot->getGraphic()->getPictures().front());
        EXPECT_NE(warning->getTexture(), 0u) << warning->getFileName();
        EXPECT_EQ(warning->getProperties().getPosition(), Position(100, 600));
        EXPECT_EQ(*spot->getProjectile()->getPosition(), Position(100, 400));
        EXPECT_EQ(spot->getProjectile()->getShape()->getPolygon(0).getPointCount(), 4);

        // One collision with the hero as subject: ground, platforms, then projectiles.
        ASSERT_EQ(Collision::getCollisions().size(), 1u);
        const std::list<GameObject*>& others = Collision::getCollisions().front()->getOthers();
        std::vector<GameObject*> order(others.begin(), others.end());
        ASSERT_EQ(order.size(), 9u);
        EXPECT_EQ(order[0], level.getGround());
        EXPECT_EQ(order[1], level.getPlatforms().front());
        EXPECT_EQ(order[3], level.getHazardSpots()[0]->getProjectile());
        for (bool notify : Collision::getCollisions().front()->getNotifyOther())
            EXPECT_FALSE(notify);

        // Two targets, closed outlines, transparent pictures at depth 0.2.
        TargetGroup* group = level.getTargetGroup();
        ASSERT_EQ(group->getChildren().size(), 2u);
        Target* first = static_cast<Target*>(group->getChildren().front());
        EXPECT_EQ(first->getShape()->getPolygon(0).getPointCount(), 5);
        EXPECT_EQ(first->getPicture()->getProperties().getAlpha(), 0.0f);
        EXPECT_FLOAT_EQ(first->getPicture()->getProperties().getDepth(), 0.2f);
        // Level, 2 platforms, 6 spots, 2 targets and the group are shown.
        EXPECT_EQ(shown.getObjects().size(), 12u);
    }
}

TEST_F(LevelLoad, WavesComeAtTheDrawnIntervalAndStrikeDistinctSpots) {
    EXPECT_EQ(Level::waveDelayFor(0), 2000);
    EXPECT_EQ(Level::waveDelayFor(32767), 5999);
    EXPECT_EQ(Level::waveDelayFor(16383), 3999);
    int spots = 0, strength = 0;
    const int expected[][3] = {{0, 5, 3}, {1, 4, 2},  {2, 4, 2},  {3, 3, 2}, {6, 3, 2},
                               {7, 2, 1}, {14, 2, 1}, {15, 1, 0}, {29, 1, 0}};
    for (const auto& row : expected) {
        Level::waveSize(row[0], spots, strength);
        EXPECT_EQ(spots, row[1]) << row[0];
        EXPECT_EQ(strength, row[2]) << row[0];
    }

    LevelFixture files;
    Level level;
    ASSERT_TRUE(level.load(files.levelFile.c_str(), &hero, &state));
    random.push({0}); // interval 2000 ms
    level.update(0);
    EXPECT_EQ(level.getWaveDelay(), 2000);
    ScriptedClock::advance(2000);
    level.update(0);
    EXPECT_EQ(activeSpots(level), 0); // exactly 2000 ms is not more than 2000
    random.push({1, 2, 2, 0, 0});     // 4 spots: indices 2, 2, 0, 0 of what remains
    ScriptedClock::advance(1);
    level.update(0);
    EXPECT_TRUE(random.exhausted());
    EXPECT_EQ(level.getWaveDelay(), -1);
    EXPECT_EQ(level.getWaveLevel(), 2);
    const std::vector<HazardSpot*>& s = level.getHazardSpots();
    // Remaining lists: [0..5] -> take 2; [0,1,3,4,5] -> take 3; [0,1,4,5] -> 0; [1,4,5] -> 1.
    EXPECT_TRUE(s[2]->isWarning() && s[3]->isWarning() && s[0]->isWarning() && s[1]->isWarning());
    EXPECT_TRUE(s[4]->isIdle() && s[5]->isIdle());
    EXPECT_EQ(s[2]->getSound(), level.getWaveSounds()[2]);
}

// The real generator and clock, not a script: waves must come every 2 to 6 s.
TEST_F(LevelLoad, RealGeneratorDrawsIntervalsAcrossTwoToSixSeconds) {
    GameRandom::setSource(nullptr);
    for (unsigned int seed : {0u, 1234u, 5000u, 98765u}) {
        GameRandom::seed(seed);
        int lowest = 6000, highest = 0;
        for (int i = 0; i < 4000; ++i) {
            const int delay = Level::waveDelayFor(GameRandom::next());
            ASSERT_TRUE(delay >= 2000 && delay <= 5999) << delay << " seed " << seed;
            lowest = std::min(lowest, delay);
            highest = std::max(highest, delay);
        }
        EXPECT_LT(lowest, 2100) << seed;
        EXPECT_GT(highest, 5899) << seed;
    }
    LevelFixture files;
    Level level;
    TestState state;
    ASSERT_TRUE(level.load(files.levelFile.c_str(), &hero, &state));
    level.update(0);
    EXPECT_GE(level.getWaveDelay(), 2000);
    EXPECT_LE(level.getWaveDelay(), 5999);
}

TEST_F(LevelLoad, ABusySpotKeepsItsPhaseButTakesTheNewSound) {
    LevelFixture files;
    Level level;
    ASSERT_TRUE(level.load(files.levelFile.c_str(), &hero, &state));
    HazardSpot* spot = level.getHazardSpots()[0];
    random.push({0}); // interval
    level.update(0);
    ScriptedClock::advance(2001);
    random.push({20, 0}); // one spot, strength 0: spot 0
    level.update(0);
    ASSERT_TRUE(spot->isWarning());
    EXPECT_EQ(spot->getSound(), level.getWaveSounds()[0]);

    random.push({0}); // next interval
    level.update(0);
    ScriptedClock::advance(300);
    spot->update(0); // still warning: 300 ms of 500
    ScriptedClock::advance(1701);
    random.push({8, 0}); // two spots, strength 1, first pick is spot 0 again
    level.update(0);
    EXPECT_TRUE(spot->isWarning());                        // not restarted...
    EXPECT_EQ(spot->getSound(), level.getWaveSounds()[1]); // ...but re-voiced
    ScriptedClock::advance(1);
    spot->update(0); // 2002 ms after its start: danger now
    EXPECT_TRUE(spot->isDangerous());
}

TEST_F(LevelLoad, WavesLargerThanTheLevelAndMissingSoundsAreHarmless) {
    LevelFixture::Options options;
    options.spots = 2;
    options.waveSounds = 1;
    LevelFixture files(options);
    Level level;
    ASSERT_TRUE(level.load(files.levelFile.c_str(), &hero, &state));
    random.push({0});
    level.update(0);
    ScriptedClock::advance(2001);
    random.push({0, 0, 0, 0, 0, 0}); // five spots wanted, strength 3: no sound for it
    level.update(0);
    EXPECT_EQ(activeSpots(level), 2);
    EXPECT_EQ(level.getHazardSpots()[0]->getSound(), nullptr);
}

TEST_F(LevelLoad, TheDangerSoundLatchLetsOneSpotSpeak) {
    LevelFixture files;
    Level level;
    ASSERT_TRUE(level.load(files.levelFile.c_str(), &hero, &state));
    HazardSpot* a = level.getHazardSpots()[0];
    HazardSpot* b = level.getHazardSpots()[1];
    a->activate();
    b->activate();
    ScriptedClock::advance(501);
    EXPECT_FALSE(HazardSpot::isSoundLatched());
    a->update(0);
    EXPECT_TRUE(HazardSpot::isSoundLatched());
    EXPECT_TRUE(a->getProjectile()->isVisible());
    b->update(0);
    EXPECT_TRUE(b->isDangerous());
    ScriptedClock::advance(501);
    a->update(0); // the first to leave clears the latch while b is still dangerous
    EXPECT_FALSE(HazardSpot::isSoundLatched());
    EXPECT_FALSE(a->getProjectile()->isVisible());
    EXPECT_TRUE(a->isIdle());
    EXPECT_TRUE(b->isDangerous());
}

TEST_F(LevelLoad, TargetsFillOverBurstsAndCompleteOnTheNextUpdate) {
    LevelFixture files;
    Level level;
    ASSERT_TRUE(level.load(files.levelFile.c_str(), &hero, &state));
    TargetGroup* group = level.getTargetGroup();
    Target* first = static_cast<Target*>(group->getChildren().front());
    Target* second = static_cast<Target*>(group->getChildren().back());

    // The shot point is the hero position plus (20, -30); (150, 140) is inside
    // both targets (they overlap): only the first in layout order fills.
    level.fireAt(Position(130, 170));
    EXPECT_EQ(group->getCurrentTarget(), first);
    EXPECT_FALSE(second->isFilling());
    ScriptedClock::advance(1500);
    first->update(0);
    level.ceaseFire();
    EXPECT_NEAR(first->getPicture()->getProperties().getAlpha(), 0.75f, 1e-6);
    ScriptedClock::advance(5000); // paused: nothing grows
    first->update(0);
    EXPECT_NEAR(first->getPicture()->getProperties().getAlpha(), 0.75f, 1e-6);

    level.fireAt(Position(130, 170));
    ScriptedClock::advance(500);
    first->update(0);
    EXPECT_NEAR(first->getPicture()->getProperties().getAlpha(), 1.0f, 1e-6);
    EXPECT_FALSE(first->isComplete());
    first->update(0);
    EXPECT_TRUE(first->isComplete());
    level.ceaseFire();
    // A complete target refuses shots; the overlapping second one takes them.
    level.fireAt(Position(130, 170));
    EXPECT_EQ(group->getCurrentTarget(), second);
    level.ceaseFire();
    EXPECT_EQ(group->getCurrentTarget(), nullptr);
    // Far away: nothing fills and the release only clears.
    level.fireAt(Position(900, 900));
    EXPECT_EQ(group->getCurrentTarget(), nullptr);
}

TEST_F(LevelLoad, ReleasedInTheFrameTheAlphaReachesOneCompletesOnTheNextShot) {
    LevelFixture::Options options;
    options.layouts[0] = "Images/none.png x:100 y:100 0 0 50 0 50 40 0 40\n";
    LevelFixture files(options);
    Level level;
    ASSERT_TRUE(level.load(files.levelFile.c_str(), &hero, &state));
    Target* target = static_cast<Target*>(level.getTargetGroup()->getChildren().front());
    // Edges and corners count: (100, 100) is the lower-left corner.
    EXPECT_TRUE(target->tryStart(Position(100, 100)));
    target->pause();
    EXPECT_TRUE(target->tryStart(Position(150, 140)));
    target->pause();
    EXPECT_FALSE(target->tryStart(Position(150.5f, 120)));
    EXPECT_FALSE(target->tryStart(Position(120, 99.5f)));

    level.fireAt(Position(100, 150)); // shot point (120, 120)
    ScriptedClock::advance(2000);
    target->update(0);
    level.ceaseFire();
    EXPECT_FALSE(target->isComplete());
    level.fireAt(Position(100, 150));
    target->update(0);
    EXPECT_TRUE(target->isComplete());
}

TEST_F(LevelLoad, BrokenFilesAreReportedWithTheirNames) {
    Level missing;
    EXPECT_FALSE(missing.load("/nonexistent/Niveau1.ini", &hero, &state));
    EXPECT_EQ(missing.failure(), "/nonexistent/Niveau1.ini: cannot open the file");

    LevelFixture files;
    std::string text;
    {
        std::ifstream in(files.levelFile);
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const std::string cut = writeTempFile("Niveau1.ini", text.substr(0, text.find("Targets")));
    Level shortLevel;
    EXPECT_FALSE(shortLevel.load(cut.c_str(), &hero, &state));
    EXPECT_EQ(shortLevel.failure(), cut + ": missing the targets heading");

    // A huge count in a short file: no giant allocation, just a failure.
    std::string huge = text;
    huge.replace(huge.find("Hazards count:6"), 15, "Hazards count:2000000000");
    Level hugeLevel;
    EXPECT_FALSE(hugeLevel.load(writeTempFile("Niveau1.ini", huge).c_str(), &hero, &state));

    // A missing layout list names the list.
    std::string noList = text;
    noList.replace(noList.find(files.dir + "/layouts.txt"), files.dir.size() + 12,
                   "/nonexistent/layouts.txt");
    Level listless;
    EXPECT_FALSE(listless.load(writeTempFile("Niveau1.ini", noList).c_str(), &hero, &state));
    EXPECT_EQ(listless.failure(), "/nonexistent/layouts.txt: cannot open the file");
}

TEST_F(LevelLoad, AnEmptyLayoutListBuildsNoTargets) {
    LevelFixture::Options options;
    options.layoutCount = 0;
    LevelFixture files(options);
    Level level;
    ASSERT_TRUE(level.load(files.levelFile.c_str(), &hero, &state)) << level.failure();
    EXPECT_TRUE(level.getTargetGroup()->getChildren().empty());
    level.fireAt(Position(0, 0));
    level.ceaseFire();
}

// The layout list is a pipe here, so the test sees the open files at the
// moment the level opens it.
TEST_F(LevelLoad, TheLevelFileIsClosedBeforeTheLayoutListOpens) {
    LevelFixture files;
    const std::string list = files.dir + "/layouts.txt";
    std::ifstream original(list);
    const std::string text((std::istreambuf_iterator<char>(original)), {});
    ASSERT_EQ(::unlink(list.c_str()), 0);
    ASSERT_EQ(::mkfifo(list.c_str(), 0600), 0);
    bool levelFileOpen = true;
    std::thread writer([&] {
        std::ofstream pipe(list); // returns once the level opened the list
        levelFileOpen = false;
        for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
            std::error_code error;
            if (std::filesystem::read_symlink(entry.path(), error) == files.levelFile)
                levelFileOpen = true;
        }
        pipe << text;
    });
    Level level;
    EXPECT_TRUE(level.load(files.levelFile.c_str(), &hero, &state)) << level.failure();
    writer.join();
    EXPECT_FALSE(levelFileOpen);
}
