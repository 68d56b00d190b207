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
    const float abX = b.x - a.x, abY = b.y - a.y;
    const float apX = x - a.x, apY = y - a.y;
    const float lengthAb = std::sqrt(abX * abX + abY * abY);
    const float lengthAp = std::sqrt(apX * apX + apY * apY);
    if (lengthAb == 0) { // t would be 0 / 0
        inside = true;
        return a;
    }
    // The length of ap along ab, through the cosine of their angle.
    const float lengths = lengthAp * lengthAb;
    const float projected = lengths == 0 ? 0 : (apX * abX + apY * abY) / lengths * lengthAp;
    const float t = projected / lengthAb;
    inside = t >= 0 && t <= 1;
    return Position(a.x + t * abX, a.y + t * abY);
}
