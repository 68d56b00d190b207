#include "gameplay/Heros.h"

#include <cstdio>

#include "app/GameClock.h"
#include "app/GameManager.h"
#include "app/GameRandom.h"
#include "audio/Sound.h"
#include "content/RecordReader.h"
#include "content/SoundListReader.h"
#include "gameplay/SautMovement.h"
#include "gameplay/TranslationMovement.h"
#include "gameplay/Trigger.h"
#include "graphics/BitmapPicture.h"
#include "graphics/Graphic.h"
#include "graphics/Shape.h"
#include "graphics/StripedAnimatedBitmapPicture.h"

namespace {

const unsigned int kHitPoseMs = 3000;
const float kLeftBound = -10.0f;
const float kRightBound = 930.0f;

bool facesLeft(HerosState s) {
    return s % 2 == 0;
}

} // namespace

Heros::~Heros() {
    // The sounds stop their channels as they go.
    for (Sound* sound : ownedSounds)
        delete sound;
    for (Movement* m : ownedMovements)
        delete m;
    for (Shape* s : ownedShapes)
        delete s;
    for (Picture* p : ownedPictures)
        delete p;
    delete graphic;
}

// --- poses -------------------------------------------------------------------

void Heros::showPicture(HerosState next) {
    if (graphic) {
        if (currentPicture)
            graphic->removePicture(currentPicture);
        if (statePictures[next])
            graphic->addPicture(statePictures[next]);
    }
    currentPicture = statePictures[next];
}

void Heros::enterPose(HerosState next, Movement* nextMovement) {
    showPicture(next);
    if (next <= ShootRight)
        shape = stateShapes[next]; // the hit poses keep the shape they find
    movement = nextMovement;
    state = next;
}

void Heros::playRandom(const SoundPool& pool) {
    // An empty pool has nothing to pick; it stays silent.
    if (pool.empty())
        return;
    Sound* sound = pool[static_cast<size_t>(GameRandom::next()) % pool.size()];
    if (sound)
        sound->play();
}

void Heros::startJump(HerosState next, SautMovement* jumpMovement, bool fromRest) {
    enterPose(next, jumpMovement);
    if (jumpMovement) {
        jumpMovement->restart();
        if (fromRest)
            jumpMovement->setSpeedY(0.0f); // a fall drops from rest, keeping its sideways step
    }
}

void Heros::walkLeft() {
    if (state == StandLeft || state == StandRight || state == WalkRight)
        enterPose(WalkLeft, walkLeftMovement);
}

void Heros::stopLeft() {
    if (state == WalkLeft)
        enterPose(StandLeft, nullptr);
}

void Heros::walkRight() {
    if (state == StandLeft || state == StandRight || state == WalkLeft)
        enterPose(WalkRight, walkRightMovement);
}

void Heros::stopRight() {
    if (state == WalkRight)
        enterPose(StandRight, nullptr);
}

bool Heros::airPose(HerosState from, HerosState& to, SautMovement*& jumpMovement) const {
    switch (from) {
    case StandLeft:
    case StandRight:
        to = from == StandLeft ? AirLeft : AirRight;
        jumpMovement = jumpUpMovement;
        return true;
    case WalkLeft:
        to = AirLeft;
        jumpMovement = jumpLeftMovement;
        return true;
    case WalkRight:
        to = AirRight;
        jumpMovement = jumpRightMovement;
        return true;
    default:
        return false; // no double jump, no jump or fall while shooting or hit
    }
}

void Heros::jump() {
    HerosState next = state;
    SautMovement* jumpMovement = nullptr;
    if (!airPose(state, next, jumpMovement))
        return;
    startJump(next, jumpMovement, false);
    if (currentShotSound)
        currentShotSound->stop();
    playRandom(jumpSounds);
}

bool Heros::shoot() {
    if (state == StandLeft || state == WalkLeft)
        enterPose(ShootLeft, nullptr);
    else if (state == StandRight || state == WalkRight)
        enterPose(ShootRight, nullptr);
    else
        return false;
    currentShotSound = nullptr;
    if (!shotSounds.empty()) {
        currentShotSound = shotSounds[static_cast<size_t>(GameRandom::next()) % shotSounds.size()];
        if (currentShotSound)
            currentShotSound->play();
    }
    return true;
}

