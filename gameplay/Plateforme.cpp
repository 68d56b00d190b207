#include "gameplay/Plateforme.h"

#include "content/RecordReader.h"
#include "graphics/BitmapPicture.h"
#include "graphics/Graphic.h"
#include "graphics/Shape.h"

Plateforme::~Plateforme() {
    delete ownGraphic;
    delete ownShape;
}

void Plateforme::load(RecordReader& in, BitmapPicture* picture, const Polygon& outline) {
    ownShape = new Shape({outline});
    setShape(ownShape);
    setUseGraphicShape(false);
    Graphic* look = new Graphic();
    look->addPicture(picture);
    look->getProperties().setDepth(0.6f);
    setGraphic(look);
    ownGraphic = look;
    in.skipRestOfLine();
    const int x = in.intField("a platform's x");
    const int y = in.intField("a platform's y");
    setPosition(Position(static_cast<float>(x), static_cast<float>(y)));
}
