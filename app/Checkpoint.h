#pragma once

#include <string>
#include <utility>
#include <vector>

class LevelState;
class MenuState;

// What a recorded play must show again at a frame: named values in a fixed
// order, one "name=value" line each.
class Checkpoint {
public:
    Checkpoint() = default;
    // The screen's name, the menu, the hero, the targets, the hazard spots
    // and the sounds started since the last checkpoint.
    Checkpoint(const std::string& screen, const MenuState* menu, const LevelState* level,
               const std::vector<std::string>& soundsStarted);

    std::string encode() const;
    // False when the text is not a sequence of "name=value" lines.
    bool decode(const std::string& text);
    // The first value that differs, as "name recorded vs now"; empty when none does.
    std::string differenceFrom(const Checkpoint& recorded) const;

private:
    void add(const std::string& name, std::string value);

    std::vector<std::pair<std::string, std::string>> fields;
};
