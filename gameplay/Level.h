#pragma once

#include <list>
#include <string>
#include <vector>

#include "scene/GameObject.h"

class BitmapPicture;
class GameState;
class HazardSpot;
class Heros;
class Plateforme;
class Sound;
class TargetGroup;
class Trigger;

// One level: background, ground, platforms, hazard spots and targets. Its
// update runs the random hazard waves; it passes the hero's shots on.
class Level : public GameObject {
public:
    Level();
    ~Level() override;

    // Reads the level file, shows its objects in the state, registers the
    // hero's collisions and picks a target layout. False, with failure()
    // telling why, when a file is missing or ends early.
    bool load(const char* fileName, Heros* hero, GameState* state);
    const std::string& failure() const { return loadFailure; }

    void fireAt(Position heroPosition);
    void ceaseFire();
    void update(unsigned int ticks) override;

    // The waiting time before a wave for a given rand() value.
    static int waveDelayFor(int r);
    // How many spots a wave strikes and its strength, for rand() % 30.
    static void waveSize(int r, int& spots, int& strength);

    Trigger* getGround() const { return ground; }
    const std::list<Plateforme*>& getPlatforms() const { return platforms; }
    const std::vector<HazardSpot*>& getHazardSpots() const { return hazardSpots; }
    TargetGroup* getTargetGroup() const { return targetGroup; }
    const Position& getShotOffset() const { return shotOffset; }
    int getWaveDelay() const { return waveDelay; }
    int getWaveLevel() const { return waveLevel; }
    Sound* getWaveSound() const { return waveSound; }
    const std::vector<Sound*>& getWaveSounds() const { return waveSounds; }

private:
    void runWave();

    Trigger* ground = nullptr;
    std::list<Plateforme*> platforms;
    std::vector<HazardSpot*> hazardSpots;
    TargetGroup* targetGroup = nullptr;
    Position shotOffset{0.0f, 0.0f};
    BitmapPicture* background = nullptr;
    Heros* hero = nullptr;
    unsigned int waveStart = 0;
    int waveDelay = -1;
    Sound* waveSound = nullptr;
    std::vector<Sound*> waveSounds;
    int waveLevel = 0;
    std::string loadFailure;

    // Shared by every platform, owned here.
    BitmapPicture* platformPicture = nullptr;
};
