#include <gtest/gtest.h>

#include "graphics/Rectangle.h"
#include "graphics/Shape.h"
#include "support/GlContext.h"

namespace {

std::list<Position> pts(std::initializer_list<std::pair<float, float>> xy) {
    std::list<Position> out;
    for (auto& p : xy)
        out.emplace_back(p.first, p.second);
    return out;
}

std::vector<Position> triangleList(const Polygon& polygon) {
    std::vector<Position> out;
    for (const Position* p : polygon.getTriangles())
        out.push_back(*p);
    return out;
}

} // namespace

TEST(Polygon, RectangleCornersCentreRadiusAndBounds) {
    Rectangle r(Position(10, 20), 100, 50);
    EXPECT_EQ(r.getPoints(), pts({{10, 20}, {110, 20}, {110, 70}, {10, 70}}));
    EXPECT_EQ(r.getCenter(), Position(60, 45));
    EXPECT_EQ(r.getRadiusSquared(), 0.0f); // only after updateRadius
    r.updateRadius();
    EXPECT_FLOAT_EQ(r.getRadiusSquared(), 3125.0f);
    Position origin(0, 0);
    int w = 0, h = 0;
    r.getBounds(origin, w, h);
    EXPECT_EQ(origin, Position(10, 20));
    EXPECT_EQ(w, 100);
    EXPECT_EQ(h, 50);
    EXPECT_STREQ(r.getClassName(), "Rectangle");
}

TEST(Polygon, CentreIsARunningMeanSkippingEqualPoints) {
    Polygon empty{std::list<Position>()};
    EXPECT_EQ(empty.getCenter(), Position(0, 0));
    empty.updateRadius();
    EXPECT_EQ(empty.getRadiusSquared(), 0.0f);

    Polygon back(pts({{0, 0}, {2, 0}, {0, 0}}));
    EXPECT_FLOAT_EQ(back.getCenter().getX(), 2.0f / 3.0f);
    EXPECT_FLOAT_EQ(back.getCenter().getY(), 0.0f);

    EXPECT_EQ(Polygon(pts({{1, 1}, {1, 1}})).getCenter(), Position(1, 1));

    // A closed outline counts its closing point again.
    Polygon closed(pts({{0, 0}, {10, 0}, {10, 20}, {0, 20}, {0, 0}}));
    EXPECT_NEAR(closed.getCenter().getX(), 4.0f, 1e-5);
    EXPECT_NEAR(closed.getCenter().getY(), 8.0f, 1e-5);

    // The centre follows added points; the radius does not until asked.
    Polygon growing;
    growing.addPoint(Position(0, 0));
    growing.addPoint(Position(4, 0));
    EXPECT_EQ(growing.getCenter(), Position(2, 0));
    growing.updateBounds();
    EXPECT_FLOAT_EQ(growing.getRadiusSquared(), 4.0f);
    growing.addPoint(Position(100, 0));
    EXPECT_FLOAT_EQ(growing.getRadiusSquared(), 4.0f);
}

TEST(Polygon, GetPointCountsFromTheSecondPoint) {
    Polygon closed(pts({{0, 0}, {4, 0}, {4, 2}, {0, 2}, {0, 0}}));
    EXPECT_EQ(closed.getPoint(0), Position(4, 0));
    EXPECT_EQ(closed.getPoint(1), Position(4, 2));
    EXPECT_EQ(closed.getPoint(2), Position(0, 2));
    EXPECT_EQ(closed.getPoint(3), Position(0, 0));
    EXPECT_EQ(closed.getPoint(-1), Position(0, 0));
    EXPECT_EQ(closed.getPointCount(), 5);
}

