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
    // The "format" line is checked here and is not among the entries.
    void load();
    const std::vector<Entry>& entries() const { return read; }
    // One line on stderr: "tolvek: PATH:LINE: NAME: MESSAGE".
    void warn(const Entry& entry, const std::string& message) const;

    // Writes the known values in the given order, with the file's unknown
    // lines kept where they were (new names go at the end). Writes nothing
    // when the text would be the same as the file's. False, with one line on
    // stderr, when it could not be saved; the old file is then untouched.
    // The file's own "format" line stays as it was. A file that could not be
    // read is never overwritten: its lines would be lost unseen. Call load()
    // first: a save knows only the lines read.
    bool save(const Values& values);

    const std::string& path() const { return filePath; }
    // One line's name and value, as the file reads them; false for any other line.
    static bool parse(const std::string& line, std::string& name, std::string& value);

private:
    struct Line {
        std::string text;   // as it was, without its ending
        std::string ending; // "\n", "\r\n"; a last line may end in "" or a lone "\r"
        std::string name;   // the setting it gives; "" for comments and lines kept as they are
    };

    void take(const std::string& text, bool quiet);
    void moveAside(const char* why) const;
    void removeLeftovers() const;
    std::string textFor(const Values& values) const;
    bool cannotSave(const std::string& reason) const;

    std::string filePath;
    std::vector<Entry> read;
    std::vector<Line> lines;
    bool bom = false;
    std::string onDisk; // the text as last read or saved; "" when there is no file
    int readError = 0;  // errno of a file there that could not be read
    bool saidNoPath = false;
};
