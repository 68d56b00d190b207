#pragma once

#include "graphics/Polygon.h"

// Four corners counter-clockwise from the origin.
class Rectangle : public Polygon {
public:
    Rectangle(const Position& origin, int width, int height);

    const char* getClassName() const override { return "Rectangle"; }
};
