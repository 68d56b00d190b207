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

// 64 x 32: top-left red, top-right green, bottom-left blue, bottom-right white.
std::string quadrants() {
    TestImage image(64, 32);
    image.fill(0, 0, 32, 16, 255, 0, 0);
    image.fill(32, 0, 32, 16, 0, 255, 0);
    image.fill(0, 16, 32, 16, 0, 0, 255);
    image.fill(32, 16, 32, 16, 255, 255, 255);
    return image.save(tempDir() + "/quadrants.bmp");
}

// The picture in a graphic at (40, 40), anchored at (32, 0): the quad covers x 8..72, y 40..72.
struct Scene {
    explicit Scene(const std::string& path, int flip = 0)
        : picture(path, GraphicProperties(), nullptr, flip) {
        picture.getProperties().setAnchor(32, 0);
        graphic.getProperties().setPosition(40, 40);
        graphic.addPicture(&picture);
    }
    // The quad's corners (top-left, top-right, bottom-left, bottom-right) and four points round it.
    std::string draw() {
        GlContext::reset();
        graphic.draw();
        return GlContext::colours(
            {{12, 68}, {68, 68}, {12, 44}, {68, 44}, {5, 50}, {75, 50}, {40, 75}, {40, 37}});
    }
    BitmapPicture picture;
    Graphic graphic;
};

std::string framesOverDraws(StripedAnimatedBitmapPicture& animation, size_t draws) {
    std::string frames;
    while (frames.size() < draws) {
        animation.draw();
        frames += std::to_string(animation.getFrame());
    }
    return frames;
}

} // namespace

TEST(BitmapPicture, DrawsTheTextureRectangleUprightOrFlippedFromItsAnchor) {
    const int h = BitmapPicture::FlipHorizontal, v = BitmapPicture::FlipVertical;
    // Flip, texture rectangle (s, t, width, height) and what shows: flips mirror inside it.
    for (const auto& [flip, s, t, w, ht, seen] :
         {std::tuple{h, 0.0f, 0.0f, 1.0f, 1.0f, "grwbkkkk"},
          {0, 0.5f, 0.0f, 0.5f, 1.0f, "ggwwkkkk"},
          {v, 0.0f, 0.0f, 0.5f, 1.0f, "bbrrkkkk"},
          {h | v, 0.25f, 0.375f, 0.5f, 0.25f, "wbgrkkkk"}}) {
        Scene scene(quadrants(), flip);
        ASSERT_TRUE(scene.picture.loadTexture());
        scene.picture.setTexOrigin(Position(s, t));
        scene.picture.setTexWidth(w);
        scene.picture.setTexHeight(ht);
        EXPECT_EQ(scene.draw(), seen) << flip << " " << s;
    }
    Scene scene(quadrants()); // an RGB file is converted before upload
    ASSERT_TRUE(scene.picture.loadTexture());
    EXPECT_EQ(scene.draw(), "rgbwkkkk");
    // Opacity is the graphic's times the picture's; the GL switches are off after the quad.
    scene.picture.getProperties().setAlpha(0.5f);
    scene.graphic.getProperties().setAlpha(0.5f);
    scene.draw();
    EXPECT_NEAR(GlContext::pixel(12, 68).r, 64, 3);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D) || glIsEnabled(GL_BLEND) || glIsEnabled(GL_ALPHA_TEST));
    scene.picture.unloadTexture(); // no texture draws nothing, whatever the size
    scene.picture.setWidth(64);
    scene.picture.setHeight(32);
    EXPECT_EQ(scene.draw(), "kkkkkkkk");
}

// The quadrants as a strip of four 32 x 16 cells: red, green, blue, white.
TEST(StripedAnimation, DrawsItsCellFromTheStripLentForOneDrawAndPacesFramesByDraws) {
    Scene scene(quadrants());
    ASSERT_TRUE(scene.picture.loadTexture());
    scene.picture.getProperties().setDepth(1.5f); // clipped if the strip's own depth were used
    StripedAnimatedBitmapPicture animation(&scene.picture, 32, 16, 12, false, new int[2]{3, 1}, 2);
    scene.graphic.removePicture(&scene.picture);
    scene.graphic.addPicture(&animation);
    EXPECT_EQ(scene.draw(), "kkwkkkkk"); // the cell at x 8..40, y 40..56
    BitmapPicture row(quadrants(), GraphicProperties(), nullptr, 0);
    ASSERT_TRUE(row.loadTexture());
    row.setWidth(128); // four cells in a row: the same frame shows another cell
    animation.setStrip(&row);
    EXPECT_EQ(scene.draw(), "kkkgkkkk");          // unanchored: x 40..72
    scene.graphic.getProperties().setAlpha(0.5f); // lent for the draw: the graphic's opacity
    scene.draw();
    EXPECT_NEAR(GlContext::pixel(68, 44).g, 128, 3);
    StripedAnimatedBitmapPicture whole(&scene.picture, 64, 32, 0, false, new int[1](), 1);
    whole.draw(); // one cell as wide as the strip
    EXPECT_EQ(whole.getTexSize(), Position(1, 1));
    StripedAnimatedBitmapPicture thin(&scene.picture, 1, 32, 0, false, new int[1]{3}, 1);
    thin.draw(); // cells a pixel wide
    EXPECT_EQ(thin.getTexOrigin(), Position(3.0f / 64, 0));
    // Frame rate, speed and the frames over successive draws.
    const int savedRate = GameManager::getFrameRate();
    const std::tuple<int, int, std::string> paced[] = {{60, 12, "0000111112"}, {60, 120, "246"},
                                                       {60, 45, "123"},        {60, 0, "00"},
                                                       {0, 12, "00"},          {30, 7, "00011112"}};
    for (const auto& [rate, speed, frames] : paced) {
        GameManager::setFrameRate(rate);
        StripedAnimatedBitmapPicture a(&scene.picture, 32, 16, speed, true, new int[9](), 9);
        EXPECT_EQ(framesOverDraws(a, frames.size()), frames) << speed;
    }
    StripedAnimatedBitmapPicture wrapping(&scene.picture, 32, 16, 120, true, new int[3]{0, 1, 2},
                                          3);
    EXPECT_EQ(framesOverDraws(wrapping, 2), "12"); // 30 fps: 4 per draw
    for (int i = 0; i < 3; ++i)                    // down to 0 without wrapping early, then round
        wrapping.previousFrame();
    wrapping.setStrip(nullptr); // nothing drawn, nothing advanced
    EXPECT_EQ(framesOverDraws(wrapping, 2), "22");
    GameManager::setFrameRate(savedRate);
}
