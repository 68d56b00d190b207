#include "gameplay/HazardSpot.h"

#include "app/GameClock.h"
#include "audio/Sound.h"
#include "content/FieldReader.h"
#include "content/RecordReader.h"
#include "graphics/BitmapPicture.h"
#include "graphics/Graphic.h"

bool HazardSpot::dangerSoundLatch = false;

HazardSpot::~HazardSpot() {
    if (graphic && warningPicture)
        graphic->removePicture(warningPicture);
    delete warningPicture;
    delete graphic;
}

void HazardSpot::load(unsigned int dangerMs, unsigned int warningMs, RecordReader& in) {
    dangerDuration = dangerMs;
    warningDuration = warningMs;
    setGraphic(new Graphic());
    in.skipRestOfLine();
    warningPicture =
        new BitmapPicture(in.line("a warning image path"), GraphicProperties(), nullptr, 0);
    warningPicture->loadTexture();
    const int x = FieldReader::readIntField(in.line("a warning x"));
    const int y = FieldReader::readIntField(in.line("a warning y"));
    warningPicture->getProperties().setPosition(static_cast<float>(x), static_cast<float>(y));
    projectile.load(in);
}

void HazardSpot::setState(GameState* value) {
    state = value;
    setVisible(true, state);
}

void HazardSpot::activate() {
    warning = true;
    phaseStart = GameClock::now();
    if (graphic && warningPicture)
        graphic->addPicture(warningPicture);
}

void HazardSpot::update(unsigned int ticks) {
    const unsigned int now = GameClock::now();
    if (warning && now - phaseStart > warningDuration) {
        warning = false;
        danger = true;
        phaseStart = now;
        if (graphic && warningPicture)
            graphic->removePicture(warningPicture);
        projectile.setVisible(true, state);
        if (!dangerSoundLatch && sound)
            sound->play();
        dangerSoundLatch = true;
    } else if (danger && now - phaseStart > dangerDuration) {
        danger = false;
        phaseStart = now;
        projectile.setVisible(false, state);
        dangerSoundLatch = false;
    }
    GameObject::update(ticks);
}
