#pragma once

#include <string>

// The game's options. With none, the game plays as it always has.
class CommandLine {
public:
    // False, with error() telling why, for an option the game does not know
    // or one missing its value.
    bool parse(int argc, const char* const* argv);
    const std::string& error() const { return parseError; }

    static const char* usage();
    static const char* help();

    std::string recordFile;
    std::string replayFile;
    std::string shotsFolder;
    std::string settingsFile; // "": the player's own
    bool fast = false;
    bool window = false;
    bool showHelp = false;
    bool showVersion = false;
    // Steps of a tenth of full volume; kFromSettings: as the settings say.
    static constexpr int kFromSettings = -1;
    int musicVolume = kFromSettings;
    int effectsVolume = kFromSettings;

private:
    bool readVolume(const std::string& option, const char* value, int* volume);

    std::string parseError;
};
