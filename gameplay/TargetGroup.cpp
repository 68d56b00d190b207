#include "gameplay/TargetGroup.h"

#include <iterator>

#include "app/GameClock.h"
#include "app/GameRandom.h"
#include "content/RecordReader.h"
#include "gameplay/Target.h"
#include "graphics/BitmapPicture.h"
#include "graphics/Graphic.h"
#include "graphics/Shape.h"

TargetGroup::TargetGroup() : currentTarget(nullptr) {}

TargetGroup::~TargetGroup() {
    for (Target* target : ownedTargets)
        delete target;
    delete graphic;
}

bool TargetGroup::loadLayoutList(const char* listFile) {
    RecordReader in(listFile);
    in.token("the layout list heading");
    in.token("the layout list heading");
    const int count = in.countField("the layout count");
    for (int i = 0; i < count && !in.failed(); ++i) {
        const std::string name = in.token("a layout file name");
        if (!in.failed())
            layoutFiles.push_back(name);
    }
    if (!graphic)
        setGraphic(new Graphic());
    if (in.failed()) {
        loadFailure = std::string(listFile) + ": " + in.failure();
        return false;
    }
    return true;
}

bool TargetGroup::chooseLayout(GameState* state) {
    GameRandom::seed(GameClock::now());
    // An empty list leaves the level without targets rather than dividing by zero.
    if (layoutFiles.empty()) {
        setVisible(true, state);
        return true;
    }
    const unsigned int index = static_cast<unsigned int>(GameRandom::next()) %
                               static_cast<unsigned int>(layoutFiles.size());
    const std::string fileName = *std::next(layoutFiles.begin(), index);

    RecordReader in(fileName);
    in.token("the layout heading");
    const int count = in.countField("the target count");
    for (int i = 0; i < count && !in.failed(); ++i) {
        const std::string path = in.token("a target image path");
        const int x = in.intField("a target x");
        const int y = in.intField("a target y");
        Polygon outline;
        for (int corner = 0; corner < 4; ++corner) {
            const int cx = in.bareInt("a target corner x");
            const int cy = in.bareInt("a target corner y");
            outline.addPoint(Position(static_cast<float>(cx), static_cast<float>(cy)));
        }
        if (in.failed())
            break;
        outline.addPoint(outline.getPoints().front()); // closed
        BitmapPicture* picture = new BitmapPicture(path, GraphicProperties(), nullptr, 0);
        picture->loadTexture();
        picture->getProperties().setDepth(0.2f);
        Target* target = new Target();
        ownedTargets.push_back(target);
        target->setup(picture, new Shape({outline}),
                      Position(static_cast<float>(x), static_cast<float>(y)));
        target->setVisible(true, state);
        addChild(target);
    }
    setVisible(true, state);
    if (in.failed()) {
        loadFailure = fileName + ": " + in.failure();
        return false;
    }
    return true;
}

void TargetGroup::fire(Position point) {
    const std::list<GameObject*> targets = children;
    for (GameObject* child : targets) {
        Target* target = dynamic_cast<Target*>(child);
        if (target->tryStart(point)) {
            currentTarget = target;
            return;
        }
    }
}

void TargetGroup::release() {
    if (currentTarget)
        currentTarget->pause();
    currentTarget = nullptr;
}
