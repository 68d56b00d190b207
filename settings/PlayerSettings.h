#pragma once

#include <string>

#include "settings/Settings.h"

class SettingsFile;

// The settings in force, and where a change the player commits is kept: the
// player's file, or nowhere for a recorded play, which starts from the
// settings recorded with it and never writes the player's.
class PlayerSettings {
public:
    // Reads the file at path ("" : none can be kept); nothing is written
    // until the player changes something.
    explicit PlayerSettings(const std::string& path);
    // Kept in memory only.
    explicit PlayerSettings(const Settings& start);
    ~PlayerSettings();
    PlayerSettings(const PlayerSettings&) = delete;
    PlayerSettings& operator=(const PlayerSettings&) = delete;

    const Settings& current() const { return settings; }
    // Makes changed the settings in force and saves them at once; a change
    // that changes nothing writes nothing. False when they could not be kept
    // (said in one line); they stay in force for this game.
    bool commit(const Settings& changed);

private:
    Settings settings;
    SettingsFile* file = nullptr;
};
