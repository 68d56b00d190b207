#pragma once

#include <string>
#include <vector>

#include "replay/Checkpoint.h"

class LevelState;
class MenuState;
class OptionsScreen;

// The game's state as a recorded play checks it: the screen's name, the
// menu, the hero, the targets, the hazard spots and the sounds started since
// the last checkpoint, and
// the Options screen while it is open.
class GameCheckpoint {
public:
    // options: the Options screen, checked while it is open (null: none).
    static Checkpoint of(const std::string& screen, const MenuState* menu, const LevelState* level,
                         const std::vector<std::string>& soundsStarted,
                         const OptionsScreen* options = nullptr);
};
