#include "app/Checkpoint.h"

#include <algorithm>
#include <cstdio>

#include "app/LevelState.h"
#include "app/MenuState.h"
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

Checkpoint::Checkpoint(const std::string& screen, const MenuState* menu, const LevelState* level,
                       const std::vector<std::string>& soundsStarted) {
    add("screen", screen);
    add("menu", menu ? std::to_string(menu->getSelection()) : "-");
    const Heros* hero = level ? level->getHero() : nullptr;
    if (hero && hero->getPosition()) {
        add("hero",
            number(hero->getPosition()->getX()) + "," + number(hero->getPosition()->getY()));
        add("pose", std::to_string(hero->getState()));
        add("lives", std::to_string(hero->getLives()));
    }
    const Level* stage = level ? level->getLevel() : nullptr;
    add("targets", targetFills(stage ? stage->getTargetGroup() : nullptr));
    add("spots", spotPhases(stage));
    std::string sounds;
    for (const std::string& name : soundsStarted)
        sounds += (sounds.empty() ? "" : ";") + name;
    add("sounds", sounds);
    if (level && level->isPaused())
        add("paused", "yes");
}

void Checkpoint::add(const std::string& name, std::string value) {
    std::replace(value.begin(), value.end(), '\n', ' ');
    fields.emplace_back(name, value);
}

std::string Checkpoint::encode() const {
    std::string text;
    for (const auto& [name, value] : fields) {
        text += name;
        text += '=';
        text += value;
        text += '\n';
    }
    return text;
}

bool Checkpoint::decode(const std::string& text) {
    fields.clear();
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        const size_t equals = text.find('=', start);
        if (end == std::string::npos || equals == std::string::npos || equals > end)
            return false;
        fields.emplace_back(text.substr(start, equals - start),
                            text.substr(equals + 1, end - equals - 1));
        start = end + 1;
    }
    return true;
}

std::string Checkpoint::differenceFrom(const Checkpoint& recorded) const {
    const size_t count = std::max(fields.size(), recorded.fields.size());
    for (size_t i = 0; i < count; ++i) {
        const bool mine = i < fields.size(), theirs = i < recorded.fields.size();
        if (mine && theirs && fields[i] == recorded.fields[i])
            continue;
        const std::string& name = mine ? fields[i].first : recorded.fields[i].first;
        return name + " " + (theirs ? "\"" + recorded.fields[i].second + "\"" : "(none)") + " vs " +
               (mine ? "\"" + fields[i].second + "\"" : "(none)");
    }
    return std::string();
}
