#include <GL/gl.h>
#include <gtest/gtest.h>

#include "app/GameManager.h"
#include "graphics/BitmapPicture.h"
#include "graphics/Graphic.h"
#include "graphics/StripedAnimatedBitmapPicture.h"
#include "support/GlContext.h"
#include "support/TempFile.h"
#include "support/TestImage.h"

namespace {

std::string framesOverDraws(StripedAnimatedBitmapPicture& animation, size_t draws) {
    std::string frames;
    while (frames.size() < draws) {
        animation.draw();
        frames += std::to_string(animation.getFrame());
    }
    return frames;
}

} // namespace

// The strip is lent the cell's depth and graphic for the draw: the opacity is the graphic's times
// the strip's, and the GL switches are off after the quad.
TEST(StripedAnimation, DrawsThroughItsStripWithItsOwnDepthAndGraphic) {
    BitmapPicture strip(TestImage::solid(tempDir() + "/white.bmp", 64, 32, 255, 255, 255),
                        GraphicProperties(), nullptr, 0);
    ASSERT_TRUE(strip.loadTexture());
    strip.getProperties().setDepth(1.5f); // clipped if the strip's own depth were used
    strip.getProperties().setAlpha(0.5f);
    StripedAnimatedBitmapPicture cell(&strip, 32, 16, 0, false, new int[1](), 1);
    Graphic graphic;
    graphic.addPicture(&cell);
    graphic.getProperties().setAlpha(0.5f);
    GlContext::reset();
    graphic.draw();
    EXPECT_NEAR(GlContext::pixel(4, 4).r, 64, 3);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D) || glIsEnabled(GL_BLEND) || glIsEnabled(GL_ALPHA_TEST));
    TestImage twoColumns(2, 1); // cells a pixel wide: the second is green
    twoColumns.fill(1, 0, 1, 1, 0, 255, 0);
    BitmapPicture thin(twoColumns.save(tempDir() + "/two.bmp"), GraphicProperties(), nullptr, 0);
    ASSERT_TRUE(thin.loadTexture());
    StripedAnimatedBitmapPicture column(&thin, 1, 1, 0, false, new int[1]{1}, 1);
    GlContext::reset();
    column.draw();
    EXPECT_EQ(GlContext::colours({{0, 0}}), "g");
}

// The game's pictures are neither turned nor scaled: a point one unit right of and above the
// position, scaled (2, 3), lands at (2, 3) from it, or at (-3, 2) turned a quarter left first.
TEST(GraphicProperties, TheMatrixScalesThenTurnsAboutThePosition) {
    for (const auto& [angle, x, y] : {std::tuple{0.0f, 7.0f, 10.0f}, {90.0f, 2.0f, 9.0f}}) {
        float m[16];
        GraphicProperties(Position(5, 7), Rotation(angle), Scale(2, 3), 0, 1, Position(0, 0))
            .getMatrix(m);
        EXPECT_NEAR(m[0] + m[4] + m[12], x, 1e-5f) << angle;
        EXPECT_NEAR(m[1] + m[5] + m[13], y, 1e-5f) << angle;
    }
}

// Which cell a frame shows is in the replays' pictures; how fast frames turn over is not: frame
// rate, speed and the frames over successive draws.
TEST(StripedAnimation, PacesFramesByDrawsAtTheGamesFrameRate) {
    BitmapPicture strip("", GraphicProperties(), nullptr, 0); // pacing needs no texture
    const int savedRate = GameManager::getFrameRate();
    const std::tuple<int, int, std::string> paced[] = {{60, 12, "0000111112"}, {60, 120, "246"},
                                                       {60, 45, "123"},        {60, 0, "00"},
                                                       {0, 12, "00"},          {30, 7, "00011112"}};
    for (const auto& [rate, speed, frames] : paced) {
        GameManager::setFrameRate(rate);
        StripedAnimatedBitmapPicture a(&strip, 32, 16, speed, true, new int[9](), 9);
        EXPECT_EQ(framesOverDraws(a, frames.size()), frames) << speed;
    }
    StripedAnimatedBitmapPicture wrapping(&strip, 32, 16, 120, true, new int[3]{0, 1, 2}, 3);
    EXPECT_EQ(framesOverDraws(wrapping, 2), "12"); // 30 fps: 4 per draw
    for (int i = 0; i < 3; ++i)                    // down to 0 without wrapping early, then round
        wrapping.previousFrame();
    wrapping.setStrip(nullptr); // nothing drawn, nothing advanced
    EXPECT_EQ(framesOverDraws(wrapping, 2), "22");
    GameManager::setFrameRate(savedRate);
}
