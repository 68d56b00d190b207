#include <gtest/gtest.h>

#include "graphics/Polygon.h"
#include "support/GlContext.h"

using Points = std::list<Position>;

// Each triangle turns counter-clockwise; an outline of n corners gives n - 2.
TEST(Polygon, TriangulatesCounterClockwiseOutlinesAndDrawsTheTriangles) {
    for (const Points& points :
         {Points{{0, 0}, {4, 0}, {4, 1}, {1, 1}, {1, 4}, {0, 4}}, // reflex
          {{0, 0}, {10, 0}, {10, 10}, {5, 2}, {0, 10}},           // first ear holds (5, 2)
          {{1, 8}, {2, 0}, {8, 3}, {3, 7}, {4, 3}},               // slanted round (4, 3)
          {{14, 11}, {12, 11}, {9, 12}, {2, 16}, {1, 10}, {7, 7}, {9, 2}}}) { // misses between ears
        Polygon polygon;
        polygon = Polygon(points); // assigned: the copy must hold the points
        polygon.triangulate();
        polygon.triangulate(); // again: a fresh list, not one appended to the last
        const std::vector t(polygon.getTriangles().begin(), polygon.getTriangles().end());
        ASSERT_EQ(t.size(), 3 * (points.size() - 2));
        for (size_t i = 0; i < t.size(); i += 3) {
            const Position u = *t[i + 1] - *t[i], v = *t[i + 2] - *t[i];
            EXPECT_GT(u.getX() * v.getY() - u.getY() * v.getX(), 0.0f) << "triangle " << i / 3;
        }
    }
    Polygon clockwise(Points{{0, 0}, {0, 1}, {1, 1}, {1, 0}}); // no ear: the clipping ends
    clockwise.triangulate();
    EXPECT_TRUE(clockwise.getTriangles().empty());
    // A spike folding back along its edge ties the angles at (10, 0): an ear, clipped first.
    Polygon spike(Points{{0, 0}, {10, 0}, {5, 0}, {5, 5}});
    spike.triangulate();
    EXPECT_EQ(**std::next(spike.getTriangles().begin()), Position(10, 0));
    Polygon square(Points{{10, 10}, {40, 10}, {40, 40}, {10, 40}});
    EXPECT_TRUE(square.getPoint(-1) == Position(10, 10) && square.getPoint(0) == Position(40, 10) &&
                square.getPoint(1) == Position(40, 40));
    GlContext::reset();
    square.draw(0.0f, Position(-50, -40)); // filled, less the offset
    EXPECT_EQ(GlContext::colours({{75, 65}, {25, 25}, {75, 25}}), "wkk");
    Polygon grown(Points{{10, 60}, {40, 60}, {40, 90}});
    grown.draw(0.0f, Position(0, 0));
    grown.addPoint({10, 90}); // drawn as it is now: a square
    grown.draw(0.0f, Position(0, 0));
    EXPECT_EQ(GlContext::colours({{15, 85}}), "w");
    grown.setPoints(Points{{10, 60}, {40, 60}, {40, 90}}); // its triangles go with the old outline
    EXPECT_TRUE(grown.getTriangles().empty());
    Polygon triangle(Points{{10, 60}, {40, 60}, {40, 90}});
    triangle.draw(0.0f, Position(0, 0));
    square = triangle; // the square's triangles go with its old outline
    square.draw(0.0f, Position(0, 0));
    EXPECT_EQ(GlContext::colours({{12, 50}}), "k");
    Polygon moved(Points{{0, 0}, {40, 10}, {40, 40}, {10, 40}});
    EXPECT_EQ(moved.getCenter(), Position(22.5f, 22.5f));
    moved.getPoint(-1) = Position(10, 10); // moved in place: the bounds follow
    moved.updateBounds();
    EXPECT_EQ(moved.getCenter(), Position(25, 25));
}