void Heros::stopShooting() {
    if (state != ShootLeft && state != ShootRight)
        return;
    enterPose(state == ShootLeft ? StandLeft : StandRight, nullptr);
    if (currentShotSound)
        currentShotSound->stop();
    currentShotSound = nullptr;
}

// --- per frame -----------------------------------------------------------------

void Heros::rememberPosition() {
    if (position)
        previousPosition = *position;
}

void Heros::clearGrounded() {
    onGround = false;
}

void Heros::keepInBounds() {
    if (!position)
        return;
    if (position->getX() < kLeftBound)
        position->setX(kLeftBound);
    else if (position->getX() > kRightBound)
        position->setX(kRightBound);
}

void Heros::fallIfUnsupported() {
    HerosState next = state;
    SautMovement* fallMovement = nullptr;
    if (!onGround && airPose(state, next, fallMovement))
        startJump(next, fallMovement, true);
}

void Heros::update(unsigned int ticks) {
    const unsigned int now = GameClock::now();
    if ((state == HitLeft || state == HitRight) && now - hitStart > hitDuration && lives > 0)
        enterPose(state == HitLeft ? StandLeft : StandRight, nullptr);
    GameObject::update(ticks);
}

void Heros::takeHit() {
    const HerosState next = facesLeft(state) ? HitLeft : HitRight;
    showPicture(next); // the hit poses keep the shape they find
    if (currentPicture)
        currentPicture->setFrame(0);
    movement = nullptr;
    state = next;
    if (currentShotSound)
        currentShotSound->stop();
    hitDuration = kHitPoseMs;
    hitStart = GameClock::now();
    --lives;
    if (lives > 0)
        playRandom(hurtSounds);
}

void Heros::onCollision(GameObject* other, Position, Position, Position otherEdgeStart, Position) {
    const std::string name = other->getClassName();
    const bool support = name == "Plateforme" ||
                         (name == "Trigger" && dynamic_cast<Trigger*>(other)->getType() == "Sol");
    if (support) {
        if (!position)
            return;
        if (position->getY() <= previousPosition.getY() &&
            otherEdgeStart.getY() <= previousPosition.getY()) {
            onGround = true;
            if (state == AirLeft || state == AirRight) {
                position->setY(otherEdgeStart.getY());
                enterPose(state == AirLeft ? StandLeft : StandRight, nullptr);
                playRandom(landSounds);
            }
        }
        return;
    }
    if (name == "Projectile") {
        if (other->isVisible() && state != HitLeft && state != HitRight)
            takeHit();
        return;
    }
    std::fputs("Autre collision", stdout);
}

// --- the hero file ---------------------------------------------------------------

