#pragma once

#include <list>

#include "graphics/Polygon.h"

// A collision outline: polygons held by value, in order.
class Shape {
public:
    Shape() = default;
    explicit Shape(const std::list<Polygon>& polygons) : polygons(polygons) {}
    Shape(const Shape& other) = default;
    Shape& operator=(const Shape& other) = default;
    virtual ~Shape() = default;

    std::list<Polygon>& getPolygons() { return polygons; }
    const std::list<Polygon>& getPolygons() const { return polygons; }
    // A copy of the polygon i steps from the first; i <= 0 gives the first.
    Polygon getPolygon(int i) const;
    void addPolygon(const Polygon& polygon) { polygons.push_back(polygon); }

    virtual const char* getClassName() const { return "Shape"; }

private:
    std::list<Polygon> polygons;
};
