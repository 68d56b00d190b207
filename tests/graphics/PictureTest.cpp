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
    const int h = BitmapPicture::FlipHorizontal, v = BitmapPicture::FlipVertical;
    struct Case {
        int flip;
        float s0, ds, t0, dt;
        const char* seen;
    };
    // Flips mirror inside the rectangle.
    for (const Case& c : {Case{h, 0, 1, 0, 1, "grwbkkkk"}, Case{0, 0.5f, 0.5f, 0, 1, "ggwwkkkk"},
                          Case{v, 0, 0.5f, 0, 1, "bbrrkkkk"},
                          Case{h | v, 0.25f, 0.5f, 0.375f, 0.25f, "wbgrkkkk"}}) {
        Scene scene(quadrants(), c.flip);
        ASSERT_TRUE(scene.picture.loadTexture());
        scene.picture.setTexWidth(c.ds);
        scene.picture.setTexOrigin(Position(c.s0, c.t0));
        scene.picture.setTexHeight(c.dt);
        EXPECT_EQ(scene.draw(), c.seen) << c.flip << " " << c.s0;
    }
    Scene scene(quadrants(true)); // an RGB file is converted before upload
    ASSERT_TRUE(scene.picture.loadTexture());
    EXPECT_EQ(scene.draw(), "rgbwkkkk");
    // Opacity is the graphic's times the picture's; the GL switches are off after the quad.
    scene.picture.getProperties().setAlpha(0.5f);
    scene.graphic.getProperties().setAlpha(0.5f);
    scene.draw();
    EXPECT_NEAR(GlContext::pixel(12, 68).r, 64, 3);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D) || glIsEnabled(GL_BLEND) || glIsEnabled(GL_ALPHA_TEST));
    GLint rowLength = -1; // and the upload's row length after the load
    glGetIntegerv(GL_UNPACK_ROW_LENGTH, &rowLength);
    EXPECT_EQ(rowLength, 0);
    Shape* outline = scene.picture.createShape();
    EXPECT_EQ(outline->getPolygons().front().getPoints(),
              (std::list<Position>{{-32, 0}, {32, 0}, {32, 32}, {-32, 32}}));
    delete outline;
}

// A missing or broken file, or an unloaded texture, draws nothing; each load takes a fresh name.
TEST(BitmapPicture, WithoutATextureNothingIsDrawn) {
    const std::string junk = TestImage::tempDir() + "/junk.png", good = quadrants();
    std::ofstream(junk) << "not an image";
    Scene first(good);
    ASSERT_TRUE(first.picture.loadTexture());
    for (const std::string& path : {TestImage::tempDir() + "/missing.png", junk, good}) {
        Scene scene(path);
        EXPECT_EQ(scene.picture.loadTexture(), path == good);
        EXPECT_NE(scene.picture.getTexture(), first.picture.getTexture());
        scene.picture.unloadTexture();
        scene.picture.setWidth(64); // a size alone draws nothing
        scene.picture.setHeight(32);
        EXPECT_EQ(scene.draw(), "kkkkkkkk");
    }
}

// Sorted when a picture comes in: a depth changed later waits for the next one.
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
    back.getProperties().setDepth(-1);
    graphic.draw();
    graphic.addPicture(&late);
    graphic.draw();
    EXPECT_EQ(log, (std::vector<int>{2, 1, 2, 3, 1, 2, 3, 1, 1, 2, 3, 4}));
}

// Under a turned graphic the outlines turn; the stack depth is left as found.
TEST(Graphic, WorldShapeUnitesPictureOutlinesUnderTheMatrix) {
    std::vector<int> log;
    RecordingPicture a(log, 1, 0), b(log, 2, 0);
    a.getProperties().setPosition(0, 50);
    b.getProperties().setPosition(100, 0);
    Graphic graphic({&a, &b}, GraphicProperties(), nullptr);
    graphic.getProperties().getRotation() = Rotation(90);
    GlContext::reset();
    glPushMatrix();
    glPushMatrix();
    glTranslatef(10, 20, 0);
    Shape* world = graphic.getWorldShape();
    // The base outline is a 10 x 10 square round the origin, (-5, -5) first.
    for (const auto& [i, x, y] : {std::tuple{0, -35.0f, 15.0f}, {1, 15.0f, 115.0f}}) {
        EXPECT_NEAR(world->getPolygon(i).getPoints().front().getX(), x, 1e-4);
        EXPECT_NEAR(world->getPolygon(i).getPoints().front().getY(), y, 1e-4);
    }
    delete world;
    EXPECT_EQ(GlContext::modelViewDepth(), 3);
    glPopMatrix();
    glPopMatrix();
}
