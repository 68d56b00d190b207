#pragma once

#include <list>

#include "scene/Position.h"

// An outline: points in order, with a cached centre and bounding radius.
// Collision code reads the points; draw() fills it by ear clipping.
class Polygon {
public:
    Polygon() = default;
    explicit Polygon(const std::list<Position>& points);
    Polygon(const Polygon& other);
    Polygon& operator=(const Polygon& other);
    virtual ~Polygon() = default;

    void setPoints(const std::list<Position>& newPoints);
    void addPoint(const Position& point);

    std::list<Position>& getPoints() { return points; }
    const std::list<Position>& getPoints() const { return points; }
    int getPointCount() const { return static_cast<int>(points.size()); }
    // The point at index i + 1; a negative i gives the first point.
    Position& getPoint(int i);
    Position& getCenter() { return center; }
    const Position& getCenter() const { return center; }
    float getRadiusSquared() const { return radiusSquared; }

    void updateCenter();
    void updateRadius();
    void updateBounds();
    // First point, and the extent to the third point, truncated.
    void getBounds(Position& origin, int& width, int& height) const;

    void triangulate();
    const std::list<Position*>& getTriangles() const { return triangles; }
    virtual void draw(float z, const Position& offset);

    virtual const char* getClassName() const { return "Polygon"; }

private:
    bool isEar(const std::list<Position*>& window, const Position* a, const Position* b,
               const Position* c) const;

    std::list<Position> points;
    Position center{0.0f, 0.0f};
    float radiusSquared = 0.0f;
    // Triples of pointers into this polygon's own points.
    std::list<Position*> triangles;
    std::list<Position> triangulatedPoints;
};
