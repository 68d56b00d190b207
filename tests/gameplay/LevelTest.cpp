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
#include "support/IdleState.h"
#include "support/LevelFixture.h"
#include "support/RecordingSoundSystem.h"
#include "support/ScriptedClock.h"
#include "support/ScriptedRandom.h"
#include "support/TempFile.h"

namespace {

using Log = std::vector<std::string>;

class LevelLoad : public testing::Test {
protected:
    void SetUp() override {
        GlContext::reset();
        HazardSpot::resetSoundLatch();
        ASSERT_TRUE(hero.load(HeroFixture::writeHeroFile(false).c_str()));
    }
    void TearDown() override { Collision::clearCollisions(); }
    void load(const LevelFixture::Options& options = LevelFixture::Options()) {
        files = std::make_unique<LevelFixture>(options);
        ASSERT_TRUE(level.load(files->levelFile.c_str(), &hero, &state)) << level.failure();
    }
    // Starts the wave timer at 2000 ms and lets it run out.
    void waveDue() {
        random.push({0});
        level.update(0);
        ScriptedClock::advance(2001);
    }
    std::string spots() {
        std::string s;
        for (HazardSpot* spot : level.getHazardSpots())
            s += spot->isIdle() ? '.' : spot->isWarning() ? 'w' : 'D';
        return s;
    }
    Target* target(int i) {
        return static_cast<Target*>(*std::next(level.getTargetGroup()->getChildren().begin(), i));
    }
    float alpha(Target* t) { return t->getPicture()->getProperties().getAlpha(); }

    ScriptedClock clock{1000};
    ScriptedRandom random;
    RecordingSoundSystem sound;
    std::unique_ptr<LevelFixture> files;
    Heros hero;
    IdleState state;
    Level level;
};

} // namespace

TEST_F(LevelLoad, BuildsEveryObjectAndRegistersTheHeroPairsInOrder) {
    for (bool crlf : {false, true}) {
        SCOPED_TRACE(crlf ? "CRLF" : "LF");
        Collision::clearCollisions();
        LevelFixture::Options options;
        options.crlf = crlf;
        LevelFixture files(options);
        IdleState shown;
        Level read;
        ASSERT_TRUE(read.load(files.levelFile.c_str(), &hero, &shown)) << read.failure();
        EXPECT_EQ(*read.getPlatforms().back()->getPosition(), Position(600, 300));
        EXPECT_EQ(read.getShotOffset(), Position(20, -30));
        // Whole-line items keep their spaces and lose the carriage return.
        HazardSpot* spot = read.getHazardSpots()[1];
        spot->activate();
        BitmapPicture* warning =
            static_cast<BitmapPicture*>(spot->getGraphic()->getPictures().front());
        EXPECT_NE(warning->getTexture(), 0u) << warning->getFileName();
        EXPECT_EQ(warning->getProperties().getPosition(), Position(100, 600));
        EXPECT_EQ(*spot->getProjectile()->getPosition(), Position(100, 400));
        // One collision with the hero as subject: ground, platforms, then projectiles.
        ASSERT_EQ(Collision::getCollisions().size(), 1u);
        std::list<GameObject*> order = {read.getGround(), read.getPlatforms().front(),
                                        read.getPlatforms().back()};
        for (HazardSpot* s : read.getHazardSpots())
            order.push_back(s->getProjectile());
        EXPECT_EQ(Collision::getCollisions().front()->getOthers(), order);
        EXPECT_EQ(Collision::getCollisions().front()->getNotifyOther(),
                  std::list<bool>(order.size(), false));
        // Two closed target outlines, transparent pictures at depth 0.2.
        Target* first = static_cast<Target*>(read.getTargetGroup()->getChildren().front());
        EXPECT_EQ(read.getTargetGroup()->getChildren().size(), 2u);
        EXPECT_EQ(first->getShape()->getPolygon(0).getPointCount(), 5);
        EXPECT_EQ(first->getPicture()->getProperties().getAlpha(), 0.0f);
        EXPECT_FLOAT_EQ(first->getPicture()->getProperties().getDepth(), 0.2f);
        // Level, 2 platforms, 6 spots, 2 targets and the group are shown.
        EXPECT_EQ(shown.getObjects().size(), 12u);
    }
}

