#include <gtest/gtest.h>

#include "graphics/Collision.h"
#include "graphics/Shape.h"
#include "scene/GameObject.h"
#include "support/GlContext.h"

namespace {

using Points = std::list<Position>;
using Log = std::vector<std::string>;
Log seen;

// An object at the origin outlined by the polygons; logs "callee<other edge|other's edge".
struct Probe : GameObject {
    Probe(const char* name, std::initializer_list<Points> polygons)
        : name(name), outline(std::list<Polygon>(polygons.begin(), polygons.end())) {
        setShape(&outline);
        setUseGraphicShape(false);
        position = &place; // our own, so nobody else frees it
    }
    void onCollision(GameObject* other, Position a, Position b, Position c, Position d) override {
        std::ostringstream line;
        line << name << "<" << dynamic_cast<Probe*>(other)->name << " ";
        for (const Position* p : {&a, &b, &c, &d})
            line << (p == &c ? "|(" : "(") << p->getX() << "," << p->getY() << ")";
        seen.push_back(line.str());
        place.translate(moveOnHit, 0);
    }
    std::string name;
    Shape outline;
    Position place{0, 0};
    float moveOnHit = 0;
};

const Points xAxis{{0, 0}, {10, 0}};

} // namespace

// Subject outlines are open chains, the other's closed; a pair is reported once, at its first
// crossing. Resting on an edge is no collision, nor is crossing an edge left unflagged.
TEST(Collision, FirstCrossingOfOpenSubjectChainsWithClosedOthers) {
    Probe bars("bars", {{{30, 40}, {30, 50}}, {{3, -5}, {3, 5}}, {{17, -5}, {17, 5}}});
    Probe touching("touching", {{{5, 0}, {8, 6}, {2, 6}}}), slant("slant", {{{7, -1}, {13, 5}}});
    Probe s("s", {{{10, 0}, {20, 0}, {20, 10}, {10, 10}}}), bar("bar", {{{5, 5}, {15, 5}}});
    Probe hook("hook", {{{1.5f, 10}, {1.5f, 0}, {10, 0}}}), far("far", {{{105, -5}, {105, 5}}});
    Probe lower("lower", {{{5, -1}, {8, 5}, {2, 5}}}), reversed("r", {{{10, 10}, {10, 0}, {0, 0}}});
    Probe lines("lines", {{{0, 1}, {20, 1}}, xAxis}), chain("c", {{{0, 0}, {10, 0}, {10, 10}}});
    Probe x("x", {xAxis}), mover("mover", {xAxis}), held("held", {xAxis});
    mover.moveOnHit = 100; // the first notification moves it away from the next: fresh outlines
    GameObject nothing, holder; // nothing has no graphic and no shape: no outline at all
    holder.addChild(&held);     // placed by its holder's position
    holder.setPosition(Position(100, 0));
    GameObject* pairs[][2] = {{&x, &touching},     {&x, &lower},       {&hook, &touching},
                              {&mover, &bar},      {&mover, &bars},    {&mover, &far},
                              {&bar, &s},          {&s, &slant},       {&chain, &slant},
                              {&chain, &nothing},  {&lines, &bars},    {&reversed, &slant},
                              {&slant, &reversed}, {&nothing, &slant}, {&held, &far}};
    Collision::clearCollisions(); // one checkAll over the pairs, each notifying its first side only
    for (auto [a, b] : pairs)
        Collision::registerCollision(a, b, true, false);
    GlContext::reset();
    Collision::checkAll();
    GLint depth = 0; // the stack as it was
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    Collision::clearCollisions();
    EXPECT_EQ(seen,
              (Log{"x<lower (0,0)(10,0)|(5,-1)(8,5)", "mover<bars (0,0)(10,0)|(3,-5)(3,5)",
                   "mover<far (100,0)(110,0)|(105,-5)(105,5)", "bar<s (5,5)(15,5)|(10,10)(10,0)",
                   "c<slant (0,0)(10,0)|(7,-1)(13,5)", "lines<bars (0,1)(20,1)|(3,-5)(3,5)",
                   "r<slant (10,10)(10,0)|(7,-1)(13,5)", "slant<r (10,10)(10,0)|(7,-1)(13,5)",
                   "held<far (100,0)(110,0)|(105,-5)(105,5)"}));
}

// A corner of the other on either end of the segment touches it.
TEST(Collision, ACornerOnAnEndOfTheSegmentIsACrossing) {
    Position from(0, 0), to(0, 0);
    for (const Points& corner : {Points{{-5, 5}, {0, 0}, {-5, -5}}, {{15, 5}, {10, 0}, {15, -5}}})
        EXPECT_TRUE(Collision::findCrossingEdge({0, 0}, {10, 0}, Polygon(corner), from, to));
}
