#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "graphics/Collision.h"
#include "graphics/Polygon.h"
#include "graphics/Shape.h"
#include "scene/GameObject.h"
#include "support/GlContext.h"

namespace {

using Points = std::list<Position>;

std::string text(const Position& p) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "(%g,%g)", p.getX(), p.getY());
    return buffer;
}

// An object at the origin with an explicit outline; it logs each call as
// "callee<other edgeStart edgeEnd|otherEdgeStart otherEdgeEnd".
class Probe : public GameObject {
public:
    Probe(const char* name, std::vector<std::string>& log, const Points& points = {})
        : name(name), log(log) {
        setShape(&outline);
        setUseGraphicShape(false);
        position = &place; // our own, so nobody else frees it
        if (!points.empty())
            addPolygon(points);
    }
    void addPolygon(const Points& points) { outline.addPolygon(Polygon(points)); }
    void onCollision(GameObject* other, Position a, Position b, Position c, Position d) override {
        const Probe* probe = dynamic_cast<Probe*>(other);
        log.push_back(name + "<" + (probe ? probe->name : "?") + " " + text(a) + text(b) + "|" +
                      text(c) + text(d));
        place.translate(moveOnHit, 0);
    }
    float moveOnHit = 0;

private:
    std::string name;
    std::vector<std::string>& log;
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

class CollisionTest : public testing::Test {
protected:
    void SetUp() override {
        Collision::clearCollisions();
        GlContext::reset();
    }
    void TearDown() override { Collision::clearCollisions(); }

    // One checkAll over a fresh log.
    std::vector<std::string> check() {
        log.clear();
        Collision::checkAll();
        return log;
    }
    using Log = std::vector<std::string>;
    Log log;
};

} // namespace

TEST_F(CollisionTest, NotifiesEachFlaggedSideWithTheSubjectsEdgeFirst) {
    Probe s("s", log, {Position(0, 0), Position(10, 0)});
    Probe o("o", log, {Position(5, -5), Position(5, 5)});
    const std::string edges = " (0,0)(10,0)|(5,-5)(5,5)";
    for (const auto& [notifyS, notifyO, heard] : {std::tuple{true, false, Log{"s<o" + edges}},
                                                  {true, true, Log{"s<o" + edges, "o<s" + edges}},
                                                  {false, true, Log{"o<s" + edges}}}) {
        Collision::clearCollisions();
        Collision::registerCollision(&s, &o, notifyS, notifyO);
        EXPECT_EQ(check(), heard);
    }
}

TEST_F(CollisionTest, TheSubjectsOutlineIsTakenAfreshForEachOther) {
    Probe s("s", log, {Position(0, 0), Position(10, 0)});
    Probe first("first", log, {Position(5, -5), Position(5, 5)});
    Probe second("second", log, {Position(8, -5), Position(8, 5)});
    Probe far("far", log, {Position(105, -5), Position(105, 5)});
    s.moveOnHit = 100; // the first notification moves the subject away from the second
    for (Probe* other : {&first, &second, &far})
        Collision::registerCollision(&s, other, true, false);
    EXPECT_EQ(check(),
              (Log{"s<first (0,0)(10,0)|(5,-5)(5,5)", "s<far (100,0)(110,0)|(105,-5)(105,5)"}));
}

TEST_F(CollisionTest, CrossingEdgesIncludeTouchingEndsOnly) {
    // Ending on the segment crosses (also at its own end); starting on it does not (D = 0).
    EXPECT_EQ(crossing({Position(5, 5), Position(5, 0)}), "(5,5)(5,0)");
    EXPECT_EQ(crossing({Position(5, 0), Position(5, 5)}), "(5,5)(5,0)"); // the closing edge
    EXPECT_EQ(crossing({Position(-5, 5), Position(0, 0)}), "(-5,5)(0,0)");
    EXPECT_EQ(crossing({Position(5, 5), Position(5, -5)}), "(5,5)(5,-5)");
    EXPECT_EQ(crossing({Position(4, -2), Position(6, -2), Position(6, 2), Position(4, 2)}),
              "(6,-2)(6,2)"); // the first in the polygon's order
    // Collinear overlap, stopping short, passing beyond, one side only, no edges.
    for (const Points& miss :
         {Points{Position(5, 0), Position(15, 0)}, Points{Position(5, 1), Position(5, 5)},
          Points{Position(15, -5), Position(15, 5)}, Points{Position(2, 1), Position(8, 3)},
          Points{Position(5, 0)}, Points{}})
        EXPECT_EQ(crossing(miss), "");
}

