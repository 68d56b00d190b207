#include "app/CommandLine.h"

#include <cstdlib>
#include <cstring>

bool CommandLine::parse(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        std::string* file = option == "--record"     ? &recordFile
                            : option == "--replay"   ? &replayFile
                            : option == "--shots"    ? &shotsFolder
                            : option == "--settings" ? &settingsFile
                                                     : nullptr;
        if (file) {
            // "--record --window" names no file: the window option is not a file name.
            if (i + 1 >= argc || argv[i + 1][0] == '\0' ||
                std::string(argv[i + 1]).compare(0, 2, "--") == 0) {
                parseError = "option '" + option + "' needs a file";
                return false;
            }
            *file = argv[++i];
        } else if (option == "--music-volume" || option == "--effects-volume") {
            if (!readVolume(option, i + 1 < argc ? argv[++i] : nullptr,
                            option == "--music-volume" ? &musicVolume : &effectsVolume))
                return false;
        } else if (option == "--fast") {
            fast = true;
        } else if (option == "--window") {
            window = true;
        } else if (option == "--help" || option == "-h") {
            showHelp = true;
        } else if (option == "--version") {
            showVersion = true;
        } else {
            parseError = "unknown option '" + option + "'";
            return false;
        }
    }
    if ((fast || !shotsFolder.empty()) && replayFile.empty()) {
        parseError =
            std::string("option '") + (fast ? "--fast" : "--shots") + "' goes with '--replay'";
        return false;
    }
    return true;
}

bool CommandLine::readVolume(const std::string& option, const char* value, int* volume) {
    const bool whole = value && std::strlen(value) > 0 && std::strlen(value) <= 2 &&
                       std::strspn(value, "0123456789") == std::strlen(value);
    if (!whole || std::atoi(value) > 10) {
        parseError = "option '" + option + "' needs a volume from 0 to 10";
        return false;
    }
    *volume = std::atoi(value);
    return true;
}

const char* CommandLine::usage() {
    return "usage: tolvek [--window] [--music-volume N] [--effects-volume N] [--settings FILE]\n"
           "              [--record FILE] [--replay FILE [--fast] [--shots DIR]] [--help]\n"
           "              [--version]";
}

const char* CommandLine::help() {
    return "Tolvek, a small platform game. Plays from the content in the working directory.\n"
           "\n"
           "  --window        start in a window the size of the picture instead of full\n"
           "                  screen (F11 or Alt+Enter switches at any time, and the\n"
           "                  game remembers which)\n"
           "  --music-volume N, --effects-volume N\n"
           "                  the volume of the music, and of every other sound, from 0\n"
           "                  (silent) to 10 (full), for this game only; the Options\n"
           "                  screen (O on the menu) sets the volumes kept\n"
           "  --settings FILE keep the settings (volumes, keys, window) in FILE instead\n"
           "                  of ~/.config/tolvek/settings.ini\n"
           "  --record FILE   play as usual and write the play to FILE as it goes\n"
           "  --replay FILE   show a recorded play again, exactly; live keys do not reach\n"
           "                  the game (close the window or press Ctrl+C to end it)\n"
           "  --fast          with --replay: no waiting between frames, no sound, and\n"
           "                  nothing shown; prints the frame rate reached\n"
           "  --shots DIR     with --replay: write the picture of every checkpoint's\n"
           "                  frame into DIR as frame-N.bmp\n"
           "  --help          show this help and exit\n"
           "  --version       show the version and exit\n"
           "\n"
           "A replay exits 0 when it reaches its end with every checkpoint matched, 3 at\n"
           "the first checkpoint that differs, 4 when it is interrupted (window closed,\n"
           "Ctrl+C, SIGTERM), 1 for a file that cannot be replayed or a picture or\n"
           "recording that cannot be written.\n"
           "A recording is written to FILE.part and takes FILE's place when the play ends;\n"
           "killed, the game leaves all but its last second in FILE.part.\n"
           "Both options together replay FILE and record it anew with today's checkpoints;\n"
           "the new recording replaces FILE only when the replay reached its end.\n"
           "A play records the settings it started with and replays with them, whatever\n"
           "the player's settings are now; a replay never changes the player's settings.\n";
}
