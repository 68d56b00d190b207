#include <GL/gl.h>
#include <cmath>
#include <gtest/gtest.h>

#include "graphics/GraphicProperties.h"
#include "graphics/Rectangle.h"
#include "graphics/Shape.h"
#include "graphics/ShapeTransform.h"
#include "support/GlContext.h"

namespace {

using Points = std::list<Position>;

float cross(const Position& a, const Position& b, const Position& c) {
    return (b.getX() - a.getX()) * (c.getY() - a.getY()) -
           (b.getY() - a.getY()) * (c.getX() - a.getX());
}

} // namespace

// Scale first, then rotation, then translation: the columns are the turned,
// scaled axes, the last one the position.
TEST(GraphicProperties, MatrixIsTranslationRotationScale) {
    for (const std::vector<float>& c : {std::vector<float>{0, 0, 0, 1, 1},
                                        {7, -3, 0, 2, 3},
                                        {7, -3, 0, 1, 3},
                                        {0, 0, 90, 2, 1},
                                        {10, 4, 30, 3, 0.5f}}) {
        float m[16];
        GraphicProperties(Position(c[0], c[1]), Rotation(c[2]), Scale(c[3], c[4]), 0.5f, 1.0f,
                          Position(2, 2))
            .getMatrix(m);
        const float r = c[2] * static_cast<float>(M_PI) / 180, cs = std::cos(r), sn = std::sin(r);
        const float expected[16] = {c[3] * cs, c[3] * sn, 0, 0, -c[4] * sn, c[4] * cs, 0, 0,
                                    0,         0,         1, 0, c[0],       c[1],      0, 1};
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(m[i], expected[i], 1e-5) << "cell " << i << " of case " << c[2];
    }
}

TEST(Polygon, CornersCentreRadiusAndBounds) {
    Rectangle r(Position(10, 20), 100, 50);
    r.updateRadius();
    EXPECT_FLOAT_EQ(r.getRadiusSquared(), 3125.0f);
    Position origin(0, 0);
    int w = 0, h = 0;
    r.getBounds(origin, w, h);
    EXPECT_EQ(origin, Position(10, 20));
    EXPECT_EQ(std::make_pair(w, h), std::make_pair(100, 50));
    // The centre is a running mean that skips points equal to it so far.
    const std::pair<Points, Position> cases[] = {
        {{}, {0, 0}},
        {{{0, 0}, {2, 0}, {0, 0}}, {2.0f / 3, 0}},
        {{{1, 1}, {1, 1}}, {1, 1}},
        {{{10, 20}, {110, 20}, {110, 70}, {10, 70}}, {60, 45}},
        {{{0, 0}, {10, 0}, {10, 20}, {0, 20}, {0, 0}}, {4, 8}}}; // the closing point again
    for (const auto& [points, centre] : cases) {
        const Position c = Polygon(points).getCenter();
        EXPECT_NEAR(c.getX(), centre.getX(), 1e-5);
        EXPECT_NEAR(c.getY(), centre.getY(), 1e-5);
    }
    // The centre follows added points; the radius waits to be asked.
    Polygon growing;
    growing.addPoint(Position(0, 0));
    growing.addPoint(Position(4, 0));
    growing.updateBounds();
    growing.addPoint(Position(100, 0));
    EXPECT_FLOAT_EQ(growing.getRadiusSquared(), 4.0f);
    EXPECT_NEAR(growing.getCenter().getX(), 104.0f / 3, 1e-4);
    // getPoint counts from the second point; a negative index is the first.
    EXPECT_EQ(growing.getPoint(0), Position(4, 0));
    EXPECT_EQ(growing.getPoint(-1), Position(0, 0));
}

// Ear clipping: every triangle turns counter-clockwise and together they
// cover exactly the outline, convex or not.
TEST(Polygon, TriangulatesCounterClockwiseOutlinesIntoTheirArea) {
    const Points outlines[] = {
        {{0, 0}, {1, 0}, {1, 1}, {0, 1}},
        {{0, 0}, {4, 0}, {4, 1}, {1, 1}, {1, 4}, {0, 4}}, // a reflex corner at (1, 1)
        {{0, 0}, {10, 0}, {10, 10}, {5, 2}, {0, 10}},     // the first ear holds (5, 2)
        {{1, 8}, {2, 0}, {8, 3}, {3, 7}, {4, 3}},         // slanted edges round (4, 3)
        {{0, 0}, {6, 0}, {6, 6}, {4, 6}, {4, 2}, {2, 2}, {2, 6}, {0, 6}}};
    for (const Points& points : outlines) {
        Polygon polygon(points);
        polygon.triangulate();
        polygon.triangulate(); // again: a fresh list, not one appended to the last
        std::vector<const Position*> t(polygon.getTriangles().begin(),
                                       polygon.getTriangles().end());
        ASSERT_EQ(t.size(), 3 * (points.size() - 2));
        float area = 0, outlineArea = 0;
        for (size_t i = 0; i < t.size(); i += 3) {
            EXPECT_GT(cross(*t[i], *t[i + 1], *t[i + 2]), 0.0f) << "triangle " << i / 3;
            area += cross(*t[i], *t[i + 1], *t[i + 2]);
        }
        for (auto p = points.begin(); std::next(p) != points.end(); ++p)
            outlineArea += cross(points.front(), *p, *std::next(p));
        EXPECT_FLOAT_EQ(area, outlineArea);
    }
    // Clockwise, every corner looks reflex: no ear, and the clipping ends.
    Polygon clockwise(Points{{0, 0}, {0, 1}, {1, 1}, {1, 0}});
    clockwise.triangulate();
    EXPECT_TRUE(clockwise.getTriangles().empty());
}

TEST(Polygon, DrawFillsTheOutlineAndFollowsMovedPoints) {
    Polygon square(Points{{10, 10}, {40, 10}, {40, 40}, {10, 40}});
    Polygon copy(square); // its triangles must point into its own points
    square.getPoints().clear();
    GlContext::reset();
    copy.draw(0.0f, Position(-50, 0));
    EXPECT_EQ(GlContext::colours({{75, 25}, {25, 25}}), "wk");
    copy.getPoints().back() = Position(10, 100);
    copy.getPoint(1) = Position(40, 100);
    GlContext::reset();
    copy.draw(0.0f, Position(0, 0));
    EXPECT_EQ(GlContext::colourAt(25, 90), 'w');
}

// A turned matrix turns the points; a plain translation only moves them.
TEST(Shape, TransformedByTheWholeMatrixOrItsTranslation) {
    GlContext::reset();
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
