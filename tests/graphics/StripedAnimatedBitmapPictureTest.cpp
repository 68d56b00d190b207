#include <cmath>
#include <gtest/gtest.h>

#include "app/GameManager.h"
#include "graphics/BitmapPicture.h"
#include "graphics/Graphic.h"
#include "graphics/Shape.h"
#include "graphics/StripedAnimatedBitmapPicture.h"
#include "support/GlContext.h"
#include "support/TestImage.h"

namespace {

// 128 x 64 strip of 32 x 32 cells, 4 to a row: a white band over each
// cell's top 8 rows and a body whose red channel (20 + 30 k) names cell k.
std::string stripImage() {
    TestImage image(128, 64);
    for (int k = 0; k < 8; ++k) {
        image.fill(k % 4 * 32, k / 4 * 32, 32, 8, 255, 255, 255, 255);
        image.fill(k % 4 * 32, k / 4 * 32 + 8, 32, 24, static_cast<uint8_t>(20 + 30 * k), 0, 128,
                   255);
    }
    const std::string path = TestImage::tempDir() + "/strip.png";
    image.save(path);
    return path;
}

// The cell whose body shows at (x, y), 8 for the white band, -1 for anything else.
int cellAt(int x, int y) {
    GlContext::Rgba p = GlContext::pixel(x, y);
    if (p.r > 240 && p.g > 240 && p.b > 240)
        return 8;
    const int k = static_cast<int>(std::lround((p.r - 20) / 30.0));
    return p.g < 20 && std::abs(p.b - 128) < 5 && std::abs(p.r - 20 - 30 * k) < 5 ? k : -1;
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

TEST_F(StripedAnimation, DrawsItsCellUprightOnTheStripLentForOneDraw) {
    BitmapPicture strip(stripImage(), GraphicProperties(), nullptr, 0);
    ASSERT_TRUE(strip.loadTexture());
    Graphic owner; // hidden: the strip must draw as part of the animation's graphic
    owner.getProperties().setAlpha(0.0f);
    strip.setParent(&owner);
    strip.getProperties().setDepth(1.5f); // would be clipped if the strip's own depth were used
    strip.getProperties().setAnchor(16, 0);
    StripedAnimatedBitmapPicture animation(&strip, 32, 32, 12, false, table({5, 2, 7}), 3);
    animation.getProperties().setAnchor(8, 0); // moves the outline only
    animation.getProperties().setAlpha(0.0f);  // only the graphic's and the strip's count
    animation.getProperties().setPosition(0, 10);
    Graphic graphic;
    graphic.getProperties().setPosition(40, 40);
    graphic.addPicture(&animation);
    for (const auto& [frame, cell] : {std::pair{0, 5}, {1, 2}, {2, 7}}) {
        animation.setFrame(frame);
        GlContext::reset();
        graphic.draw(); // one cell at x 24..56, y 50..82, the band on top
        const std::vector<int> seen{cellAt(26, 58), cellAt(54, 58), cellAt(40, 80),
                                    cellAt(22, 58), cellAt(58, 58), cellAt(40, 48)};
        EXPECT_EQ(seen, (std::vector<int>{cell, cell, 8, -1, -1, -1}));
    }
    EXPECT_EQ(std::make_pair(strip.getWidth(), strip.getHeight()), std::make_pair(128.0f, 64.0f));
    EXPECT_EQ(strip.getProperties().getDepth(), 1.5f);
    EXPECT_EQ(strip.getParent(), &owner);
    Shape* outline = animation.createShape();
    EXPECT_EQ(outline->getPolygons().front().getPoints(),
              (std::list<Position>{{-8, 0}, {24, 0}, {24, 32}, {-8, 32}}));
    delete outline;
}

TEST_F(StripedAnimation, TextureRectangleComesFromTheGridOncePerFrameChange) {
    StripedAnimatedBitmapPicture animation(&unloaded, 64, 64, 12, false, table({5, 3, 1}), 3);
    animation.draw(); // a strip without a size only postpones it
    EXPECT_EQ(animation.getTexSize(), Position(0, 0));
    unloaded.setWidth(256);
    unloaded.setHeight(128);
    const Position origins[] = {{0.25f, 0.5f}, {0.75f, 0}, {0.25f, 0}};
    for (int frame : {0, 1, 2}) {
        animation.setFrame(frame);
        animation.draw();
        EXPECT_EQ(animation.getTexOrigin(), origins[frame]);
        EXPECT_EQ(animation.getTexSize(), Position(0.25f, 0.5f));
    }
    // Frames outside the table and cells narrower than a pixel or wider than
    // the strip keep the last rectangle.
    for (int frame : {3, -1}) {
        animation.setFrame(frame);
        animation.draw();
    }
    animation.setFrame(0);
    for (float width : {0.5f, 257.0f}) {
        animation.setWidth(width);
        animation.draw();
    }
    EXPECT_EQ(animation.getTexOrigin(), Position(0.25f, 0));
    animation.setWidth(64);
    unloaded.setWidth(512);
    animation.draw();
    EXPECT_EQ(animation.getTexOrigin(), Position(0.625f, 0));
    EXPECT_EQ(animation.getTexSize(), Position(0.125f, 0.5f));
    unloaded.setWidth(256); // not seen until the frame changes
    animation.draw();
    EXPECT_EQ(animation.getTexSize(), Position(0.125f, 0.5f));
    animation.setCells(table({6}), 1); // a new table may put another cell behind the frame
    animation.draw();
    EXPECT_EQ(animation.getTexOrigin(), Position(0.5f, 0.5f));
    animation.setWidth(256); // exactly the strip: one column
    animation.setCells(table({1}), 1);
    animation.draw();
    EXPECT_EQ(animation.getTexOrigin(), Position(0, 0.5f));
    animation.setCells(nullptr, 0);
    animation.draw();
    EXPECT_EQ(animation.getTexOrigin(), Position(0, 0.5f));
}

TEST_F(StripedAnimation, FramesArePacedByDrawsAndWrapAroundTheTable) {
    auto paced = [this](int speed, int draws) {
        StripedAnimatedBitmapPicture animation(&unloaded, 8, 8, speed, true, new int[99](), 99);
        return framesOverDraws(animation, draws);
    };
    EXPECT_EQ(paced(12, 11), (std::vector<int>{0, 0, 0, 0, 1, 1, 1, 1, 1, 2, 2})); // every 5th
    EXPECT_EQ(paced(12, 60).back(), 12);                                           // 12 a second
    std::vector<int> sevens = paced(7, 16);                                        // 60 / 7 = 8
    EXPECT_EQ(std::vector<int>(sevens.begin() + 6, sevens.end()),
              (std::vector<int>{0, 1, 1, 1, 1, 1, 1, 1, 1, 2}));
    EXPECT_EQ(paced(120, 3), (std::vector<int>{2, 4, 6})); // two per draw
    EXPECT_EQ(paced(90, 3), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(paced(45, 3), (std::vector<int>{1, 2, 3})); // 60 / 45 = 1: one per draw
    for (int speed : {0, -30})
        EXPECT_EQ(paced(speed, 9).back(), 0);
    GameManager::setFrameRate(0);
    EXPECT_EQ(paced(12, 9).back(), 0);
    GameManager::setFrameRate(30);
    EXPECT_EQ(paced(12, 5), (std::vector<int>{0, 1, 1, 2, 2}));

    StripedAnimatedBitmapPicture animation(&unloaded, 8, 8, 120, true, table({0, 1, 2}), 3);
    EXPECT_EQ(framesOverDraws(animation, 2), (std::vector<int>{1, 2})); // 30 fps: 4 per draw
    animation.setFrame(2);
    animation.nextFrame();
    EXPECT_EQ(animation.getFrame(), 0);
    animation.previousFrame();
    EXPECT_EQ(animation.getFrame(), 2);
    animation.previousFrame();
    animation.previousFrame(); // down to 0 without wrapping early
    EXPECT_EQ(animation.getFrame(), 0);
    animation.setFrame(7);
    animation.nextFrame(); // back into the table
    EXPECT_EQ(animation.getFrame(), 0);
    animation.setPlaying(false);
    EXPECT_EQ(framesOverDraws(animation, 2), (std::vector<int>{0, 0}));
    animation.setPlaying(true);
    animation.setStrip(nullptr); // nothing drawn, nothing advanced
    EXPECT_EQ(framesOverDraws(animation, 2), (std::vector<int>{0, 0}));
}
