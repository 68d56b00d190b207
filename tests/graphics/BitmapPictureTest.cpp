#include <GL/gl.h>
#include <gtest/gtest.h>

#include "graphics/BitmapPicture.h"
#include "graphics/Graphic.h"
#include "graphics/Shape.h"
#include "support/GlContext.h"
#include "support/TestImage.h"

namespace {

using GlContext::pixel;

// 64 x 32: top-left red, top-right green, bottom-left blue, bottom-right white.
std::string quadrantImage(bool asPalette = false) {
    TestImage image(64, 32);
    image.fill(0, 0, 32, 16, 255, 0, 0, 255);
    image.fill(32, 0, 32, 16, 0, 255, 0, 255);
    image.fill(0, 16, 32, 16, 0, 0, 255, 255);
    image.fill(32, 16, 32, 16, 255, 255, 255, 255);
    const std::string path = TestImage::tempDir() + "/quadrants.png";
    image.save(path, asPalette);
    return path;
}

enum Colour { Black, Red, Green, Blue, White, Other };

Colour colourAt(int x, int y) {
    GlContext::Rgba p = pixel(x, y);
    auto on = [](int v) { return v > 200; };
    auto off = [](int v) { return v < 55; };
    if (off(p.r) && off(p.g) && off(p.b))
        return Black;
    if (on(p.r) && off(p.g) && off(p.b))
        return Red;
    if (off(p.r) && on(p.g) && off(p.b))
        return Green;
    if (off(p.r) && off(p.g) && on(p.b))
        return Blue;
    if (on(p.r) && on(p.g) && on(p.b))
        return White;
    return Other;
}

// Quad corners on screen (graphic at (40, 40), anchor (32, 0)): x 8..72, y 40..72.
struct Scene {
    explicit Scene(int flip, const std::string& path)
        : picture(path, GraphicProperties(), nullptr, flip) {
        picture.getProperties().setAnchor(32, 0);
        graphic.getProperties().setPosition(40, 40);
        graphic.addPicture(&picture);
    }
    void draw() {
        GlContext::reset();
        graphic.draw();
    }
    BitmapPicture picture;
    Graphic graphic;
};

} // namespace

TEST(BitmapPicture, DrawsUprightFromItsAnchor) {
    Scene scene(0, quadrantImage());
    ASSERT_TRUE(scene.picture.loadTexture());
    EXPECT_EQ(scene.picture.getWidth(), 64.0f);
    EXPECT_EQ(scene.picture.getHeight(), 32.0f);
    scene.draw();
    EXPECT_EQ(colourAt(12, 68), Red);   // top-left
    EXPECT_EQ(colourAt(68, 68), Green); // top-right
    EXPECT_EQ(colourAt(12, 44), Blue);  // bottom-left
    EXPECT_EQ(colourAt(68, 44), White); // bottom-right
    EXPECT_EQ(colourAt(5, 50), Black);  // left of the quad
    EXPECT_EQ(colourAt(75, 50), Black); // right of it
    EXPECT_EQ(colourAt(40, 75), Black); // above it
    EXPECT_EQ(colourAt(40, 37), Black); // below it

    Shape* outline = scene.picture.createShape();
    std::list<Position> expected = {Position(-32, 0), Position(32, 0), Position(32, 32),
                                    Position(-32, 32)};
    EXPECT_EQ(outline->getPolygons().front().getPoints(), expected);
    delete outline;
}

TEST(BitmapPicture, FlipsMirrorTheImageInTheSameQuad) {
    const std::string path = quadrantImage();
    Scene mirrored(BitmapPicture::FlipHorizontal, path);
    mirrored.picture.loadTexture();
    mirrored.draw();
    EXPECT_EQ(colourAt(12, 68), Green);
    EXPECT_EQ(colourAt(68, 44), Blue);
    EXPECT_EQ(colourAt(5, 50), Black);

    Scene turned(BitmapPicture::FlipHorizontal | BitmapPicture::FlipVertical, path);
    turned.picture.loadTexture();
    turned.draw();
    EXPECT_EQ(colourAt(12, 68), White);
    EXPECT_EQ(colourAt(68, 68), Blue);
    EXPECT_EQ(colourAt(12, 44), Green);
    EXPECT_EQ(colourAt(68, 44), Red);
}

TEST(BitmapPicture, TextureRectangleShowsPartOfTheImage) {
    Scene scene(0, quadrantImage());
    scene.picture.loadTexture();
    scene.picture.setTexOrigin(Position(0.5f, 0));
    scene.picture.setTexWidth(0.5f);
    scene.picture.setTexHeight(1.0f);
    scene.draw();
    // The right half stretched over the whole quad.
    EXPECT_EQ(colourAt(12, 68), Green);
    EXPECT_EQ(colourAt(68, 68), Green);
    EXPECT_EQ(colourAt(12, 44), White);
    EXPECT_EQ(colourAt(68, 44), White);

    // Flips mirror inside the chosen rectangle: the top-left cell's bottom row.
    Scene cell(BitmapPicture::FlipVertical, quadrantImage());
    cell.picture.loadTexture();
    cell.picture.setTexWidth(0.5f);
    cell.picture.setTexHeight(1.0f);
    cell.draw();
    EXPECT_EQ(colourAt(12, 68), Blue);
    EXPECT_EQ(colourAt(68, 44), Red);
}

