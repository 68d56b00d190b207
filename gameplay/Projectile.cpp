#include "gameplay/Projectile.h"

#include "content/FieldReader.h"
#include "content/RecordReader.h"
#include "graphics/BitmapPicture.h"
#include "graphics/Graphic.h"
#include "graphics/Shape.h"

Projectile::Projectile() : ownPicture(nullptr), ownGraphic(nullptr), ownShape(nullptr) {}

Projectile::~Projectile() {
    delete ownGraphic;
    delete ownPicture;
    delete ownShape;
}

void Projectile::load(RecordReader& in) {
    in.line("the projectile heading line");
    BitmapPicture* picture =
        new BitmapPicture(in.line("a projectile image path"), GraphicProperties(), nullptr, 0);
    picture->loadTexture();
    ownPicture = picture;
    const int x = FieldReader::readIntField(in.line("a projectile x"));
    const int y = FieldReader::readIntField(in.line("a projectile y"));
    setPosition(Position(static_cast<float>(x), static_cast<float>(y)));

    in.line("the projectile outline heading line");
    Polygon outline;
    for (int i = 0; i < 4; ++i) {
        const int px = in.bareInt("a projectile outline x");
        const int py = in.bareInt("a projectile outline y");
        outline.addPoint(Position(static_cast<float>(px), static_cast<float>(py)));
    }
    Graphic* look = new Graphic();
    look->addPicture(picture);
    look->getProperties().setDepth(0.9f);
    setGraphic(look);
    ownGraphic = look;
    ownShape = new Shape({outline});
    setShape(ownShape);
    setUseGraphicShape(false);
}