TEST_F(CollisionTest, BoundsAndCandidateFiltersDropFarAndMerelyTouchingOutlines) {
    auto around = [](float x) { return bounded({Position(x - 1, 0), Position(x + 1, 0)}); };
    EXPECT_TRUE(Collision::boundsOverlap(around(0), around(3))); // twice as far as touching
    EXPECT_TRUE(Collision::boundsOverlap(around(0), around(4))); // equality passes
    EXPECT_FALSE(Collision::boundsOverlap(around(0), around(4.5f)));

    // Only edges near the other's circle are flagged; a repeated point is no edge,
    // nor is an edge whose line meets the circle beyond its end.
    std::vector<bool> flags;
    Polygon chain = bounded(
        {Position(0, 0), Position(10, 0), Position(10, 0), Position(10, 40), Position(40, 40)});
    Polygon dot = bounded({Position(4, -1), Position(6, 1)}); // centre (5, 0), r2 2
    EXPECT_TRUE(Collision::findCandidateEdges(chain, dot, flags));
    EXPECT_EQ(flags, (std::vector<bool>{true, false, false, false, false}));
    EXPECT_FALSE(
        Collision::findCandidateEdges(bounded({Position(20, 0), Position(30, 0)}), dot, flags));

    // A triangle whose farthest point rests on the edge touches it, but the
    // foot of its centre is on its circle, not inside: no collision.
    const Points resting = {Position(5, 0), Position(8, 6), Position(2, 6)};
    ASSERT_EQ(bounded(resting).getRadiusSquared(), 16.0f);
    EXPECT_EQ(crossing(resting), "(2,6)(5,0)");
    EXPECT_FALSE(Collision::findCandidateEdges(bounded({Position(0, 0), Position(10, 0)}),
                                               bounded(resting), flags));
    Probe s("s", log, {Position(0, 0), Position(10, 0)});
    Probe touching("touching", log, resting);
    Probe lower("lower", log, {Position(5, -1), Position(8, 5), Position(2, 5)});
    // Nor is a crossing on an edge left unflagged while another edge is flagged.
    Probe hook("hook", log, {Position(1.5f, 10), Position(1.5f, 0), Position(10, 0)});
    Collision::registerCollision(&s, &touching, true, false);
    Collision::registerCollision(&s, &lower, true, false);
    Collision::registerCollision(&hook, &touching, true, false);
    EXPECT_EQ(check(), (Log{"s<lower (0,0)(10,0)|(5,-1)(8,5)"}));
}

TEST_F(CollisionTest, SubjectChainsStayOpenOtherPolygonsCloseAndContainmentIsNoHit) {
    Points open = {Position(10, 0), Position(20, 0), Position(20, 10), Position(10, 10)};
    Probe s("s", log, open);
    Probe bar("bar", log, {Position(5, 5), Position(15, 5)}); // crosses only the left side
    open.push_back(Position(10, 0));
    Probe closed("closed", log, open);
    Collision::registerCollision(&s, &bar, true, false);
    Collision::registerCollision(&closed, &bar, true, false);
    EXPECT_EQ(check(), (Log{"closed<bar (10,10)(10,0)|(5,5)(15,5)"}));
    Collision::clearCollisions();
    Collision::registerCollision(&bar, &s, true, false); // as the other, the outline is closed
    EXPECT_EQ(check(), (Log{"bar<s (5,5)(15,5)|(10,10)(10,0)"}));

    Collision::clearCollisions();
    Probe collinear("collinear", log, {Position(12, 0), Position(18, 0)});
    Probe inside("inside", log, {Position(12, 2), Position(18, 2), Position(18, 8)});
    Probe empty("empty", log);
    GameObject nothing; // no graphic and no shape: no outline at all
    for (GameObject* other : std::vector<GameObject*>{&collinear, &inside, &empty, &nothing})
        Collision::registerCollision(&closed, other, true, true);
    Collision::registerCollision(&nothing, &bar, true, true);
    EXPECT_EQ(check(), Log{});
}

