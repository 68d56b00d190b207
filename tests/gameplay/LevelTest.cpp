#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
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
    load();
    EXPECT_EQ(*level.getPlatforms().back()->getPosition(), Position(600, 300));
    // Whole-line items keep their spaces.
    HazardSpot* spot = level.getHazardSpots()[1];
    spot->activate();
    BitmapPicture* warning = static_cast<BitmapPicture*>(spot->getGraphic()->getPictures().front());
    EXPECT_NE(warning->getTexture(), 0u) << warning->getFileName();
    EXPECT_EQ(warning->getProperties().getPosition(), Position(100, 600));
    EXPECT_EQ(*spot->getProjectile()->getPosition(), Position(100, 400));
    BitmapPicture* rock =
        static_cast<BitmapPicture*>(spot->getProjectile()->getGraphic()->getPictures().front());
    EXPECT_NE(rock->getTexture(), 0u);
    // Platforms collide by their outline, not their picture.
    std::unique_ptr<Shape> top(level.getPlatforms().front()->getWorldShape());
    EXPECT_EQ(top->getPolygon(0).getPoints(), (std::list<Position>{{200, 420}, {328, 420}}));
    // Depths: platforms 0.6, projectiles 0.9.
    EXPECT_FLOAT_EQ(level.getPlatforms().front()->getGraphic()->getProperties().getDepth(), 0.6f);
    EXPECT_FLOAT_EQ(spot->getProjectile()->getGraphic()->getProperties().getDepth(), 0.9f);
    // One collision with the hero as subject: ground, platforms, then projectiles.
    ASSERT_EQ(Collision::getCollisions().size(), 1u);
    std::list<GameObject*> order = {level.getGround(), level.getPlatforms().front(),
                                    level.getPlatforms().back()};
    for (HazardSpot* s : level.getHazardSpots())
        order.push_back(s->getProjectile());
    EXPECT_EQ(Collision::getCollisions().front()->getOthers(), order);
    EXPECT_EQ(Collision::getCollisions().front()->getNotifyOther(),
              std::list<bool>(order.size(), false));
    // Two closed target outlines, transparent pictures at depth 0.2.
    EXPECT_EQ(level.getTargetGroup()->getChildren().size(), 2u);
    EXPECT_EQ(target(0)->getShape()->getPolygon(0).getPointCount(), 5);
    EXPECT_EQ(alpha(target(0)), 0.0f);
    EXPECT_FLOAT_EQ(target(0)->getPicture()->getProperties().getDepth(), 0.2f);
    // Level, 2 platforms, 6 spots, 2 targets and the group are shown.
    EXPECT_EQ(state.getObjects().size(), 12u);
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
    EXPECT_EQ(level.getHazardSpots()[2]->getSound(), level.getWaveSounds()[2]);
    EXPECT_EQ(sound.take(), Log{"play Sounds/wave.ogg"});
    level.update(0); // the next interval starts now
    ScriptedClock::advance(1999);
    level.update(0);
    EXPECT_EQ(sound.take(), Log{});
}

// The real generator and clock, not a script: waves must come every 2 to 6 s.
TEST_F(LevelLoad, RealGeneratorDrawsIntervalsAcrossTwoToSixSeconds) {
    GameRandom::setSource(nullptr);
    for (unsigned int seed : {0u, 1234u, 98765u}) {
        GameRandom::seed(seed);
        std::set<int> delays;
        for (int i = 0; i < 4000; ++i)
            delays.insert(Level::waveDelayFor(GameRandom::next()));
        EXPECT_GE(*delays.begin(), 2000) << seed;
        EXPECT_LT(*delays.begin(), 2100) << seed;
        EXPECT_GT(*delays.rbegin(), 5899) << seed;
        EXPECT_LE(*delays.rbegin(), 5999) << seed;
    }
}

