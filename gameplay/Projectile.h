#pragma once

#include "scene/GameObject.h"

class BitmapPicture;
class RecordReader;

// The harmful object of a hazard spot; it hurts only while shown.
class Projectile : public GameObject {
public:
    Projectile();
    ~Projectile() override;

    // Picture, position and open outline from a hazard spot record.
    void load(RecordReader& in);

    const char* getClassName() const override { return "Projectile"; }

private:
    // What load built, freed with the projectile.
    BitmapPicture* ownPicture;
    Graphic* ownGraphic;
    Shape* ownShape;
};
