#include <cmath>
#include <gtest/gtest.h>

#include "app/GameManager.h"
#include "graphics/BitmapPicture.h"
#include "graphics/Graphic.h"
#include "graphics/Shape.h"
#include "graphics/StripedAnimatedBitmapPicture.h"
#include "scene/GameObject.h"
#include "support/GlContext.h"
#include "support/TempFile.h"
#include "support/TestImage.h"

static std::string framesOverDraws(StripedAnimatedBitmapPicture& animation, size_t draws) {
    std::string frames;
    while (frames.size() < draws) {
        animation.draw();
        frames += std::to_string(animation.getFrame());
    }
    return frames;
}

// The strip is lent the cell's depth and graphic: opacity is the graphic's times the strip's. Which
// cell shows is in the replays' pictures; how fast frames turn over is not.
TEST(StripedAnimation, DrawsThroughItsStripWithItsOwnDepthAndGraphicPacedAtTheGamesFrameRate) {
    BitmapPicture strip(TestImage::solid(tempDir() + "/white.bmp", 64, 32, 255, 255, 255),
                        GraphicProperties(), nullptr, 0);
    ASSERT_TRUE(strip.loadTexture());
    strip.getProperties().setDepth(1.5f); // clipped if the strip's own depth were used
    strip.getProperties().setAlpha(0.5f);
    StripedAnimatedBitmapPicture cell(&strip, 32, 16, 0, false, new int[1](), 1);
    Graphic graphic;
    graphic.addPicture(&cell);
    graphic.getProperties().setAlpha(0.5f);
    cell.getProperties().setDepth(0.9f); // the depth moves nothing: the corners are drawn
    GlContext::reset();
    Position origin(0, 0);
    GameObject(false, nullptr, &graphic, nullptr, nullptr, &origin, nullptr, true).update(0);
    EXPECT_NEAR(GlContext::pixel(0, 0).r, 64, 3);
    EXPECT_NEAR(GlContext::pixel(31, 15).r, 64, 3);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D) || glIsEnabled(GL_BLEND) || glIsEnabled(GL_ALPHA_TEST));
    BitmapPicture thin(TestImage::solid(tempDir() + "/two.bmp", 2, 1, 0, 255, 0, 1),
                       GraphicProperties(), nullptr, 0); // cells a pixel wide, the second green
    ASSERT_TRUE(thin.loadTexture());
    StripedAnimatedBitmapPicture column(&thin, 1, 1, 0, false, new int[1]{1}, 1);
    GlContext::reset();
    column.draw();
    EXPECT_EQ(GlContext::colours({{0, 0}}), "g");
    column.setStrip(&strip); // the same frame cut from another strip
    column.draw();
    EXPECT_EQ(column.getTexSize(), Position(1 / 64.0f, 1 / 32.0f));
    BitmapPicture flipped(TestImage::solid(tempDir() + "/half.bmp", 32, 16, 0, 255, 0, 16),
                          GraphicProperties(), nullptr, 1); // turned left to right
    ASSERT_TRUE(flipped.loadTexture());
    GlContext::reset();
    flipped.draw();
    EXPECT_EQ(GlContext::colours({{4, 1}, {4, 14}, {27, 1}, {27, 14}}), "ggkk");
    // A cell wider than its strip fits no column (and no division by the count of them).
    StripedAnimatedBitmapPicture(&thin, 4, 1, 0, false, new int[1](), 1).draw();
    BitmapPicture none("", GraphicProperties(), nullptr, 0); // pacing needs no texture
    const int savedRate = GameManager::getFrameRate();
    const std::tuple<int, int, std::string> paced[] = {{60, 12, "0000111112"}, {60, 120, "246"},
                                                       {60, 45, "123"},        {60, 0, "00"},
                                                       {0, 12, "00"},          {30, 7, "00011112"}};
    for (const auto& [rate, speed, frames] : paced) {
        GameManager::setFrameRate(rate);
        StripedAnimatedBitmapPicture a(&none, 32, 16, speed, true, new int[9](), 9);
        EXPECT_EQ(framesOverDraws(a, frames.size()), frames) << speed;
    }
    StripedAnimatedBitmapPicture wrapping(&none, 32, 16, 120, true, new int[3]{0, 1, 2}, 3);
    EXPECT_EQ(framesOverDraws(wrapping, 2), "12"); // 30 fps: 4 per draw
    for (int i = 0; i < 3; ++i)                    // down to 0 without wrapping early, then round
        wrapping.previousFrame();
    wrapping.setStrip(nullptr); // nothing drawn, nothing advanced
    EXPECT_EQ(framesOverDraws(wrapping, 2), "22");
    GameManager::setFrameRate(savedRate);
}

// A picture's point one unit right in its graphic, at (2, 1), scaled (2, 3) lands at (4, 3) from
// the graphic's position, or at (-3, 4) turned a quarter left; the matrix stack is left as it was.
TEST(GraphicProperties, AnOutlineIsPlacedThenScaledThenTurnedAboutThePosition) {
    for (const auto& [angle, x, y] :
         {std::tuple{0.0f, 9.0f, 10.0f}, {90.0f, 2.0f, 11.0f}, {180.0f, 1.0f, 4.0f}}) {
        BitmapPicture picture("", {Position(1, 0), Rotation(0), Scale(1, 1), 0, 1, {0, 0}},
                              new Shape({Polygon({Position(1, 1)})}), 0);
        picture.setUseDefaultShape(false);
        Graphic graphic({&picture}, {Position(5, 7), Rotation(angle), Scale(2, 3), 0, 1, {0, 0}},
                        new Shape({Polygon({Position(50, 50)})})); // the pictures' outlines win
        Position origin(0, 0);
        GameObject object(false, nullptr, &graphic, nullptr, nullptr, &origin, nullptr, true);
        GlContext::reset();
        glPushMatrix();
        const std::unique_ptr<Shape> outline(object.getWorldShape());
        GLint depth = 0;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
        glPopMatrix();
        const Position at = outline->getPolygon(0).getPoints().front();
        EXPECT_LT(std::hypot(at.getX() - x, at.getY() - y), 1e-5f) << angle;
        EXPECT_EQ(depth, 2);
    }
    // Pictures draw by depth, one added after a draw among them too.
    BitmapPicture low("", {Position(0, 0), Rotation(0), Scale(1, 1), 0, 1, {0, 0}}, nullptr, 0),
        high("", {Position(0, 0), Rotation(0), Scale(1, 1), 1, 1, {0, 0}}, nullptr, 0);
    Graphic layered({&high}, {}, nullptr);
    layered.draw();
    layered.addPicture(&low);
    layered.draw();
    EXPECT_EQ(layered.getPictures(), (std::list<Picture*>{&low, &high}));
    // A picture's own outline is its rectangle about its anchor; unloaded, it has no size.
    BitmapPicture anchored(TestImage::solid(tempDir() + "/w.bmp", 4, 2, 255, 255, 255),
                           {Position(0, 0), Rotation(0), Scale(1, 1), 0, 1, {1, 0.5f}}, nullptr, 0);
    ASSERT_TRUE(anchored.loadTexture());
    const auto outline = [&] {
        return std::unique_ptr<Shape>(anchored.createShape())->getPolygon(0).getPoints();
    };
    EXPECT_EQ(outline(), (std::list<Position>{{-1, -0.5f}, {3, -0.5f}, {3, 1.5f}, {-1, 1.5f}}));
    anchored.unloadTexture();
    EXPECT_EQ(outline(), std::list<Position>(4, Position(-1, -0.5f)));
}
