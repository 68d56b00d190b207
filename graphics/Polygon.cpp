#include "graphics/Polygon.h"

#include <GL/gl.h>
#include <cmath>
#include <iterator>

namespace {

bool pointsDiffer(const std::list<Position>& a, const std::list<Position>& b) {
    if (a.size() != b.size())
        return true;
    for (auto i = a.begin(), j = b.begin(); i != a.end(); ++i, ++j)
        if (*i != *j)
            return true;
    return false;
}

float sideOf(const Position& p, const Position& u, const Position& v) {
    return (p.getX() - u.getX()) * (v.getY() - u.getY()) -
           (v.getX() - u.getX()) * (p.getY() - u.getY());
}

bool sameSide(const Position& p, const Position& q, const Position& u, const Position& v) {
    return sideOf(p, u, v) * sideOf(q, u, v) > 0.0f;
}

template <typename It> It nextWrapped(It it, It begin, It end) {
    ++it;
    return it == end ? begin : it;
}

} // namespace

Polygon::Polygon(const std::list<Position>& points) : points(points) {
    updateCenter();
}

// The triangulation points into the source's own points, so the copy rebuilds its own.
Polygon::Polygon(const Polygon& other)
    : points(other.points), center(other.center), radiusSquared(other.radiusSquared),
      triangulatedPoints(other.triangulatedPoints) {}

Polygon& Polygon::operator=(const Polygon& other) {
    if (this != &other) {
        points = other.points;
        center = other.center;
        radiusSquared = other.radiusSquared;
        triangulatedPoints = other.triangulatedPoints;
        triangles.clear();
    }
    return *this;
}

void Polygon::setPoints(const std::list<Position>& newPoints) {
    points = newPoints;
    triangles.clear();
    updateCenter();
}

void Polygon::addPoint(const Position& point) {
    points.push_back(point);
    updateCenter();
}

Position& Polygon::getPoint(int i) {
    auto it = points.begin();
    if (i >= 0)
        std::advance(it, i + 1);
    return *it;
}

// Running mean that skips points equal to the value so far.
void Polygon::updateCenter() {
    if (points.empty())
        return;
    Position c = points.front();
    float n = 2.0f;
    for (const Position& p : points) {
        if (p != c) {
            c.setX(c.getX() + (p.getX() - c.getX()) / n);
            c.setY(c.getY() + (p.getY() - c.getY()) / n);
            n += 1.0f;
        }
    }
    center = c;
}

void Polygon::updateRadius() {
    radiusSquared = 0.0f;
    for (const Position& p : points) {
        float d2 = center.squaredDistance(p);
        if (d2 > radiusSquared)
            radiusSquared = d2;
    }
}

void Polygon::updateBounds() {
    updateCenter();
    updateRadius();
}

void Polygon::getBounds(Position& origin, int& width, int& height) const {
    auto it = points.begin();
    const Position& first = *it;
    std::advance(it, 2);
    origin = first;
    width = static_cast<int>(it->getX() - first.getX());
    height = static_cast<int>(it->getY() - first.getY());
}

bool Polygon::isEar(const std::list<Position*>& window, const Position* a, const Position* b,
                    const Position* c) const {
    float angleA = std::atan2(a->getY() - b->getY(), a->getX() - b->getX());
    float angleC = std::atan2(c->getY() - b->getY(), c->getX() - b->getX());
    if (angleA < angleC)
        angleA += 6.2831855f;
    if (angleA - angleC > 3.141592653589793)
        return false; // reflex corner at b
    float minX = std::fmin(a->getX(), std::fmin(b->getX(), c->getX()));
    float maxX = std::fmax(a->getX(), std::fmax(b->getX(), c->getX()));
    float minY = std::fmin(a->getY(), std::fmin(b->getY(), c->getY()));
    float maxY = std::fmax(a->getY(), std::fmax(b->getY(), c->getY()));
    for (const Position* p : window) {
        if (p == a || p == b || p == c)
            continue;
        if (!(minX < p->getX() && p->getX() < maxX && minY < p->getY() && p->getY() < maxY))
            continue;
        if (sameSide(*p, *a, *b, *c) && sameSide(*p, *b, *c, *a) && sameSide(*p, *c, *a, *b))
            return false;
    }
    return true;
}

void Polygon::triangulate() {
    triangles.clear();
    if (points.size() <= 3) {
        for (Position& p : points)
            triangles.push_back(&p);
        return;
    }
    std::list<Position*> window;
    for (Position& p : points)
        window.push_back(&p);
    auto cur = window.begin();
    // Clockwise or self-intersecting outlines may have no ear at all; a full
    // pass without one ends the clipping instead of looping for ever.
    size_t missesInRow = 0;
    while (window.size() > 3 && missesInRow < window.size()) {
        auto itA = cur;
        auto itB = nextWrapped(itA, window.begin(), window.end());
        auto itC = nextWrapped(itB, window.begin(), window.end());
        Position* a = *itA;
        if (isEar(window, a, *itB, *itC)) {
            triangles.push_back(a);
            triangles.push_back(*itB);
            triangles.push_back(*itC);
            window.erase(itB);
            missesInRow = 0;
        } else {
            ++missesInRow;
        }
        cur = nextWrapped(itA, window.begin(), window.end());
    }
    if (window.size() == 3)
        for (Position* p : window)
            triangles.push_back(p);
}

void Polygon::draw(float z, const Position& offset) {
    bool refreshed = false;
    if (triangles.empty() || pointsDiffer(points, triangulatedPoints)) {
        triangulate();
        refreshed = true;
    }
    glBegin(GL_TRIANGLES);
    for (const Position* p : triangles)
        glVertex3f(p->getX() - offset.getX(), p->getY() - offset.getY(), z);
    glEnd();
    if (refreshed)
        triangulatedPoints = points;
}
