#include "scene/Position.h"

#include <cmath>

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

Position Position::projectOnSegment(const Position& a, const Position& b, bool& inside) const {
    float abX = b.x - a.x;
    float abY = b.y - a.y;
    float apX = x - a.x;
    float apY = y - a.y;
    float lengthAb = std::sqrt(abX * abX + abY * abY);
    // A degenerate segment would divide by zero; its only point is a.
    if (lengthAb == 0.0f) {
        inside = true;
        return a;
    }
    float lengthAp = std::sqrt(apX * apX + apY * apY);
    float projected = 0.0f;
    if (lengthAp * lengthAb != 0.0f)
        projected = (apX * abX + apY * abY) / (lengthAp * lengthAb) * lengthAp;
    float t = projected / lengthAb;
    inside = t >= 0.0f && t <= 1.0f;
    return Position(a.x + t * abX, a.y + t * abY);
}
