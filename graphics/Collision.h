#pragma once

#include <list>
#include <vector>

class GameObject;
class Polygon;
class Position;

// One subject and the objects it is tested against. Each check walks the
// subject's open chain of edges against each other object's closed
// polygons and reports the first crossing per pair. Every collision made
// by registerCollision stays in a class-wide registry for the whole run.
class Collision {
public:
    Collision(GameObject* subject, GameObject* other, bool notifySubject, bool notifyOther);
    Collision(const Collision&) = delete;
    Collision& operator=(const Collision&) = delete;
    virtual ~Collision() = default;

    // Adds the pair to the first collision whose subject is a or b, or
    // registers a new one with a as its subject.
    static void registerCollision(GameObject* a, GameObject* b, bool notifyA, bool notifyB);
    // Checks every registered collision, in registration order.
    static void checkAll();
    static const std::list<Collision*>& getCollisions() { return collisions; }
    // Deletes every registration: when the level goes, and between tests.
    static void clearCollisions();

    void addOther(GameObject* other, bool notifySubject, bool notifyOther);
    // At most one notification per side per other: the first crossing in the
    // order subject polygon, other polygon, subject edge, other edge.
    void check();

    GameObject* getSubject() const { return subject; }
    const std::list<GameObject*>& getOthers() const { return others; }
    const std::list<bool>& getNotifySubject() const { return notifySubject; }
    const std::list<bool>& getNotifyOther() const { return notifyOther; }

    // Bounding circles against half the distance between the centres;
    // both polygons' bounds must be current.
    static bool boundsOverlap(const Polygon& a, const Polygon& b);
    // Flags (one per point of a) the edges of a's chain whose line passes
    // strictly inside b's bounding circle near the edge; true if any is.
    static bool findCandidateEdges(const Polygon& a, const Polygon& b, std::vector<bool>& flags);
    // The first edge of the closed polygon b that passes through the
    // segment from start to end, touching included.
    static bool findCrossingEdge(const Position& start, const Position& end, const Polygon& b,
                                 Position& edgeStart, Position& edgeEnd);

    virtual const char* getClassName() const { return "Collision"; }

private:
    // Tests one subject polygon against the other's polygons; true on a hit.
    bool checkPolygon(Polygon& subjectPolygon, GameObject* other, bool notifySubjectFlag,
                      bool notifyOtherFlag, std::vector<bool>& flags);

    GameObject* subject;
    std::list<GameObject*> others;
    std::list<bool> notifySubject;
    std::list<bool> notifyOther;

    static std::list<Collision*> collisions;
};
