#include "app/GameCheckpoint.h"

#include <cstdio>

#include "app/LevelState.h"
#include "app/MenuState.h"
#include "app/OptionsScreen.h"
#include "gameplay/HazardSpot.h"
#include "gameplay/Heros.h"
#include "gameplay/Level.h"
#include "gameplay/Target.h"
#include "gameplay/TargetGroup.h"
#include "graphics/BitmapPicture.h"
#include "scene/Position.h"

namespace {

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

std::string targetFills(const TargetGroup* group) {
    std::string fills;
    if (!group)
        return fills;
    for (const Target* target : group->getTargets()) {
        if (!fills.empty())
            fills += ',';
        fills +=
            target->getPicture() ? number(target->getPicture()->getProperties().getAlpha()) : "-";
        if (target->isComplete())
            fills += '!';
    }
    return fills;
}

std::string spotPhases(const Level* level) {
    std::string phases;
    if (level)
        for (const HazardSpot* spot : level->getHazardSpots())
            phases += spot->isDangerous() ? 'D' : spot->isWarning() ? 'W' : '.';
    return phases;
}

} // namespace

Checkpoint GameCheckpoint::of(const std::string& screen, const MenuState* menu,
                              const LevelState* level,
                              const std::vector<std::string>& soundsStarted,
                              const OptionsScreen* options) {
    Checkpoint checkpoint;
    checkpoint.add("screen", screen);
    checkpoint.add("menu", menu ? std::to_string(menu->getSelection()) : "-");
    const Heros* hero = level ? level->getHero() : nullptr;
    if (hero && hero->getPosition()) {
        checkpoint.add("hero", number(hero->getPosition()->getX()) + "," +
                                   number(hero->getPosition()->getY()));
        checkpoint.add("pose", std::to_string(hero->getState()));
        checkpoint.add("lives", std::to_string(hero->getLives()));
    }
    const Level* stage = level ? level->getLevel() : nullptr;
    checkpoint.add("targets", targetFills(stage ? stage->getTargetGroup() : nullptr));
    checkpoint.add("spots", spotPhases(stage));
    std::string sounds;
    for (const std::string& name : soundsStarted)
        sounds += (sounds.empty() ? "" : ";") + name;
    checkpoint.add("sounds", sounds);
    if (level && level->isPaused())
        checkpoint.add("paused", "yes");
    if (options && options->isOpen())
        checkpoint.add("options", options->describe());
    return checkpoint;
}
