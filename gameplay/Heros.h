#pragma once

#include <string>
#include <vector>

#include "scene/GameObject.h"

class Picture;
class RecordReader;
class SautMovement;
class Sound;
class StripedAnimatedBitmapPicture;
class TranslationMovement;

enum HerosState {
    StandLeft = 0,
    StandRight,
    WalkLeft,
    WalkRight,
    AirLeft,
    AirRight,
    ShootLeft,
    ShootRight,
    HitLeft,
    HitRight,
    HerosStateCount
};

// The player character: ten poses, each with its animation, most with their
// own collision shape and movement, switched by the keys, by landing, by
// falling and by being hit.
class Heros : public GameObject {
public:
    Heros() = default;
    // Frees what load built; nothing else refers to it.
    ~Heros() override;

    // Reads the hero file. False, with failure() telling why, when the file is
    // missing or ends early; the hero is then not fit to play.
    bool load(const char* fileName);
    const std::string& failure() const { return loadFailure; }

    void walkLeft();
    void stopLeft();
    void walkRight();
    void stopRight();
    void jump();
    // True when the shooting pose was entered.
    bool shoot();
    void stopShooting();

    void rememberPosition();
    void clearGrounded();
    void keepInBounds();
    void fallIfUnsupported();

    void update(unsigned int ticks) override;
    void onCollision(GameObject* other, Position edgeStart, Position edgeEnd,
                     Position otherEdgeStart, Position otherEdgeEnd) override;

    HerosState getState() const { return state; }
    int getLives() const { return lives; }
    bool isGrounded() const { return onGround; }
    const Position& getPreviousPosition() const { return previousPosition; }
    StripedAnimatedBitmapPicture* getCurrentPicture() const { return currentPicture; }
    StripedAnimatedBitmapPicture* getStatePicture(HerosState s) const { return statePictures[s]; }
    Shape* getStateShape(HerosState s) const {
        return s < ShootRight + 1 ? stateShapes[s] : nullptr;
    }
    Sound* getCurrentShotSound() const { return currentShotSound; }

private:
    using SoundPool = std::vector<Sound*>;

    void showPicture(HerosState next);
    void enterPose(HerosState next, Movement* nextMovement);
    // The air pose and movement a jump or a fall takes from standing or walking.
    bool airPose(HerosState from, HerosState& to, SautMovement*& jumpMovement) const;
    void startJump(HerosState next, SautMovement* jumpMovement, bool fromRest);
    void takeHit();
    static void playRandom(const SoundPool& pool);

    bool readAnimationBlock(RecordReader& in, int block, HerosState target, bool hasShape);
    SautMovement* readJumpFields(RecordReader& in);
    void readSoundPool(RecordReader& in, SoundPool& pool, int headingWords, bool looping);

    StripedAnimatedBitmapPicture* statePictures[HerosStateCount] = {};
    StripedAnimatedBitmapPicture* currentPicture = nullptr;
    Shape* stateShapes[ShootRight + 1] = {};
    TranslationMovement* walkLeftMovement = nullptr;
    TranslationMovement* walkRightMovement = nullptr;
    SautMovement* jumpLeftMovement = nullptr;
    SautMovement* jumpRightMovement = nullptr;
    SautMovement* jumpUpMovement = nullptr;
    HerosState state = StandRight;
    Position previousPosition{0.0f, 0.0f};
    bool onGround = false;
    SoundPool jumpSounds;
    SoundPool landSounds;
    SoundPool shotSounds;
    SoundPool hurtSounds;
    Sound* currentShotSound = nullptr;
    unsigned int hitDuration = 0;
    unsigned int hitStart = 0;
    int lives = 3;
    std::string loadFailure;

    std::vector<Picture*> ownedPictures;
    std::vector<Shape*> ownedShapes;
    std::vector<Movement*> ownedMovements;
    std::vector<Sound*> ownedSounds;
};