TEST_F(LevelLoad, WavesLargerThanTheLevelAndMissingSoundsAreHarmless) {
    LevelFixture::Options options;
    options.spots = 2;
    options.waveSounds = 1;
    load(options);
    random.push({0, 0, 0, 0, 0, 0, 0}); // 2000 ms; five spots wanted, strength 3: no sound for it
    level.update(0);
    ScriptedClock::advance(2001);
    level.update(0);
    EXPECT_EQ(spots(), "ww");
    EXPECT_EQ(level.getHazardSpots()[0]->getSound(), nullptr);
}

TEST_F(LevelLoad, ASpotWarnsThenStrikesFor500msEachAndOneAtATimeVoicesIt) {
    load();
    std::vector<HazardSpot*> s = level.getHazardSpots();
    for (int i = 0; i < 3; ++i) {
        s[i]->setSound(level.getWaveSounds()[i]);
        s[i]->activate();
    }
    sound.take();
    const auto after = [&](unsigned int ms, std::initializer_list<int> updated) {
        ScriptedClock::advance(ms);
        for (int i : updated)
            s[i]->update(0);
        return spots();
    };
    EXPECT_EQ(after(500, {0, 1}), "www...");
    EXPECT_EQ(after(1, {0, 1}), "DDw...");
    // While the first speaks, the second is silent.
    EXPECT_EQ(sound.take(), Log{"play Sounds/w0.ogg"});
    EXPECT_TRUE(s[0]->getProjectile()->isVisible() && s[0]->getGraphic()->getPictures().empty());
    EXPECT_EQ(after(500, {0}), "DDw...");
    EXPECT_EQ(after(1, {0, 2}), ".DD..."); // the first to leave frees the voice
    EXPECT_EQ(sound.take(), Log{"play Sounds/w2.ogg"});
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
    const std::pair<Position, bool> points[] = {
        {Position(100, 100), true},     {Position(150, 140), true}, // corners count
        {Position(150.5f, 120), false}, {Position(99.5f, 120), false},
        {Position(120, 140.5f), false}, {Position(120, 99.5f), false}};
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

TEST_F(LevelLoad, TheLayoutIsPickedAtRandomFromTheList) {
    LevelFixture::Options options;
    for (int i = 0; i < 3; ++i)
        options.layouts[i] =
            "Images/none.png x:" + std::to_string(100 * i) + " y:0 0 0 10 0 10 10 0 10\n";
    // Layouts listed, the draw, the x of the one target built (-1: none).
    for (const auto& [count, r, x] :
         {std::tuple{3, 0, 0.0f}, {3, 4, 100}, {3, 32765, 200}, {0, 7, -1}}) {
        options.layoutCount = count;
        random.push({r});
        LevelFixture files(options);
        Level read;
        ASSERT_TRUE(read.load(files.levelFile.c_str(), &hero, &state)) << read.failure();
        const std::list<GameObject*>& built = read.getTargetGroup()->getChildren();
        EXPECT_EQ(built.empty() ? -1 : built.front()->getPosition()->getX(), x) << r;
    }
}

TEST_F(LevelLoad, BrokenFilesAreReportedWithTheirNames) {
    Level missing;
    EXPECT_FALSE(missing.load("/nonexistent/Niveau1.ini", &hero, &state));
    EXPECT_EQ(missing.failure(), "/nonexistent/Niveau1.ini: cannot open the file");
    LevelFixture files;
    std::ifstream in(files.levelFile);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    const auto failure = [&](const std::string& broken) {
        const std::string path = writeTempFile("Niveau1.ini", broken);
        Level read;
        EXPECT_FALSE(read.load(path.c_str(), &hero, &state));
        const std::string& f = read.failure();
        return f.rfind(path, 0) == 0 ? f.substr(path.size()) : f;
    };
    EXPECT_EQ(failure(text.substr(0, text.find("Targets"))), ": missing the targets heading");
    // A huge count in a short file: no giant allocation, just a failure.
    std::string huge = text;
    EXPECT_EQ(failure(huge.replace(huge.find("count:6"), 7, "count:2000000000")),
              ": missing a projectile image path");
    text.replace(text.find(files.dir + "/layouts.txt"), files.dir.size(), "/nonexistent");
    EXPECT_EQ(failure(text), "/nonexistent/layouts.txt: cannot open the file");
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
