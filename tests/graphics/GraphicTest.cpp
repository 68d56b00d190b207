#include <GL/gl.h>
#include <gtest/gtest.h>

#include "graphics/BitmapPicture.h"
#include "graphics/Graphic.h"
#include "graphics/Shape.h"
#include "graphics/ShapeTransform.h"
#include "support/GlContext.h"
#include "support/TestImage.h"

namespace {

std::string solidImage(const char* name, uint8_t r, uint8_t g, uint8_t b) {
    TestImage image(8, 8);
    image.fill(0, 0, 8, 8, r, g, b, 255);
    const std::string path = TestImage::tempDir() + "/" + name;
    image.save(path);
    return path;
}

// Records the order its pictures are drawn in.
class RecordingPicture : public Picture {
public:
    RecordingPicture(std::vector<int>& log, int id, float depth) : log(log), id(id) {
        properties.setDepth(depth);
        width = 10;
        height = 10;
    }
    void draw() override { log.push_back(id); }

private:
    std::vector<int>& log;
    int id;
};

} // namespace

TEST(Graphic, DrawsPicturesInStableAscendingDepth) {
    std::vector<int> log;
    RecordingPicture back(log, 1, 0.5f), front(log, 2, 0.0f), same(log, 3, 0.0f);
    Graphic graphic;
    graphic.addPicture(&back);
    graphic.addPicture(&front);
    graphic.addPicture(&same);
    graphic.draw();
    EXPECT_EQ(log, (std::vector<int>{2, 3, 1}));
    // Equal depths keep their order on later sorts too.
    RecordingPicture late(log, 4, 0.0f);
    graphic.addPicture(&late);
    log.clear();
    graphic.draw();
    EXPECT_EQ(log, (std::vector<int>{2, 3, 4, 1}));
    EXPECT_EQ(back.getParent(), &graphic);
}

TEST(Graphic, LaterPicturesCoverEarlierOnes) {
    BitmapPicture red(solidImage("red.png", 255, 0, 0), GraphicProperties(), nullptr, 0);
    BitmapPicture green(solidImage("green.png", 0, 255, 0), GraphicProperties(), nullptr, 0);
    red.loadTexture();
    green.loadTexture();
    red.getProperties().setDepth(0.5f);
    green.getProperties().setPosition(4, 0); // overlaps red's right half
    Graphic graphic;
    graphic.getProperties().setPosition(20, 20);
    graphic.addPicture(&red);
    graphic.addPicture(&green);
    GlContext::reset();
    graphic.draw();
    EXPECT_GT(GlContext::pixel(26, 24).r, 200); // red (deeper) is drawn last, on top
    EXPECT_GT(GlContext::pixel(30, 24).g, 200); // green alone past red's edge
    EXPECT_EQ(GlContext::modelViewDepth(), 1);
}

TEST(Graphic, RemovePictureDropsEveryEntry) {
    std::vector<int> log;
    RecordingPicture a(log, 1, 0), b(log, 2, 0);
    Graphic graphic;
    graphic.addPicture(&a);
    graphic.addPicture(&b);
    graphic.addPicture(&a);
    graphic.removePicture(&a);
    EXPECT_EQ(a.getParent(), nullptr);
    graphic.draw();
    EXPECT_EQ(log, (std::vector<int>{2}));
    RecordingPicture stranger(log, 3, 0);
    stranger.setParent(&graphic);
    graphic.removePicture(&stranger);
    EXPECT_EQ(stranger.getParent(), nullptr);
    EXPECT_EQ(graphic.getPictures().size(), 1u);
}

TEST(Graphic, WorldShapeUnitesPictureOutlinesUnderTheMatrix) {
    GlContext::reset();
    Graphic empty;
    glPushMatrix();
    Shape* none = empty.getWorldShape();
    glPopMatrix();
    ASSERT_NE(none, nullptr);
    EXPECT_TRUE(none->getPolygons().empty());
    delete none;

    std::vector<int> log;
    RecordingPicture a(log, 1, 0), b(log, 2, 0);
    b.getProperties().setPosition(100, 0);
    Graphic graphic;
    graphic.getProperties().setPosition(5, 5);
    graphic.addPicture(&a);
    graphic.addPicture(&b);
    glPushMatrix();
    glTranslatef(10, 20, 0);
    Shape* world = graphic.getWorldShape();
    glPopMatrix();
    EXPECT_EQ(GlContext::modelViewDepth(), 1);
    ASSERT_EQ(world->getPolygons().size(), 2u);
    // The base picture outline is a 10 x 10 square round the origin.
    EXPECT_EQ(world->getPolygon(0).getPoints().front(), Position(10, 20));
    EXPECT_EQ(world->getPolygon(1).getPoints().front(), Position(110, 20));
    delete world;
}

TEST(Graphic, TransformShapeAppliesRotationAndTranslation) {
    GlContext::reset();
    glTranslatef(10, 20, 0);
    glRotatef(90, 0, 0, 1);
    Shape source({Polygon({Position(1, 0)})});
    Shape* moved = transformShape(source);
    const Position p = moved->getPolygon(0).getPoints().front();
    EXPECT_NEAR(p.getX(), 10.0f, 1e-5);
    EXPECT_NEAR(p.getY(), 21.0f, 1e-5);
    Shape* shifted = translateShape(source);
    EXPECT_EQ(shifted->getPolygon(0).getPoints().front(), Position(11, 20));
    delete moved;
    delete shifted;
    GlContext::reset();
}
