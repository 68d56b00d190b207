#include "graphics/ShapeTransform.h"

#include <GL/gl.h>

#include "graphics/Shape.h"

namespace {

Shape* mapShape(const Shape& source, const float (&m)[16], bool linearPart) {
    Shape* result = new Shape();
    for (const Polygon& polygon : source.getPolygons()) {
        Polygon mapped;
        for (const Position& p : polygon.getPoints()) {
            float x = p.getX();
            float y = p.getY();
            if (linearPart)
                mapped.addPoint(Position(m[0] * x + m[4] * y + m[12], m[1] * x + m[5] * y + m[13]));
            else
                mapped.addPoint(Position(x + m[12], y + m[13]));
        }
        result->addPolygon(mapped);
    }
    return result;
}

} // namespace

Shape* transformShape(const Shape& source) {
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    return mapShape(source, m, true);
}

Shape* translateShape(const Shape& source) {
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    return mapShape(source, m, false);
}
