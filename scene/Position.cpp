#include "scene/Position.h"

void Position::set(float newX, float newY) {
    x = newX;
    y = newY;
}

void Position::translate(float dx, float dy) {
    x += dx;
    y += dy;
}

Position Position::operator-(const Position& other) const {
    return Position(x - other.x, y - other.y);
}

void Position::operator-=(const Position& other) {
    x -= other.x;
    y -= other.y;
}

bool Position::operator==(const Position& other) const {
    return x == other.x && y == other.y;
}

bool Position::operator!=(const Position& other) const {
    return !(x == other.x) || !(y == other.y);
}

float Position::squaredDistance(const Position& other) const {
    float dx = other.x - x;
    float dy = other.y - y;
    return dx * dx + dy * dy;
}
