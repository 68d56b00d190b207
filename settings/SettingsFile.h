#pragma once

#include <string>
#include <utility>
#include <vector>

// The player's settings file: plain "name = value" lines a person can edit.
// Reading never stops the game and saving never leaves a half-written file:
// a save writes a new file beside the old one, flushes it to disk and
// renames it over the old. Lines the game does not know are kept and written
// back as they were. Every problem is said in one line on stderr.
class SettingsFile {
public:
    struct Entry {
        std::string name;
        std::string value;
        int line; // 1-based line number in the file
    };
    using Values = std::vector<std::pair<std::string, std::string>>;

    // $XDG_CONFIG_HOME/tolvek/settings.ini, else $HOME/.config/tolvek/settings.ini;
    // "" when neither variable is set (or both are empty).
    static std::string defaultPath();

    // path "" : no file can be kept; the first save says so, once.
    explicit SettingsFile(std::string path);

    // Reads the file, if there is one. Leftovers of a save that was cut short
    // are removed. A file that cannot be read as settings at all is renamed
    // aside (one line names the new name) and reads as empty. Entries come in
    // file order; a name given twice keeps the last value (one line says so).
    void load();
    const std::vector<Entry>& entries() const { return read; }
    // One line on stderr: "tolvek: PATH:LINE: NAME: MESSAGE".
    void warn(const Entry& entry, const std::string& message) const;

    // Writes the known values in the given order, with the file's unknown
    // lines kept where they were (new names go at the end). Writes nothing
    // when the text would be the same as the file's. False, with one line on
    // stderr, when it could not be saved; the old file is then untouched.
    bool save(const Values& values);

    const std::string& path() const { return filePath; }

private:
    std::string filePath;
    std::vector<Entry> read;
    // ...the helper adds what it needs (the file's lines as read, the last text saved).
};
