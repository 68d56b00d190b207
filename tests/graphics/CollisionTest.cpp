#include <cstdio>
#include <gtest/gtest.h>

#include "graphics/Collision.h"
#include "graphics/Shape.h"
#include "scene/GameObject.h"
#include "support/GlContext.h"

namespace {

using Points = std::list<Position>;
using Log = std::vector<std::string>;

std::string text(const Position& p) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "(%g,%g)", p.getX(), p.getY());
    return buffer;
}

// An object at the origin with an explicit outline of the given polygons; it
// logs each call as "callee<other edgeStart edgeEnd|otherEdgeStart otherEdgeEnd".
struct Probe : GameObject {
    Probe(const char* name, Log& log, std::initializer_list<Points> polygons)
        : name(name), log(log), outline(std::list<Polygon>(polygons.begin(), polygons.end())) {
        setShape(&outline);
        setUseGraphicShape(false);
        position = &place; // our own, so nobody else frees it
    }
    void onCollision(GameObject* other, Position a, Position b, Position c, Position d) override {
        log.push_back(name + "<" + static_cast<Probe*>(other)->name + " " + text(a) + text(b) +
                      "|" + text(c) + text(d));
        place.translate(moveOnHit, 0);
    }
    float moveOnHit = 0;
    std::string name;
    Log& log;
    Shape outline;
    Position place{0, 0};
};

Polygon bounded(const Points& points) {
    Polygon polygon(points);
    polygon.updateBounds();
    return polygon;
}

// The edge of the polygon found crossing (0, 0)-(10, 0), or "".
std::string crossing(const Points& points) {
    Position q(0, 0), q2(0, 0);
    if (!Collision::findCrossingEdge(Position(0, 0), Position(10, 0), bounded(points), q, q2))
        return "";
    return text(q) + text(q2);
}

// Each case registers its pairs, notifying the first side only, and logs one checkAll.
class CollisionTest : public testing::Test {
protected:
    void SetUp() override { Collision::clearCollisions(); }
    void TearDown() override { Collision::clearCollisions(); }
    Log check(std::initializer_list<std::pair<GameObject*, GameObject*>> pairs) {
        for (auto [a, b] : pairs)
            Collision::registerCollision(a, b, true, false);
        GlContext::reset();
        Collision::checkAll();
        EXPECT_EQ(GlContext::modelViewDepth(), 1);
        return log;
    }
    Log log;
    const Points xAxis{{0, 0}, {10, 0}};
};

} // namespace

TEST_F(CollisionTest, TheSubjectsOutlineIsTakenAfreshForEachOther) {
    Probe s("s", log, {xAxis}), first("first", log, {{{5, -5}, {5, 5}}});
    Probe second("second", log, {{{8, -5}, {8, 5}}}), far("far", log, {{{105, -5}, {105, 5}}});
    s.moveOnHit = 100; // the first notification moves the subject away from the second
    EXPECT_EQ(check({{&s, &first}, {&s, &second}, {&s, &far}}),
              (Log{"s<first (0,0)(10,0)|(5,-5)(5,5)", "s<far (100,0)(110,0)|(105,-5)(105,5)"}));
}

// Ending on the segment crosses (also at its own end), starting on it does not;
// nor do a collinear overlap, stopping short, passing beyond or one side only.
TEST_F(CollisionTest, CrossingEdgesIncludeTouchingEndsOnly) {
    EXPECT_EQ(crossing({{5, 5}, {5, 0}}) + crossing({{5, 0}, {5, 5}}), "(5,5)(5,0)(5,5)(5,0)");
    EXPECT_EQ(crossing({{-5, 5}, {0, 0}}) + crossing({{5, 5}, {5, -5}}), "(-5,5)(0,0)(5,5)(5,-5)");
    EXPECT_EQ(crossing({{4, -2}, {6, -2}, {6, 2}, {4, 2}}), "(6,-2)(6,2)"); // the first in order
    EXPECT_EQ(crossing({{5, 0}, {15, 0}}) + crossing({{5, 1}, {5, 5}}) +
                  crossing({{15, -5}, {15, 5}}) + crossing({{2, 1}, {8, 3}}),
              "");
}

