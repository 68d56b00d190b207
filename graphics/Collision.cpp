#include "graphics/Collision.h"

#include <cmath>
#include <iterator>

#include "graphics/Polygon.h"
#include "graphics/Shape.h"
#include "scene/GameObject.h"

std::list<Collision*> Collision::collisions;

namespace {

float cross(const Position& u, const Position& v, const Position& w) {
    return (v.getX() - u.getX()) * (w.getY() - u.getY()) -
           (v.getY() - u.getY()) * (w.getX() - u.getX());
}

// The object's world polygons; its outline is deleted at once.
std::list<Polygon> worldPolygons(GameObject* object) {
    std::list<Polygon> polygons;
    Shape* outline = object->getWorldShape();
    if (outline) {
        polygons.swap(outline->getPolygons());
        delete outline;
    }
    return polygons;
}

} // namespace

Collision::Collision(GameObject* subject, GameObject* other, bool notifySubject, bool notifyOther)
    : subject(subject) {
    addOther(other, notifySubject, notifyOther);
}

void Collision::registerCollision(GameObject* a, GameObject* b, bool notifyA, bool notifyB) {
    for (Collision* collision : collisions) {
        if (collision->subject != a && collision->subject != b)
            continue;
        if (collision->subject == a)
            collision->addOther(b, notifyA, notifyB);
        if (collision->subject == b)
            collision->addOther(a, notifyB, notifyA);
        return;
    }
    collisions.push_back(new Collision(a, b, notifyA, notifyB));
}

void Collision::checkAll() {
    for (Collision* collision : collisions)
        collision->check();
}

void Collision::clearCollisions() {
    for (Collision* collision : collisions)
        delete collision;
    collisions.clear();
}

void Collision::addOther(GameObject* other, bool notifySubjectFlag, bool notifyOtherFlag) {
    others.push_back(other);
    notifySubject.push_back(notifySubjectFlag);
    notifyOther.push_back(notifyOtherFlag);
}

void Collision::check() {
    std::vector<bool> flags;
    auto subjectFlag = notifySubject.begin();
    auto otherFlag = notifyOther.begin();
    for (auto other = others.begin(); other != others.end(); ++other, ++subjectFlag, ++otherFlag) {
        // Recomputed per other: an earlier notification may have moved the subject.
        std::list<Polygon> subjectPolygons = worldPolygons(subject);
        for (Polygon& polygon : subjectPolygons)
            if (checkPolygon(polygon, *other, *subjectFlag, *otherFlag, flags))
                break;
    }
}

bool Collision::checkPolygon(Polygon& a, GameObject* other, bool notifySubjectFlag,
                             bool notifyOtherFlag, std::vector<bool>& flags) {
    std::list<Polygon> otherPolygons = worldPolygons(other);
    for (Polygon& b : otherPolygons) {
        a.updateBounds();
        b.updateBounds();
        if (!boundsOverlap(a, b) || !findCandidateEdges(a, b, flags))
            continue;
        const std::list<Position>& points = a.getPoints();
        auto start = points.begin();
        size_t i = 0;
        for (auto end = std::next(start); end != points.end(); ++start, ++end, ++i) {
            Position edgeStart(0.0f, 0.0f), edgeEnd(0.0f, 0.0f);
            if (!flags[i])
                continue;
            if (!findCrossingEdge(*start, *end, b, edgeStart, edgeEnd))
                continue;
            if (notifySubjectFlag)
                subject->onCollision(other, *start, *end, edgeStart, edgeEnd);
            if (notifyOtherFlag)
                other->onCollision(subject, *start, *end, edgeStart, edgeEnd);
            return true;
        }
    }
    return false;
}

bool Collision::boundsOverlap(const Polygon& a, const Polygon& b) {
    const float halfDistance = std::sqrt(0.25f * a.getCenter().squaredDistance(b.getCenter()));
    return !(std::sqrt(a.getRadiusSquared()) + std::sqrt(b.getRadiusSquared()) < halfDistance);
}

bool Collision::findCandidateEdges(const Polygon& a, const Polygon& b, std::vector<bool>& flags) {
    const std::list<Position>& points = a.getPoints();
    flags.assign(points.size(), false);
    if (points.empty())
        return false;
    const Position& c = b.getCenter();
    const float r2 = b.getRadiusSquared();
    bool any = false;
    size_t i = 0;
    auto p = points.begin();
    for (auto q = std::next(p); q != points.end(); ++p, ++q, ++i) {
        const float ux = q->getX() - p->getX(), uy = q->getY() - p->getY();
        const float wx = c.getX() - p->getX(), wy = c.getY() - p->getY();
        const float lengthU = std::sqrt(ux * ux + uy * uy);
        const float lengthW = std::sqrt(wx * wx + wy * wy);
        if (lengthU == 0.0f)
            continue; // a point, not an edge
        float t = 0.0f;
        if (lengthW * lengthU != 0.0f)
            t = ((wx * ux + wy * uy) / (lengthW * lengthU)) * lengthW / lengthU;
        const Position foot(p->getX() + t * ux, p->getY() + t * uy);
        const bool within = t >= 0.0f && t <= 1.0f;
        if (!within && !(p->squaredDistance(foot) < r2) && !(q->squaredDistance(foot) < r2))
            continue;
        if (c.squaredDistance(foot) < r2) {
            flags[i] = true;
            any = true;
        }
    }
    return any;
}

bool Collision::findCrossingEdge(const Position& start, const Position& end, const Polygon& b,
                                 Position& edgeStart, Position& edgeEnd) {
    const std::list<Position>& points = b.getPoints();
    for (auto q = points.begin(); q != points.end(); ++q) {
        auto next = std::next(q);
        const Position& q2 = next == points.end() ? points.front() : *next;
        const float d = cross(start, end, *q);
        if (d == 0.0f)
            continue;
        const float s1 = cross(start, end, q2) / d;
        const float s2 = cross(end, *q, q2) / d;
        const float s3 = cross(start, q2, *q) / d;
        if (s1 <= 0.0f && s2 >= 0.0f && s3 >= 0.0f && !(s1 == 0.0f && s2 == 0.0f && s3 == 0.0f)) {
            edgeStart = *q;
            edgeEnd = q2;
            return true;
        }
    }
    return false;
}