TEST_F(CollisionTest, FirstCrossingBySubjectPolygonOtherPolygonSubjectEdgeOtherEdge) {
    Probe slant("slant", log, {Position(7, -1), Position(13, 5)});
    Probe chain("chain", log, {Position(0, 0), Position(10, 0), Position(10, 10)});
    Probe reversed("reversed", log, {Position(10, 10), Position(10, 0), Position(0, 0)});
    Probe lines("lines", log);
    lines.addPolygon({Position(0, 1), Position(20, 1)});
    lines.addPolygon({Position(0, 0), Position(20, 0)});
    Probe bars("bars", log);
    bars.addPolygon({Position(30, 40), Position(30, 50)});
    bars.addPolygon({Position(3, -5), Position(3, 5)});
    bars.addPolygon({Position(17, -5), Position(17, 5)});
    Collision::registerCollision(&chain, &slant, true, false);
    Collision::registerCollision(&reversed, &slant, true, false);
    Collision::registerCollision(&lines, &bars, true, false);
    // Each pair crosses more than once and is reported once.
    EXPECT_EQ(check(), (Log{"chain<slant (0,0)(10,0)|(7,-1)(13,5)",
                            "reversed<slant (10,10)(10,0)|(7,-1)(13,5)",
                            "lines<bars (0,1)(20,1)|(3,-5)(3,5)"}));
}

TEST_F(CollisionTest, RegistrationMergesBySubject) {
    Probe h("h", log, {Position(0, 0), Position(10, 0)});
    Probe p("p", log, {Position(5, -5), Position(5, 5)});
    Probe q("q", log, {Position(8, -5), Position(8, 5)});
    Collision::registerCollision(&h, &p, true, false);
    Collision::registerCollision(&q, &h, false, true);
    ASSERT_EQ(Collision::getCollisions().size(), 1u);
    const Collision* merged = Collision::getCollisions().front();
    EXPECT_EQ(merged->getSubject(), &h);
    EXPECT_EQ(merged->getOthers(), (std::list<GameObject*>{&p, &q}));
    EXPECT_EQ(merged->getNotifySubject(), (std::list<bool>{true, true}));
    EXPECT_EQ(merged->getNotifyOther(), (std::list<bool>{false, false}));
    EXPECT_EQ(check(), (Log{"h<p (0,0)(10,0)|(5,-5)(5,5)", "h<q (0,0)(10,0)|(8,-5)(8,5)"}));

    Collision::registerCollision(&p, &q, false, false); // neither side known: a new one
    ASSERT_EQ(Collision::getCollisions().size(), 2u);
    EXPECT_EQ(Collision::getCollisions().back()->getSubject(), &p);
    Collision::registerCollision(&p, &h, true, false); // the first naming either side takes it
    EXPECT_EQ(merged->getOthers().back(), &p);
    EXPECT_EQ(merged->getNotifySubject().back(), false);
    EXPECT_EQ(Collision::getCollisions().back()->getOthers().size(), 1u);
    Collision::registerCollision(&h, &h, true, false); // both readings apply
    EXPECT_EQ(merged->getOthers().size(), 5u);
    EXPECT_EQ(merged->getNotifySubject(), (std::list<bool>{true, true, false, true, false}));
}

TEST_F(CollisionTest, ThousandsOfChecksKeepTheStackAndFreeEveryOutline) {
    Probe s("s", log,
            {Position(0, 0), Position(10, 0), Position(10, 10), Position(0, 10), Position(0, 0)});
    Probe bar("bar", log, {Position(5, 5), Position(15, 5)});
    Probe beside("beside", log, {Position(12, 0), Position(12, 10)});
    Probe far("far", log, {Position(500, 0), Position(500, 10)});
    Collision::registerCollision(&s, &bar, false, true);
    Collision::registerCollision(&s, &beside, true, true);
    Collision::registerCollision(&far, &s, true, true);
    const int depth = GlContext::modelViewDepth();
    for (int i = 0; i < 5000; ++i)
        Collision::checkAll();
    EXPECT_EQ(GlContext::modelViewDepth(), depth);
    EXPECT_EQ(log.size(), 5000u);
    EXPECT_EQ(check(), (Log{"bar<s (10,0)(10,10)|(5,5)(15,5)"}));
}