bool Heros::readAnimationBlock(RecordReader& in, int block, HerosState target, bool hasShape) {
    if (block == 1)
        in.line("the first line");
    else
        in.skipRestOfLine();
    const std::string path = in.token("a strip image path");
    if (in.failed())
        return false;
    BitmapPicture* strip = new BitmapPicture(path, GraphicProperties(), nullptr, 0);
    strip->loadTexture();
    StripedAnimatedBitmapPicture* animation = new StripedAnimatedBitmapPicture(
        nullptr, 0.0f, 0.0f, GameManager::getFrameRate(), true, nullptr, 0);
    ownedPictures.push_back(animation);
    ownedPictures.push_back(strip);
    animation->setStrip(strip);
    statePictures[target] = animation;

    animation->setAnimationSpeed(in.intField("an animation speed"));
    const int height = in.intField("a cell height");
    const int width = in.intField("a cell width");
    animation->setHeight(static_cast<float>(height));
    animation->setWidth(static_cast<float>(width));
    const int ax = in.intField("an anchor x");
    const int ay = in.intField("an anchor y");
    // The left shooting pose places its image by position, not by anchor.
    if (target == ShootLeft)
        animation->getProperties().setPosition(static_cast<float>(ax), static_cast<float>(ay));
    else
        animation->getProperties().setAnchor(static_cast<float>(ax), static_cast<float>(ay));

    if (target == WalkLeft || target == WalkRight) {
        const float speed = in.floatField("a walking speed");
        TranslationMovement* walk = new TranslationMovement(target == WalkLeft ? -speed : speed, 0);
        ownedMovements.push_back(walk);
        (target == WalkLeft ? walkLeftMovement : walkRightMovement) = walk;
    } else if (target == AirLeft) {
        jumpLeftMovement = readJumpFields(in);
    } else if (target == AirRight) {
        jumpRightMovement = readJumpFields(in);
    }

    // Cells are gathered as they are read, so a huge count in a short file
    // allocates no more than the file holds.
    const int count = in.countField("a frame count");
    std::vector<int> cells;
    for (int i = 0; i < count && !in.failed(); ++i) {
        const int cell = in.bareInt("a cell index");
        if (!in.failed())
            cells.push_back(cell);
    }
    int* table = new int[cells.empty() ? 1 : cells.size()];
    for (size_t i = 0; i < cells.size(); ++i)
        table[i] = cells[i];
    animation->setCells(table, static_cast<int>(cells.size()));
    animation->setPlaying(true);

    if (hasShape) {
        const float w = static_cast<float>(width), h = static_cast<float>(height);
        Shape* outline = new Shape();
        outline->addPolygon(Polygon(
            {Position(0, 0), Position(w, 0), Position(w, h), Position(0, h), Position(0, 0)}));
        stateShapes[target] = outline;
        ownedShapes.push_back(outline);
    }
    return !in.failed();
}

SautMovement* Heros::readJumpFields(RecordReader& in) {
    const float stepX = in.floatField("a jump's sideways step");
    const float startSpeedY = in.floatField("a jump's start speed");
    const float startDecrement = in.floatField("a jump's speed drop");
    const int period = in.intField("a jump's period");
    SautMovement* jumpMovement = new SautMovement(stepX, startSpeedY, startDecrement, period);
    ownedMovements.push_back(jumpMovement);
    return jumpMovement;
}

void Heros::readSoundPool(RecordReader& in, SoundPool& pool, int headingWords, bool looping) {
    for (int i = 0; i < headingWords; ++i)
        in.token("a sound pool heading");
    const size_t before = pool.size();
    SoundListReader::read(in, "sound", looping, pool);
    ownedSounds.insert(ownedSounds.end(), pool.begin() + static_cast<long>(before), pool.end());
}

bool Heros::load(const char* fileName) {
    RecordReader in(fileName);
    static const HerosState kBlocks[] = {StandLeft, StandRight, WalkLeft,  WalkRight,
                                         AirLeft,   AirRight,   StandLeft, // block 7: movement only
                                         ShootLeft, ShootRight, HitLeft,   HitRight};
    for (int block = 1; block <= 11 && !in.failed(); ++block) {
        if (block == 7) {
            in.skipRestOfLine();
            jumpUpMovement = readJumpFields(in);
            continue;
        }
        const HerosState target = kBlocks[block - 1];
        readAnimationBlock(in, block, target, target <= ShootRight);
    }
    const int x = in.intField("the start x");
    const int y = in.intField("the start y");
    if (in.failed()) {
        loadFailure = std::string(fileName) + ": " + in.failure();
        return false;
    }
    setPosition(Position(static_cast<float>(x), static_cast<float>(y)));

    Graphic* look = new Graphic();
    setGraphic(look);
    look->addPicture(statePictures[StandRight]);
    look->getProperties().setDepth(0.8f);
    currentPicture = statePictures[StandRight];
    shape = stateShapes[StandRight];
    state = StandRight;
    setUseGraphicShape(false);

    readSoundPool(in, jumpSounds, 3, false);
    readSoundPool(in, landSounds, 1, false);
    readSoundPool(in, shotSounds, 1, true);
    readSoundPool(in, hurtSounds, 1, false);
    if (in.failed()) {
        loadFailure = std::string(fileName) + ": " + in.failure();
        return false;
    }
    return true;
}
