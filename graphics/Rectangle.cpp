#include "graphics/Rectangle.h"

namespace {

std::list<Position> corners(const Position& o, float w, float h) {
    return {Position(o.getX(), o.getY()), Position(o.getX() + w, o.getY()),
            Position(o.getX() + w, o.getY() + h), Position(o.getX(), o.getY() + h)};
}

} // namespace

Rectangle::Rectangle(const Position& origin, int width, int height)
    : Polygon(corners(origin, static_cast<float>(width), static_cast<float>(height))) {}
