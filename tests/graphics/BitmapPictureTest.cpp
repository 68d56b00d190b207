#include <GL/gl.h>
#include <fstream>
#include <gtest/gtest.h>

#include "graphics/BitmapPicture.h"
#include "graphics/Graphic.h"
#include "graphics/Shape.h"
#include "support/GlContext.h"
#include "support/TestImage.h"

namespace {

using GlContext::colourAt;

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
        return probe();
    }
    static std::string probe() {
        std::string seen;
        for (const auto& [x, y] : {std::pair{12, 68},
                                   {68, 68},
                                   {12, 44},
                                   {68, 44},
                                   {5, 50},
                                   {75, 50},
                                   {40, 75},
                                   {40, 37}})
            seen += colourAt(x, y);
        return seen;
    }
    BitmapPicture picture;
    Graphic graphic;
};

} // namespace

TEST(BitmapPicture, DrawsTheTextureRectangleUprightOrFlippedFromItsAnchor) {
    const std::string path = quadrantImage();
    const int h = BitmapPicture::FlipHorizontal, v = BitmapPicture::FlipVertical;
    struct Case {
        int flip;
        float s0, ds, t0, dt;
        const char* seen;
    };
    // Flips mirror inside the rectangle.
    for (const Case& c : {Case{0, 0, 1, 0, 1, "rgbwkkkk"}, Case{h, 0, 1, 0, 1, "grwbkkkk"},
                          Case{h | v, 0, 1, 0, 1, "wbgrkkkk"},
                          Case{0, 0.5f, 0.5f, 0, 1, "ggwwkkkk"}, Case{v, 0, 0.5f, 0, 1, "bbrrkkkk"},
                          Case{h | v, 0.25f, 0.5f, 0.375f, 0.25f, "wbgrkkkk"}}) {
        Scene scene(path, c.flip);
        ASSERT_TRUE(scene.picture.loadTexture());
        scene.picture.setTexWidth(c.ds);
        scene.picture.setTexOrigin(Position(c.s0, c.t0));
        scene.picture.setTexHeight(c.dt);
        EXPECT_EQ(scene.draw(), c.seen) << c.flip << " " << c.s0;
    }
    Scene scene(path);
    scene.picture.loadTexture();
    EXPECT_EQ(std::make_pair(scene.picture.getWidth(), scene.picture.getHeight()),
              std::make_pair(64.0f, 32.0f));
    Shape* outline = scene.picture.createShape();
    EXPECT_EQ(outline->getPolygons().front().getPoints(),
              (std::list<Position>{{-32, 0}, {32, 0}, {32, 32}, {-32, 32}}));
    delete outline;
    // A depth outside the clip range is not shown.
    scene.picture.getProperties().setDepth(1.5f);
    EXPECT_EQ(scene.draw(), "kkkkkkkk");
    scene.picture.getProperties().setDepth(-0.9f);
    EXPECT_EQ(scene.draw(), "rgbwkkkk");
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
    const GlContext::Rgba blended = GlContext::pixel(22, 18), dropped = GlContext::pixel(12, 18);
    EXPECT_NEAR(blended.r, 64, 3);
    EXPECT_NEAR(blended.g, 64, 3);
    EXPECT_EQ(blended.b, 255); // white over blue keeps blue full
    EXPECT_EQ(std::make_pair(dropped.r, dropped.b), std::make_pair(0, 255));
    // The GL switches are off again after each quad.
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D) || glIsEnabled(GL_BLEND) || glIsEnabled(GL_ALPHA_TEST));
}

TEST(BitmapPicture, WithoutATextureNothingIsDrawnAndNoStateChanges) {
    const std::string junk = TestImage::tempDir() + "/junk.png";
    std::ofstream(junk) << "not an image";
    for (const std::string& path : {TestImage::tempDir() + "/missing.png", junk}) {
        Scene scene(path);
        EXPECT_FALSE(scene.picture.loadTexture());
        EXPECT_EQ(scene.picture.getTexture(), 0u);
        scene.picture.setWidth(64); // a size alone draws nothing
        scene.picture.setHeight(32);
        GlContext::reset();
        glColor4f(0.2f, 0.4f, 0.6f, 0.8f);
        scene.graphic.draw();
        EXPECT_EQ(Scene::probe(), "kkkkkkkk");
        float colour[4];
        glGetFloatv(GL_CURRENT_COLOR, colour);
        EXPECT_NEAR(colour[3], 0.8f, 1e-6);
    }
}

TEST(BitmapPicture, PaletteImagesAreConvertedBeforeUpload) {
    Scene scene(quadrantImage(true));
    ASSERT_TRUE(scene.picture.loadTexture());
    EXPECT_EQ(scene.draw(), "rgbwkkkk");
}

TEST(BitmapPicture, EveryLoadTakesAFreshTextureAndUnloadClearsTheSize) {
    const std::string path = quadrantImage();
    BitmapPicture first(path, GraphicProperties(), nullptr, 0);
    BitmapPicture second(path, GraphicProperties(), nullptr, 0);
    first.loadTexture();
    second.loadTexture();
    EXPECT_NE(first.getTexture(), second.getTexture());
    first.getProperties().setAnchor(4, 2);
    first.unloadTexture();
    EXPECT_EQ(first.getTexture(), 0u);
    Shape* degenerate = first.createShape();
    for (const Position& p : degenerate->getPolygons().front().getPoints())
        EXPECT_EQ(p, Position(-4, -2));
    delete degenerate;
    first.loadTexture();
    EXPECT_NE(first.getTexture(), second.getTexture());
}
