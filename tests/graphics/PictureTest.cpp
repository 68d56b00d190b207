#include <GL/gl.h>
#include <fstream>
#include <gtest/gtest.h>

#include "graphics/BitmapPicture.h"
#include "graphics/Graphic.h"
#include "graphics/Shape.h"
#include "support/GlContext.h"
#include "support/TestImage.h"

namespace {

// 64 x 32: top-left red, top-right green, bottom-left blue, bottom-right white.
std::string quadrants(bool opaque = false) {
    TestImage image(64, 32);
    image.fill(0, 0, 32, 16, 255, 0, 0, 255);
    image.fill(32, 0, 32, 16, 0, 255, 0, 255);
    image.fill(0, 16, 32, 16, 0, 0, 255, 255);
    image.fill(32, 16, 32, 16, 255, 255, 255, 255);
    const std::string path = TestImage::tempDir() + "/quadrants.png";
    image.save(path, opaque);
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
        return GlContext::colours(
            {{12, 68}, {68, 68}, {12, 44}, {68, 44}, {5, 50}, {75, 50}, {40, 75}, {40, 37}});
    }
    BitmapPicture picture;
    Graphic graphic;
};

// A 10 x 10 picture that records when it is drawn.
struct RecordingPicture : Picture {
    RecordingPicture(std::vector<int>& log, int id, float depth) : log(log), id(id) {
        properties.setDepth(depth);
        width = height = 10;
    }
    void draw() override { log.push_back(id); }
    std::vector<int>& log;
    int id;
};

} // namespace

TEST(BitmapPicture, DrawsTheTextureRectangleUprightOrFlippedFromItsAnchor) {
    const std::string path = quadrants();
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
    Scene scene(quadrants(true)); // an RGB file is converted before upload
    ASSERT_TRUE(scene.picture.loadTexture());
    EXPECT_EQ(scene.draw(), "rgbwkkkk");
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
    image.fill(0, 0, 8, 16, 255, 0, 0, 0);   // left half fully transparent red
    image.fill(0, 0, 1, 16, 0, 255, 0, 255); // but its first column green: no border is cut off
    const std::string path = TestImage::tempDir() + "/half.png";
    ASSERT_TRUE(image.save(path));
    Scene scene(path);
    scene.picture.loadTexture();
    scene.picture.getProperties().setAnchor(0, 0);
    scene.picture.getProperties().setAlpha(0.5f);
    scene.graphic.getProperties().setAlpha(0.5f);
    GlContext::reset();
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    scene.graphic.draw();
    const GlContext::Rgba blended = GlContext::pixel(52, 48), dropped = GlContext::pixel(42, 48);
    EXPECT_NEAR(blended.r, 64, 3);
    EXPECT_NEAR(blended.g, 64, 3);
    EXPECT_EQ(blended.b, 255); // white over blue keeps blue full
    EXPECT_EQ(std::make_pair(dropped.r, dropped.b), std::make_pair(0, 255));
    EXPECT_NEAR(GlContext::pixel(40, 48).g, 64, 3);
    // The GL switches are off again after each quad, the upload's row length after each load.
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D) || glIsEnabled(GL_BLEND) || glIsEnabled(GL_ALPHA_TEST));
    GLint rowLength = -1;
    glGetIntegerv(GL_UNPACK_ROW_LENGTH, &rowLength);
    EXPECT_EQ(rowLength, 0);
}

TEST(BitmapPicture, WithoutATextureNothingIsDrawnAndNoStateChanges) {
    const std::string junk = TestImage::tempDir() + "/junk.png";
    std::ofstream(junk) << "not an image";
    const std::string good = quadrants();
    for (const std::string& path : {TestImage::tempDir() + "/missing.png", junk, good}) {
        Scene scene(path);
        EXPECT_EQ(scene.picture.loadTexture(), path == good);
        if (path == good)
            scene.picture.unloadTexture();
        EXPECT_EQ(scene.picture.getTexture(), 0u);
        scene.picture.setWidth(64); // a size alone draws nothing
        scene.picture.setHeight(32);
        EXPECT_EQ(scene.draw(), "kkkkkkkk");
    }
    // Every load takes a fresh texture; unloading clears the size.
    Scene first(quadrants()), second(quadrants());
    first.picture.loadTexture();
    second.picture.loadTexture();
    EXPECT_NE(first.picture.getTexture(), second.picture.getTexture());
    first.picture.unloadTexture();
    Shape* degenerate = first.picture.createShape();
    for (const Position& p : degenerate->getPolygons().front().getPoints())
        EXPECT_EQ(p, Position(-32, 0));
    delete degenerate;
}

TEST(Graphic, DrawsPicturesInStableAscendingDepthAndRemovesEveryEntry) {
    std::vector<int> log;
    RecordingPicture back(log, 1, 0.5f), front(log, 2, 0.0f), same(log, 3, 0.0f), late(log, 4, 0);
    Graphic graphic({&back, &front}, GraphicProperties(), nullptr); // sorted on the first draw
    graphic.draw();
    for (Picture* p : {&same, &back})
        graphic.addPicture(p);
    graphic.removePicture(&back);
    graphic.addPicture(&back);
    graphic.draw();
    graphic.addPicture(&late); // equal depths keep their order on later sorts too
    graphic.draw();
    EXPECT_EQ(log, (std::vector<int>{2, 1, 2, 3, 1, 2, 3, 4, 1}));
    EXPECT_EQ(back.getParent(), &graphic);
    graphic.removePicture(&back);
    EXPECT_EQ(back.getParent(), nullptr);
}

TEST(Graphic, WorldShapeUnitesPictureOutlinesUnderTheMatrix) {
    GlContext::reset();
    std::vector<int> log;
    RecordingPicture a(log, 1, 0), b(log, 2, 0);
    b.getProperties().setPosition(100, 0);
    Graphic graphic;
    graphic.getProperties().setPosition(5, 5);
    graphic.addPicture(&a);
    graphic.addPicture(&b);
    glTranslatef(10, 20, 0);
    Shape* world = graphic.getWorldShape();
    ASSERT_EQ(world->getPolygons().size(), 2u);
    // The base picture outline is a 10 x 10 square round the origin.
    EXPECT_EQ(world->getPolygon(0).getPoints().front(), Position(10, 20));
    EXPECT_EQ(world->getPolygon(1).getPoints().front(), Position(110, 20));
    delete world;
    EXPECT_EQ(GlContext::modelViewDepth(), 1);
    GlContext::reset();
}