TEST(Polygon, TriangulatesCounterClockwiseOutlines) {
    Polygon square(pts({{0, 0}, {1, 0}, {1, 1}, {0, 1}}));
    square.triangulate();
    std::vector<Position> expected = {Position(0, 0), Position(1, 0), Position(1, 1),
                                      Position(0, 0), Position(1, 1), Position(0, 1)};
    EXPECT_EQ(triangleList(square), expected);

    Polygon triangle(pts({{0, 0}, {3, 0}, {0, 3}}));
    triangle.triangulate();
    EXPECT_EQ(triangleList(triangle),
              std::vector<Position>(triangle.getPoints().begin(), triangle.getPoints().end()));
    Polygon segment(pts({{0, 0}, {3, 0}}));
    segment.triangulate();
    EXPECT_EQ(segment.getTriangles().size(), 2u);

    // A concave "L": every triangle keeps inside the outline, 4 triangles for 6 corners.
    Polygon ell(pts({{0, 0}, {4, 0}, {4, 1}, {1, 1}, {1, 4}, {0, 4}}));
    ell.triangulate();
    EXPECT_EQ(ell.getTriangles().size(), 12u);
    for (const Position* p : ell.getTriangles())
        EXPECT_TRUE(p->getX() >= 0 && p->getX() <= 4 && p->getY() >= 0 && p->getY() <= 4);
}

TEST(Polygon, TriangulationWithoutEarsEnds) {
    // Clockwise: every corner looks reflex, so no ear exists.
    Polygon clockwise(pts({{0, 0}, {0, 1}, {1, 1}, {1, 0}}));
    clockwise.triangulate();
    EXPECT_TRUE(clockwise.getTriangles().empty());
    Polygon collinear(pts({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}));
    collinear.triangulate();
    SUCCEED();
}

TEST(Polygon, CopiesRebuildTheirOwnTriangulation) {
    Polygon original(pts({{0, 0}, {1, 0}, {1, 1}, {0, 1}}));
    original.triangulate();
    Polygon copy(original);
    EXPECT_TRUE(copy.getTriangles().empty());
    EXPECT_EQ(copy.getCenter(), original.getCenter());
    copy.triangulate();
    for (const Position* p : copy.getTriangles()) {
        bool pointsIntoCopy = false;
        for (const Position& own : copy.getPoints())
            pointsIntoCopy = pointsIntoCopy || &own == p;
        EXPECT_TRUE(pointsIntoCopy);
    }
}

TEST(Polygon, DrawFillsTheOutline) {
    GlContext::reset();
    Polygon square(pts({{10, 10}, {40, 10}, {40, 40}, {10, 40}}));
    square.draw(0.0f, Position(0, 0));
    EXPECT_EQ(GlContext::pixel(25, 25).r, 255);
    EXPECT_EQ(GlContext::pixel(50, 25).r, 0);
    // The offset moves what is drawn; a moved point is picked up at the next draw.
    GlContext::reset();
    square.draw(0.0f, Position(-50, 0));
    EXPECT_EQ(GlContext::pixel(75, 25).r, 255);
    EXPECT_EQ(GlContext::pixel(25, 25).r, 0);
    GlContext::reset();
    square.getPoints().back() = Position(10, 100);
    square.getPoint(1) = Position(40, 100);
    square.draw(0.0f, Position(0, 0));
    EXPECT_EQ(GlContext::pixel(25, 90).r, 255);
}

TEST(Shape, PolygonsByValue) {
    Shape shape({Polygon(pts({{0, 0}})), Polygon(pts({{1, 1}})), Polygon(pts({{2, 2}}))});
    EXPECT_EQ(shape.getPolygon(0).getCenter(), Position(0, 0));
    EXPECT_EQ(shape.getPolygon(-3).getCenter(), Position(0, 0));
    EXPECT_EQ(shape.getPolygon(2).getCenter(), Position(2, 2));
    Shape copy(shape);
    copy.getPolygons().front().addPoint(Position(10, 10));
    EXPECT_EQ(shape.getPolygons().front().getPointCount(), 1);
    copy.addPolygon(Rectangle(Position(0, 0), 1, 1));
    EXPECT_EQ(copy.getPolygons().size(), 4u);
}