TEST_F(LevelLoad, WavesComeAtTheDrawnIntervalAndStrikeDistinctSpots) {
    const int sizes[][3] = {{0, 5, 3}, {1, 4, 2},  {2, 4, 2},  {3, 3, 2}, {6, 3, 2},
                            {7, 2, 1}, {14, 2, 1}, {15, 1, 0}, {29, 1, 0}};
    for (const auto& row : sizes) {
        int spotCount = 0, strength = 0;
        Level::waveSize(row[0], spotCount, strength);
        EXPECT_EQ(std::make_pair(spotCount, strength), std::make_pair(row[1], row[2])) << row[0];
    }
    for (const auto& [r, delay] : {std::pair{0, 2000}, {16383, 3999}, {32767, 5999}})
        EXPECT_EQ(Level::waveDelayFor(r), delay) << r;

    load();
    random.push({0}); // interval 2000 ms
    level.update(0);
    ScriptedClock::advance(2000);
    level.update(0);
    EXPECT_EQ(spots(), "......"); // exactly 2000 ms is not more than 2000
    sound.take();
    random.push({1, 2, 2, 0, 0}); // 4 spots: indices 2, 2, 0, 0 of what remains
    ScriptedClock::advance(1);
    level.update(0);
    EXPECT_TRUE(random.exhausted());
    // Remaining lists: [0..5] -> take 2; [0,1,3,4,5] -> take 3; [0,1,4,5] -> 0; [1,4,5] -> 1.
    EXPECT_EQ(spots(), "wwww..");
    EXPECT_EQ(level.getWaveDelay(), -1);
    EXPECT_EQ(level.getHazardSpots()[2]->getSound(), level.getWaveSounds()[2]);
    EXPECT_EQ(sound.take(), Log{"play Sounds/wave.ogg"});
}

