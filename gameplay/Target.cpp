#include "gameplay/Target.h"

#include <vector>

#include "app/GameClock.h"
#include "graphics/BitmapPicture.h"
#include "graphics/Graphic.h"
#include "graphics/Shape.h"

namespace {

const float kAlphaPerMs = 0.0005f; // full after 2000 ms

} // namespace

Target::Target() : picture(nullptr), complete(false), filling(false), filledTime(0), fillStart(0) {}

Target::~Target() {
    delete graphic;
    delete picture;
    delete shape;
}

void Target::setup(BitmapPicture* newPicture, Shape* outline, const Position& at) {
    picture = newPicture;
    Graphic* look = new Graphic();
    look->addPicture(picture);
    setGraphic(look);
    setShape(outline);
    setUseGraphicShape(false);
    setPosition(at);
    picture->getProperties().setAlpha(0.0f);
}

bool Target::tryStart(Position point) {
    if (complete)
        return false;
    Shape* world = getWorldShape();
    std::vector<Position> corners;
    if (world && !world->getPolygons().empty()) {
        // The outline is closed: the corners are the points after the first.
        const std::list<Position>& points = world->getPolygons().front().getPoints();
        auto it = points.begin();
        if (it != points.end())
            ++it;
        for (; it != points.end() && corners.size() < 4; ++it)
            corners.push_back(*it);
    }
    delete world;
    if (corners.empty())
        return false;
    bool allRight = true, allAbove = true, allLeft = true, allBelow = true;
    for (const Position& c : corners) {
        allRight = allRight && c.getX() > point.getX();
        allAbove = allAbove && c.getY() > point.getY();
        allLeft = allLeft && c.getX() < point.getX();
        allBelow = allBelow && c.getY() < point.getY();
    }
    if (allRight || allAbove || allLeft || allBelow)
        return false;
    fillStart = GameClock::now();
    filling = true;
    return true;
}

void Target::pause() {
    filledTime += GameClock::now() - fillStart;
    fillStart = 0;
    filling = false;
}

void Target::update(unsigned int ticks) {
    if (filling && picture) {
        GraphicProperties& look = picture->getProperties();
        if (look.getAlpha() < 1.0f) {
            const int spent = static_cast<int>(filledTime + (GameClock::now() - fillStart));
            look.setAlpha(static_cast<float>(spent) * kAlphaPerMs);
        } else {
            filling = false;
            complete = true;
        }
    }
    GameObject::update(ticks);
}
