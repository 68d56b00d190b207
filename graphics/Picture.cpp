#include "graphics/Picture.h"

#include <GL/gl.h>

#include "graphics/Graphic.h"
#include "graphics/Shape.h"
#include "graphics/ShapeTransform.h"

Picture::~Picture() {
    delete shape;
}

Shape* Picture::createShape() {
    Polygon square({Position(-5.0f, -5.0f), Position(5.0f, -5.0f), Position(5.0f, 5.0f),
                    Position(-5.0f, 5.0f)});
    return new Shape({square});
}

void Picture::setShape(Shape* explicitShape) {
    if (explicitShape != shape)
        delete shape;
    shape = explicitShape;
}

Shape* Picture::getWorldShape() {
    float m[16];
    properties.getMatrix(m);
    glPushMatrix();
    glMultMatrixf(m);
    Shape* source = nullptr;
    if (useDefaultShape)
        source = createShape();
    else if (shape)
        source = new Shape(*shape);
    Shape* result = nullptr;
    if (source) {
        result = transformShape(*source);
        delete source;
    }
    glPopMatrix();
    return result;
}

float Picture::drawAlpha() const {
    float outer = parent ? parent->getProperties().getAlpha() : 1.0f;
    return outer * properties.getAlpha();
}

Shape* Picture::anchoredRectangle(const Position& a) const {
    const float ax = a.getX();
    const float ay = a.getY();
    Polygon quad({Position(-ax, -ay), Position(width - ax, -ay), Position(width - ax, height - ay),
                  Position(-ax, height - ay)});
    return new Shape({quad});
}