TEST(BitmapPicture, OpacityIsGraphicTimesPictureAndTransparentTexelsAreDropped) {
    TestImage image(16, 16);
    image.fill(0, 0, 16, 16, 255, 255, 255, 255);
    image.fill(0, 0, 8, 16, 255, 0, 0, 0); // left half fully transparent red
    const std::string path = TestImage::tempDir() + "/half.png";
    ASSERT_TRUE(image.save(path));

    BitmapPicture picture(path, GraphicProperties(), nullptr, 0);
    picture.loadTexture();
    picture.getProperties().setAlpha(0.5f);
    Graphic graphic;
    graphic.getProperties().setAlpha(0.5f);
    graphic.getProperties().setPosition(10, 10);
    graphic.addPicture(&picture);
    GlContext::reset();
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    graphic.draw();
    GlContext::Rgba blended = pixel(22, 18);
    EXPECT_NEAR(blended.r, 64, 3);
    EXPECT_NEAR(blended.g, 64, 3);
    EXPECT_EQ(blended.b, 255); // white over blue keeps blue full
    GlContext::Rgba dropped = pixel(12, 18);
    EXPECT_EQ(dropped.r, 0);
    EXPECT_EQ(dropped.b, 255);
    // The GL switches are off again after each quad.
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
}

TEST(BitmapPicture, DepthOutsideTheClipRangeIsNotShown) {
    Scene scene(0, quadrantImage());
    scene.picture.loadTexture();
    scene.picture.getProperties().setDepth(1.5f);
    scene.draw();
    EXPECT_EQ(colourAt(12, 68), Black);
    scene.picture.getProperties().setDepth(-0.9f);
    scene.draw();
    EXPECT_EQ(colourAt(12, 68), Red);
}

TEST(BitmapPicture, UnloadedPictureDrawsNothingAndChangesNoState) {
    Scene scene(0, TestImage::tempDir() + "/missing.png");
    EXPECT_FALSE(scene.picture.loadTexture());
    EXPECT_EQ(scene.picture.getTexture(), 0u);
    EXPECT_EQ(scene.picture.getWidth(), 0.0f);
    GlContext::reset();
    glColor4f(0.2f, 0.4f, 0.6f, 0.8f);
    scene.graphic.draw();
    float colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_NEAR(colour[0], 0.2f, 1e-6);
    EXPECT_NEAR(colour[3], 0.8f, 1e-6);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(GlContext::modelViewDepth(), 1);

    // Not a PNG at all.
    const std::string junk = TestImage::tempDir() + "/junk.png";
    FILE* f = std::fopen(junk.c_str(), "wb");
    std::fputs("not an image", f);
    std::fclose(f);
    scene.picture.setFileName(junk);
    EXPECT_FALSE(scene.picture.loadTexture());
    EXPECT_EQ(scene.picture.getTexture(), 0u);
}

TEST(BitmapPicture, PaletteImagesAreConvertedBeforeUpload) {
    Scene scene(0, quadrantImage(true));
    ASSERT_TRUE(scene.picture.loadTexture());
    scene.draw();
    EXPECT_EQ(colourAt(12, 68), Red);
    EXPECT_EQ(colourAt(68, 68), Green);
    EXPECT_EQ(colourAt(12, 44), Blue);
    EXPECT_EQ(colourAt(68, 44), White);
}

TEST(BitmapPicture, EveryLoadTakesAFreshTextureAndUnloadClearsTheSize) {
    const std::string path = quadrantImage();
    BitmapPicture first(path, GraphicProperties(), nullptr, 0);
    BitmapPicture second(path, GraphicProperties(), nullptr, 0);
    first.loadTexture();
    second.loadTexture();
    EXPECT_NE(first.getTexture(), 0u);
    EXPECT_NE(first.getTexture(), second.getTexture());
    first.getProperties().setAnchor(4, 2);
    first.unloadTexture();
    EXPECT_EQ(first.getTexture(), 0u);
    EXPECT_EQ(first.getWidth(), 0.0f);
    Shape* degenerate = first.createShape();
    for (const Position& p : degenerate->getPolygons().front().getPoints())
        EXPECT_EQ(p, Position(-4, -2));
    delete degenerate;
    first.loadTexture();
    EXPECT_NE(first.getTexture(), second.getTexture());
}
