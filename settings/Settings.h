#pragma once

#include <functional>
#include <string>

#include "settings/Bindings.h"
#include "settings/SettingsFile.h"

// What the player keeps from one game to the next. The defaults are the game
// as it plays without a settings file.
class Settings {
public:
    static constexpr int kFormat = 1;
    static constexpr int kMostVolume = 10;

    int musicVolume = kMostVolume;
    int effectsVolume = kMostVolume;
    bool fullscreen = true;
    Bindings bindings;

    bool operator==(const Settings& other) const;
    bool operator!=(const Settings& other) const { return !(*this == other); }

    // The file's lines, format first: "music_volume" = "7"...
    SettingsFile::Values values() const;
    // Takes the values it knows; one a setting cannot hold leaves that
    // setting at its default and is said through warn.
    using Warn = std::function<void(const SettingsFile::Entry&, const std::string&)>;
    void read(const std::vector<SettingsFile::Entry>& entries, const Warn& warn);

    // The form a recorded play carries: the file's known lines.
    std::string text() const;
    // False when a line of it cannot be read (the rest is kept).
    bool readText(const std::string& text);

private:
    bool readOne(const std::string& name, const std::string& value, std::string& problem);
};