// The real generator and clock, not a script: waves must come every 2 to 6 s.
TEST_F(LevelLoad, RealGeneratorDrawsIntervalsAcrossTwoToSixSeconds) {
    GameRandom::setSource(nullptr);
    for (unsigned int seed : {0u, 1234u, 98765u}) {
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
}

TEST_F(LevelLoad, ABusySpotKeepsItsPhaseButTakesTheNewSound) {
    load();
    HazardSpot* spot = level.getHazardSpots()[0];
    waveDue();
    random.push({20, 0}); // one spot, strength 0: spot 0
    level.update(0);
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
    load(options);
    waveDue();
    random.push({0, 0, 0, 0, 0, 0}); // five spots wanted, strength 3: no sound for it
    level.update(0);
    EXPECT_EQ(spots(), "ww");
    EXPECT_EQ(level.getHazardSpots()[0]->getSound(), nullptr);
}

TEST_F(LevelLoad, OneSpotAtATimeVoicesItsDanger) {
    load();
    std::vector<HazardSpot*> s = level.getHazardSpots();
    for (int i = 0; i < 3; ++i) {
        s[i]->setSound(level.getWaveSounds()[i]);
        s[i]->activate();
    }
    ScriptedClock::advance(501);
    sound.take();
    s[0]->update(0);
    s[1]->update(0); // while the first speaks, the second is silent
    EXPECT_EQ(sound.take(), Log{"play Sounds/w0.ogg"});
    EXPECT_TRUE(s[0]->getProjectile()->isVisible() && s[1]->isDangerous());
    ScriptedClock::advance(501);
    s[0]->update(0); // the first to leave frees the voice
    s[2]->update(0);
    EXPECT_EQ(sound.take(), Log{"play Sounds/w2.ogg"});
    EXPECT_EQ(spots(), ".DD...");
    EXPECT_FALSE(s[0]->getProjectile()->isVisible());
}

TEST_F(LevelLoad, TargetsFillOverBurstsAndCompleteOnTheNextUpdate) {
    load();
    TargetGroup* group = level.getTargetGroup();
    // The shot point is the hero position plus (20, -30); (150, 140) is inside
    // both targets (they overlap): only the first in layout order fills.
    level.fireAt(Position(130, 170));
    EXPECT_EQ(group->getCurrentTarget(), target(0));
    level.fireAt(Position(900, 900)); // a miss keeps the target being filled
    EXPECT_EQ(group->getCurrentTarget(), target(0));
    EXPECT_FALSE(target(1)->isFilling());
    ScriptedClock::advance(1500);
    target(0)->update(0);
    level.ceaseFire();
    EXPECT_FLOAT_EQ(alpha(target(0)), 0.75f);
    ScriptedClock::advance(5000); // paused: nothing grows
    target(0)->update(0);
    EXPECT_FLOAT_EQ(alpha(target(0)), 0.75f);
    level.fireAt(Position(130, 170));
    ScriptedClock::advance(500);
    target(0)->update(0);
    EXPECT_FLOAT_EQ(alpha(target(0)), 1.0f);
    EXPECT_FALSE(target(0)->isComplete());
    target(0)->update(0);
    EXPECT_TRUE(target(0)->isComplete());
    level.ceaseFire();
    // A complete target refuses shots; the overlapping second one takes them.
    level.fireAt(Position(130, 170));
    EXPECT_EQ(group->getCurrentTarget(), target(1));
    level.ceaseFire();
    EXPECT_EQ(group->getCurrentTarget(), nullptr);
    level.fireAt(Position(900, 900));
    EXPECT_EQ(group->getCurrentTarget(), nullptr);
}

TEST_F(LevelLoad, ATargetTakesPointsInTheBoxOfItsFourCorners) {
    load();
    const std::pair<Position, bool> points[] = {{Position(100, 100), true},
                                                {Position(150, 140), true}, // corners count
                                                {Position(150.5f, 120), false},
                                                {Position(120, 99.5f), false}};
    for (const auto& [point, taken] : points) {
        EXPECT_EQ(target(0)->tryStart(point), taken) << point.getX() << " " << point.getY();
        target(0)->pause();
    }
    // Points after the four corners are not corners.
    Target odd;
    odd.setup(new BitmapPicture("", GraphicProperties(), nullptr, 0),
              new Shape({Polygon({Position(0, 0), Position(10, 0), Position(10, 10),
                                  Position(0, 10), Position(0, 0), Position(100, 5)})}),
              Position(0, 0));
    EXPECT_FALSE(odd.tryStart(Position(50, 5)));
    EXPECT_TRUE(odd.tryStart(Position(5, 5)));
    EXPECT_FALSE(Target().tryStart(Position(0, 0))); // no outline, no corners
}

TEST_F(LevelLoad, ReleasedInTheFrameTheAlphaReachesOneCompletesOnTheNextShot) {
    load();
    level.fireAt(Position(100, 150)); // shot point (120, 120)
    ScriptedClock::advance(2000);
    target(0)->update(0);
    level.ceaseFire();
    EXPECT_FALSE(target(0)->isComplete());
    level.fireAt(Position(100, 150));
    target(0)->update(0);
    EXPECT_TRUE(target(0)->isComplete());
}

TEST_F(LevelLoad, TheLayoutIsPickedAtRandomFromTheList) {
    LevelFixture::Options options;
    options.layoutCount = 3;
    for (int i = 0; i < 3; ++i)
        options.layouts[i] =
            "Images/none.png x:" + std::to_string(100 * i) + " y:0 0 0 10 0 10 10 0 10\n";
    for (const auto& [r, picked] : {std::pair{0, 0}, {4, 1}, {32765, 2}}) {
        random.push({r});
        LevelFixture files(options);
        Level read;
        ASSERT_TRUE(read.load(files.levelFile.c_str(), &hero, &state)) << read.failure();
        const GameObject* only = read.getTargetGroup()->getChildren().front();
        EXPECT_EQ(only->getPosition()->getX(), 100.0f * picked) << r;
    }
}

TEST_F(LevelLoad, BrokenFilesAreReportedWithTheirNames) {
    Level missing;
    EXPECT_FALSE(missing.load("/nonexistent/Niveau1.ini", &hero, &state));
    EXPECT_EQ(missing.failure(), "/nonexistent/Niveau1.ini: cannot open the file");
    LevelFixture files;
    std::ifstream in(files.levelFile);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    const std::string cut = writeTempFile("Niveau1.ini", text.substr(0, text.find("Targets")));
    Level shortLevel;
    EXPECT_FALSE(shortLevel.load(cut.c_str(), &hero, &state));
    EXPECT_EQ(shortLevel.failure(), cut + ": missing the targets heading");
    // A huge count in a short file: no giant allocation, just a failure.
    std::string huge = text;
    huge.replace(huge.find("Hazards count:6"), 15, "Hazards count:2000000000");
    Level hugeLevel;
    EXPECT_FALSE(hugeLevel.load(writeTempFile("Niveau1.ini", huge).c_str(), &hero, &state));
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
    load(options);
    EXPECT_TRUE(level.getTargetGroup()->getChildren().empty());
    level.fireAt(Position(0, 0));
    EXPECT_EQ(level.getTargetGroup()->getCurrentTarget(), nullptr);
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
    EXPECT_TRUE(level.load(files.levelFile.c_str(), &hero, &state)) << level.failure();
    writer.join();
    EXPECT_FALSE(levelFileOpen);
}
