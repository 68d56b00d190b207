#include <cmath>
#include <gtest/gtest.h>

#include "app/GameManager.h"
#include "graphics/BitmapPicture.h"
#include "graphics/Graphic.h"
#include "graphics/StripedAnimatedBitmapPicture.h"
#include "support/GlContext.h"
#include "support/TestImage.h"

namespace {

// The cell whose body shows at (x, y), 8 for the white band, -1 for the background.
int cellAt(int x, int y) {
    const GlContext::Rgba p = GlContext::pixel(x, y);
    return p.g > 240 ? 8 : p.b < 100 ? -1 : static_cast<int>(std::lround((p.r - 20) / 30.0));
}

int* table(std::initializer_list<int> values) {
    int* cells = new int[values.size()];
    std::copy(values.begin(), values.end(), cells);
    return cells;
}

std::vector<int> framesOverDraws(StripedAnimatedBitmapPicture& animation, int draws) {
    std::vector<int> frames;
    for (int i = 0; i < draws; ++i) {
        animation.draw();
        frames.push_back(animation.getFrame());
    }
    return frames;
}

// Pacing depends on the game's frame rate: each case runs at 60.
class StripedAnimation : public testing::Test {
protected:
    void SetUp() override { GameManager::setFrameRate(60); }
    void TearDown() override { GameManager::setFrameRate(savedRate); }
    const int savedRate = GameManager::getFrameRate();
    BitmapPicture unloaded{"", GraphicProperties(), nullptr, 0}; // sizes only, draws nothing
};

} // namespace

// 128 x 64 strip of 32 x 32 cells, 4 to a row: a white band over each cell's
// top 8 rows and a body whose red channel (20 + 30 k) names cell k.
TEST_F(StripedAnimation, DrawsItsCellUprightOnTheStripLentForOneDraw) {
    TestImage image(128, 64);
    for (int k = 0; k < 8; ++k) {
        image.fill(k % 4 * 32, k / 4 * 32, 32, 8, 255, 255, 255, 255);
        image.fill(k % 4 * 32, k / 4 * 32 + 8, 32, 24, 20 + 30 * k, 0, 128, 255);
    }
    const std::string path = TestImage::tempDir() + "/strip.png";
    image.save(path);
    BitmapPicture strip(path, GraphicProperties(), nullptr, 0);
    ASSERT_TRUE(strip.loadTexture());
    strip.getProperties().setDepth(1.5f); // would be clipped if the strip's own depth were used
    StripedAnimatedBitmapPicture animation(&strip, 32, 32, 12, false, table({5, 2}), 2);
    animation.getProperties().setPosition(0, 10);
    Graphic graphic;
    graphic.getProperties().setPosition(40, 40);
    graphic.addPicture(&animation);
    for (const auto& [frame, cell] : {std::pair{0, 5}, {1, 2}}) {
        animation.setFrame(frame);
        GlContext::reset();
        graphic.draw(); // one cell at x 40..72, y 50..82, the band on top
        const std::vector<int> seen{cellAt(42, 58), cellAt(70, 58), cellAt(56, 80),
                                    cellAt(38, 58), cellAt(74, 58), cellAt(56, 48)};
        EXPECT_EQ(seen, (std::vector<int>{cell, cell, 8, -1, -1, -1}));
    }
    EXPECT_EQ(std::make_pair(strip.getWidth(), strip.getHeight()), std::make_pair(128.0f, 64.0f));
    EXPECT_EQ(strip.getProperties().getDepth(), 1.5f);
}

TEST_F(StripedAnimation, TextureRectangleComesFromTheGridOncePerFrameChange) {
    StripedAnimatedBitmapPicture animation(&unloaded, 64, 64, 12, false, table({5, 3}), 2);
    unloaded.setWidth(256);
    unloaded.setHeight(128);
    for (const auto& [frame, s, t] : {std::tuple{0, 0.25f, 0.5f}, {1, 0.75f, 0.0f}}) {
        animation.setFrame(frame);
        animation.draw();
        EXPECT_EQ(animation.getTexOrigin(), Position(s, t));
        EXPECT_EQ(animation.getTexSize(), Position(0.25f, 0.5f));
    }
    // Frames outside the table and cells narrower than a pixel or wider than
    // the strip keep the last rectangle.
    for (const auto& [frame, width] : {std::pair{2, 64.0f}, {-1, 64.0f}, {0, 0.5f}, {0, 257.0f}}) {
        animation.setFrame(frame);
        animation.setWidth(width);
        animation.draw();
        EXPECT_EQ(animation.getTexOrigin(), Position(0.75f, 0));
    }
    animation.setWidth(64);
    unloaded.setWidth(512); // eight columns
    animation.draw();
    EXPECT_EQ(animation.getTexOrigin(), Position(0.625f, 0));
    unloaded.setWidth(256); // not seen until the frame changes
    animation.draw();
    EXPECT_EQ(animation.getTexSize(), Position(0.125f, 0.5f));
    animation.setCells(table({6}), 1); // a new table may put another cell behind the frame
    animation.draw();
    EXPECT_EQ(animation.getTexOrigin(), Position(0.5f, 0.5f));
}

TEST_F(StripedAnimation, FramesArePacedByDrawsAndWrapAroundTheTable) {
    struct Case {
        int rate, speed;
        std::vector<int> frames;
    };
    for (const Case& c : {Case{60, 12, {0, 0, 0, 0, 1, 1, 1, 1, 1, 2}}, // every 5th draw
                          Case{60, 7, {0, 0, 0, 0, 0, 0, 0, 1, 1, 1}},  // 60 / 7 = 8
                          Case{60, 120, {2, 4, 6}}, Case{60, 90, {1, 2, 3}},
                          Case{60, 45, {1, 2, 3}}, Case{60, 0, {0, 0}}, Case{60, -30, {0, 0}},
                          Case{0, 12, {0, 0}}, Case{30, 12, {0, 1, 1, 2, 2}}}) {
        GameManager::setFrameRate(c.rate);
        StripedAnimatedBitmapPicture animation(&unloaded, 8, 8, c.speed, true, new int[9](), 9);
        EXPECT_EQ(framesOverDraws(animation, c.frames.size()), c.frames) << c.speed;
    }
    StripedAnimatedBitmapPicture animation(&unloaded, 8, 8, 120, true, table({0, 1, 2}), 3);
    EXPECT_EQ(framesOverDraws(animation, 2), (std::vector<int>{1, 2})); // 30 fps: 4 per draw
    for (int i = 0; i < 3; ++i) // down to 0 without wrapping early, then round
        animation.previousFrame();
    EXPECT_EQ(animation.getFrame(), 2);
    animation.setFrame(7);
    animation.nextFrame(); // back into the table
    EXPECT_EQ(animation.getFrame(), 0);
    animation.setPlaying(false);
    EXPECT_EQ(framesOverDraws(animation, 2), (std::vector<int>{0, 0}));
    animation.setPlaying(true);
    animation.setStrip(nullptr); // nothing drawn, nothing advanced
    EXPECT_EQ(framesOverDraws(animation, 2), (std::vector<int>{0, 0}));
}
