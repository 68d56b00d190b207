#pragma once

#include <list>

#include "graphics/GraphicProperties.h"

class Picture;
class Shape;

// What a game object shows: pictures drawn in ascending depth under one
// transform. Pictures are shared, not owned; the explicit shape is owned.
class Graphic {
public:
    Graphic();
    Graphic(const std::list<Picture*>& pictures, const GraphicProperties& properties, Shape* shape);
    Graphic(const Graphic&) = delete;
    Graphic& operator=(const Graphic&) = delete;
    virtual ~Graphic();

    virtual void draw();
    virtual const char* getClassName() const { return "Graphic"; }

    void addPicture(Picture* picture);
    void removePicture(Picture* picture);
    const std::list<Picture*>& getPictures() const { return pictures; }
    GraphicProperties& getProperties() { return properties; }
    const GraphicProperties& getProperties() const { return properties; }
    void setUsePictureShapes(bool value) { usePictureShapes = value; }

    // Outline under the current model-view matrix; never null. Leaves the
    // graphic's own matrix multiplied on: the caller pops its own push.
    Shape* getWorldShape();

private:
    void sortPictures();

    bool usePictureShapes = true;
    std::list<Picture*> pictures;
    Shape* shape;
    GraphicProperties properties;
    bool sortNeeded = true;
};
