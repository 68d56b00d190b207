#include "graphics/GraphicProperties.h"

#include <cmath>

GraphicProperties::GraphicProperties()
    : position(0.0f, 0.0f), rotation(0.0f), scale(1.0f, 1.0f), depth(0.0f), alpha(1.0f),
      anchor(0.0f, 0.0f) {}

GraphicProperties::GraphicProperties(const Position& position, const Rotation& rotation,
                                     const Scale& scale, float depth, float alpha,
                                     const Position& anchor)
    : position(position), rotation(rotation), scale(scale), depth(depth), alpha(alpha),
      anchor(anchor) {}

void GraphicProperties::getMatrix(float (&m)[16]) const {
    for (int i = 0; i < 16; ++i)
        m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
    m[12] = position.getX();
    m[13] = position.getY();
    const float angle = rotation.getAngle();
    const bool rotated = angle != 0.0f;
    if (rotated) {
        const float r = angle * 0.017453292f;
        m[0] = std::cos(r);
        m[1] = std::sin(r);
        m[4] = -std::sin(r);
        m[5] = std::cos(r);
    }
    if (scale.getX() != 1.0f) {
        if (rotated) {
            m[0] *= scale.getX();
            m[1] *= scale.getX();
        } else {
            m[0] = scale.getX();
        }
    }
    if (scale.getY() != 1.0f) {
        if (rotated) {
            m[4] *= scale.getY();
            m[5] *= scale.getY();
        } else {
            m[5] = scale.getY();
        }
    }
}