TEST_F(CollisionTest, BoundsAndCandidateFiltersDropFarAndMerelyTouchingOutlines) {
    auto around = [](float x) { return bounded({{x - 1, 0}, {x + 1, 0}}); };
    EXPECT_TRUE(Collision::boundsOverlap(around(0), around(4))); // twice as far as touching
    EXPECT_FALSE(Collision::boundsOverlap(around(0), around(4.5f)));
    // Only edges near the other's circle are flagged; a repeated point is no edge,
    // nor is an edge whose line meets the circle beyond its end.
    std::vector<bool> flags;
    const Polygon dot = bounded({{4, -1}, {6, 1}}); // centre (5, 0), r2 2
    EXPECT_TRUE(Collision::findCandidateEdges(
        bounded({{0, 0}, {10, 0}, {10, 0}, {10, 40}, {40, 40}}), dot, flags));
    EXPECT_EQ(flags, (std::vector<bool>{true, false, false, false, false}));
    EXPECT_FALSE(Collision::findCandidateEdges(bounded({{20, 0}, {30, 0}}), dot, flags));
    EXPECT_FALSE(Collision::findCandidateEdges(Polygon(), dot, flags));
    // A triangle whose farthest point rests on the edge crosses it, but the foot
    // of its centre is on its circle, not inside: no collision. Nor is a crossing
    // on an edge left unflagged while another edge is flagged.
    const Points resting = {{5, 0}, {8, 6}, {2, 6}};
    EXPECT_EQ(crossing(resting), "(2,6)(5,0)");
    Probe s("s", log, {xAxis}), touching("touching", log, {resting});
    Probe lower("lower", log, {{{5, -1}, {8, 5}, {2, 5}}});
    Probe hook("hook", log, {{{1.5f, 10}, {1.5f, 0}, {10, 0}}});
    EXPECT_EQ(check({{&s, &touching}, {&s, &lower}, {&hook, &touching}}),
              (Log{"s<lower (0,0)(10,0)|(5,-1)(8,5)"}));
}

// Subject outlines are open chains, the other's closed; each pair is reported
// once, at its first crossing by subject polygon, other polygon, subject edge.
// A pair joins the collision whose subject is either side, flags swapped if second.
TEST_F(CollisionTest, FirstCrossingOfOpenSubjectChainsWithClosedOthers) {
    Points open = {{10, 0}, {20, 0}, {20, 10}, {10, 10}};
    Probe s("s", log, {open}), bar("bar", log, {{{5, 5}, {15, 5}}}); // bar crosses the left side
    Probe slant("slant", log, {{{7, -1}, {13, 5}}}),
        chain("chain", log, {{{0, 0}, {10, 0}, {10, 10}}});
    Probe reversed("reversed", log, {{{10, 10}, {10, 0}, {0, 0}}});
    Probe lines("lines", log, {{{0, 1}, {20, 1}}, xAxis});
    Probe bars("bars", log, {{{30, 40}, {30, 50}}, {{3, -5}, {3, 5}}, {{17, -5}, {17, 5}}});
    GameObject nothing; // no graphic and no shape: no outline at all
    EXPECT_EQ(
        check({{&bar, &s},
               {&s, &slant},
               {&chain, &slant},
               {&chain, &nothing},
               {&reversed, &slant},
               {&slant, &reversed},
               {&lines, &bars},
               {&nothing, &slant}}),
        (Log{"bar<s (5,5)(15,5)|(10,10)(10,0)", "chain<slant (0,0)(10,0)|(7,-1)(13,5)",
             "reversed<slant (10,10)(10,0)|(7,-1)(13,5)",
             "slant<reversed (10,10)(10,0)|(7,-1)(13,5)", "lines<bars (0,1)(20,1)|(3,-5)(3,5)"}));
}
