#include <GL/gl.h>
#include <gtest/gtest.h>

#include "graphics/BitmapPicture.h"
#include "graphics/Graphic.h"
#include "graphics/Shape.h"
#include "graphics/ShapeTransform.h"
#include "support/GlContext.h"
#include "support/TestImage.h"

namespace {

// A 10 x 10 picture that records when it is drawn.
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

TEST(Graphic, DrawsPicturesInStableAscendingDepthAndRemovesEveryEntry) {
    std::vector<int> log;
    RecordingPicture back(log, 1, 0.5f), front(log, 2, 0.0f), same(log, 3, 0.0f), late(log, 4, 0);
    Graphic graphic;
    for (Picture* p : {&back, &front, &same, &back})
        graphic.addPicture(p);
    graphic.removePicture(&back);
    graphic.addPicture(&back);
    graphic.draw();
    graphic.addPicture(&late); // equal depths keep their order on later sorts too
    graphic.draw();
    EXPECT_EQ(log, (std::vector<int>{2, 3, 1, 2, 3, 4, 1}));
    EXPECT_EQ(back.getParent(), &graphic);
    graphic.removePicture(&back);
    EXPECT_EQ(back.getParent(), nullptr);
}

TEST(Graphic, LaterPicturesCoverEarlierOnesInsideTheGraphicsPlace) {
    const std::string dir = TestImage::tempDir();
    BitmapPicture red(TestImage::solid(dir + "/r.png", 8, 8, 255, 0, 0), GraphicProperties(),
                      nullptr, 0);
    BitmapPicture green(TestImage::solid(dir + "/g.png", 8, 8, 0, 255, 0), GraphicProperties(),
                        nullptr, 0);
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
    std::string seen;
    for (int x : {19, 21, 26, 30, 33})
        seen += GlContext::colourAt(x, 24);
    EXPECT_EQ(seen, "krrgk"); // red, deeper, is drawn last, on top
    EXPECT_EQ(GlContext::modelViewDepth(), 1);
}

TEST(Graphic, WorldShapeUnitesPictureOutlinesUnderTheMatrix) {
    GlContext::reset();
    Graphic empty;
    Shape* none = empty.getWorldShape();
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
    ASSERT_EQ(world->getPolygons().size(), 2u);
    // The base picture outline is a 10 x 10 square round the origin.
    EXPECT_EQ(world->getPolygon(0).getPoints().front(), Position(10, 20));
    EXPECT_EQ(world->getPolygon(1).getPoints().front(), Position(110, 20));
    delete world;
    // A turned matrix turns the points; a plain translation only moves them.
    glTranslatef(10, 20, 0);
    glRotatef(90, 0, 0, 1);
    Shape source({Polygon({Position(1, 2)})});
    Shape* turned = transformShape(source);
    Shape* shifted = translateShape(source);
    const Position p = turned->getPolygon(0).getPoints().front();
    EXPECT_NEAR(p.getX(), 8.0f, 1e-5);
    EXPECT_NEAR(p.getY(), 21.0f, 1e-5);
    EXPECT_EQ(shifted->getPolygon(0).getPoints().front(), Position(11, 22));
    delete turned;
    delete shifted;
    GlContext::reset();
}
