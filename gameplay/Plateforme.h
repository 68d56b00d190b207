#pragma once

#include "scene/GameObject.h"

class BitmapPicture;
class Polygon;
class RecordReader;

// A platform the hero can stand on.
class Plateforme : public GameObject {
public:
    Plateforme() = default;
    ~Plateforme() override;

    // One platform record: its position. The picture and outline are shared
    // by every platform; each gets its own graphic and its own copy of the outline.
    void load(RecordReader& in, BitmapPicture* picture, const Polygon& outline);

    const char* getClassName() const override { return "Plateforme"; }

private:
    // What load built, freed with the platform; the picture is shared.
    Graphic* ownGraphic = nullptr;
    Shape* ownShape = nullptr;
};
