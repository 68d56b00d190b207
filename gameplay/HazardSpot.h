#pragma once

#include "gameplay/Projectile.h"
#include "scene/GameObject.h"

class BitmapPicture;
class GameState;
class RecordReader;
class Sound;

// A place where a hazard strikes: a warning picture, then its projectile
// for a moment, then idle again.
class HazardSpot : public GameObject {
public:
    HazardSpot() = default;
    ~HazardSpot() override;

    // Phase lengths, then the warning picture and the projectile from the file.
    void load(unsigned int dangerMs, unsigned int warningMs, RecordReader& in);
    void setState(GameState* value);
    Projectile* getProjectile() { return &projectile; }
    void activate();
    bool isIdle() const { return !warning && !danger; }
    bool isWarning() const { return warning; }
    bool isDangerous() const { return danger; }
    void setSound(Sound* value) { sound = value; }
    Sound* getSound() const { return sound; }

    void update(unsigned int ticks) override;

    // Only one spot at a time plays its sound when several strike together.
    static bool isSoundLatched() { return dangerSoundLatch; }
    static void resetSoundLatch() { dangerSoundLatch = false; }

private:
    GameState* state = nullptr;
    Projectile projectile;
    BitmapPicture* warningPicture = nullptr;
    unsigned int dangerDuration = 0;
    unsigned int warningDuration = 0;
    unsigned int phaseStart = 0;
    bool warning = false;
    bool danger = false;
    Sound* sound = nullptr;

    static bool dangerSoundLatch;
};
