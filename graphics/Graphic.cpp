#include "graphics/Graphic.h"

#include <GL/gl.h>

#include "graphics/Picture.h"
#include "graphics/Shape.h"
#include "graphics/ShapeTransform.h"

Graphic::Graphic() : Graphic({}, GraphicProperties(), nullptr) {}

Graphic::Graphic(const std::list<Picture*>& pictures, const GraphicProperties& properties,
                 Shape* shape)
    : pictures(pictures), shape(shape), properties(properties) {}

Graphic::~Graphic() {
    delete shape;
}

void Graphic::addPicture(Picture* picture) {
    pictures.push_back(picture);
    picture->setParent(this);
    sortNeeded = true;
}

void Graphic::removePicture(Picture* picture) {
    pictures.remove(picture);
    picture->setParent(nullptr);
}

void Graphic::sortPictures() {
    // std::list::sort is a stable merge sort: equal depths keep their order.
    pictures.sort([](const Picture* a, const Picture* b) {
        return a->getProperties().getDepth() < b->getProperties().getDepth();
    });
    sortNeeded = false;
}

void Graphic::draw() {
    if (sortNeeded)
        sortPictures();
    float m[16];
    properties.getMatrix(m);
    glPushMatrix();
    glMultMatrixf(m);
    for (Picture* picture : pictures) {
        picture->setParent(this);
        picture->draw();
    }
    glPopMatrix();
}

Shape* Graphic::getWorldShape() {
    float m[16];
    properties.getMatrix(m);
    glMultMatrixf(m);
    glPushMatrix();
    Shape* result = nullptr;
    if (!usePictureShapes && shape) {
        result = transformShape(*shape);
    } else {
        result = new Shape();
        for (Picture* picture : pictures) {
            Shape* outline = picture->getWorldShape();
            if (!outline)
                continue;
            for (const Polygon& polygon : outline->getPolygons())
                result->addPolygon(polygon);
            delete outline;
        }
    }
    glPopMatrix();
    return result;
}
