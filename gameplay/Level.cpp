#include "gameplay/Level.h"

#include <iterator>

#include "app/GameClock.h"
#include "app/GameRandom.h"
#include "audio/Sound.h"
#include "content/RecordReader.h"
#include "content/SoundListReader.h"
#include "gameplay/HazardSpot.h"
#include "gameplay/Heros.h"
#include "gameplay/Plateforme.h"
#include "gameplay/TargetGroup.h"
#include "gameplay/Trigger.h"
#include "graphics/BitmapPicture.h"
#include "graphics/Collision.h"
#include "graphics/Graphic.h"
#include "graphics/Shape.h"

namespace {

const unsigned int kPhaseMs = 500;

Polygon readSegment(RecordReader& in, const char* what) {
    const int x1 = in.bareInt(what), y1 = in.bareInt(what);
    const int x2 = in.bareInt(what), y2 = in.bareInt(what);
    return Polygon({Position(static_cast<float>(x1), static_cast<float>(y1)),
                    Position(static_cast<float>(x2), static_cast<float>(y2))});
}

} // namespace

Level::Level() {
    GameRandom::seed(GameClock::now());
}

Level::~Level() {
    delete targetGroup;
    for (HazardSpot* spot : hazardSpots)
        delete spot;
    for (Plateforme* platform : platforms)
        delete platform;
    delete platformPicture;
    if (ground)
        delete ground->getShape();
    delete ground;
    delete waveSound;
    for (Sound* sound : waveSounds)
        delete sound;
    delete graphic;
    delete background;
}

bool Level::load(const char* fileName, Heros* levelHero, GameState* state) {
    hero = levelHero;
    RecordReader in(fileName);
    in.line("the title line");
    const std::string backgroundPath = in.token("the background image path");
    if (in.failed()) {
        loadFailure = std::string(fileName) + ": " + in.failure();
        return false;
    }
    background = new BitmapPicture(backgroundPath, GraphicProperties(), nullptr, 0);
    background->loadTexture();
    background->getProperties().setDepth(0.1f);
    setGraphic(new Graphic());
    graphic->addPicture(background);
    setVisible(true, state);

    in.token("the ground heading");
    const Polygon groundSegment = readSegment(in, "a ground coordinate");
    ground = new Trigger();
    ground->setType("Sol");
    ground->setShape(new Shape({groundSegment}));
    ground->setUseGraphicShape(false);
    Collision::registerCollision(hero, ground, true, false);

    in.token("the platforms heading");
    platformPicture =
        new BitmapPicture(in.token("the platform image path"), GraphicProperties(), nullptr, 0);
    platformPicture->loadTexture();
    const int ax = in.intField("the platform anchor x");
    const int ay = in.intField("the platform anchor y");
    platformPicture->getProperties().setAnchor(static_cast<float>(ax), static_cast<float>(ay));
    in.token("the platform outline heading");
    const Polygon platformSegment = readSegment(in, "a platform outline coordinate");
    const int platformCount = in.countField("the platform count");
    for (int i = 0; i < platformCount && !in.failed(); ++i) {
        Plateforme* platform = new Plateforme();
        platforms.push_back(platform);
        platform->load(in, platformPicture, platformSegment);
        platform->setVisible(true, state);
        platform->setUseGraphicShape(false);
        Collision::registerCollision(hero, platform, true, false);
    }

    in.token("the hazards heading");
    const int spotCount = in.countField("the hazard spot count");
    // Spots are made as records arrive, so a huge count in a short file costs nothing.
    for (int i = 0; i < spotCount && !in.failed(); ++i) {
        HazardSpot* spot = new HazardSpot();
        hazardSpots.push_back(spot);
        spot->load(kPhaseMs, kPhaseMs, in);
        Collision::registerCollision(hero, spot->getProjectile(), true, false);
        spot->setState(state);
    }

    in.token("the targets heading");
    targetGroup = new TargetGroup();
    const int dx = in.intField("the shot offset x");
    const int dy = in.intField("the shot offset y");
    shotOffset.set(static_cast<float>(dx), static_cast<float>(dy));
    const std::string layoutList = in.token("the layout list file name");

    in.token("the wave sound heading");
    in.token("the wave sound heading");
    const std::string wavePath = in.token("the wave sound path");
    const float waveVolume = in.floatField("the wave sound volume");
    if (!in.failed()) {
        waveSound = new Sound(wavePath, waveVolume, 0.0f);
        waveSound->load(false, false);
    }
    in.token("the wave sounds heading");
    SoundListReader::read(in, "wave sound", false, waveSounds);
    if (in.failed()) {
        loadFailure = std::string(fileName) + ": " + in.failure();
        return false;
    }
    in.close();

    if (!targetGroup->loadLayoutList(layoutList.c_str()) || !targetGroup->chooseLayout(state)) {
        loadFailure = targetGroup->failure();
        return false;
    }
    return true;
}

void Level::fireAt(Position heroPosition) {
    Position point = heroPosition;
    point.translate(shotOffset.getX(), shotOffset.getY());
    if (targetGroup)
        targetGroup->fire(point);
}

void Level::ceaseFire() {
    if (targetGroup)
        targetGroup->release();
}

int Level::waveDelayFor(int r) {
    const float k = 1.0f / 32767.0f; // single precision on purpose: 32767 gives 5999
    return static_cast<int>((static_cast<double>(r) * k * 4.0 + 2.0) * 1000.0);
}

void Level::waveSize(int r, int& spots, int& strength) {
    if (r == 0) {
        spots = 5;
        strength = 3;
    } else if (r <= 2) {
        spots = 4;
        strength = 2;
    } else if (r <= 6) {
        spots = 3;
        strength = 2;
    } else if (r <= 14) {
        spots = 2;
        strength = 1;
    } else {
        spots = 1;
        strength = 0;
    }
}

void Level::runWave() {
    waveDelay = -1;
    waveStart = 0;
    int spots = 0;
    waveSize(static_cast<int>(static_cast<unsigned int>(GameRandom::next()) % 30u), spots,
             waveLevel);
    std::list<HazardSpot*> remaining(hazardSpots.begin(), hazardSpots.end());
    // A level with fewer spots than the wave asks for strikes all it has.
    for (int i = 0; i < spots && !remaining.empty(); ++i) {
        const size_t index = static_cast<unsigned int>(GameRandom::next()) % remaining.size();
        auto pick = std::next(remaining.begin(), static_cast<long>(index));
        HazardSpot* spot = *pick;
        if (spot->isIdle())
            spot->activate();
        spot->setSound(waveLevel < static_cast<int>(waveSounds.size()) ? waveSounds[waveLevel]
                                                                       : nullptr);
        remaining.erase(pick);
    }
    if (waveSound)
        waveSound->play();
}

void Level::update(unsigned int ticks) {
    const unsigned int now = GameClock::now();
    if (waveDelay == -1) {
        waveDelay = waveDelayFor(GameRandom::next());
        waveStart = now;
    } else if (now - waveStart > static_cast<unsigned int>(waveDelay)) {
        runWave();
    }
    GameObject::update(ticks);
}
