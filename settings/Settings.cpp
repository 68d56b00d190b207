#include "settings/Settings.h"

#include <cctype>

#include "input/GamePad.h"

namespace {

const char* const kKeyNames[Bindings::kKeysPerAction] = {"_key", "_key_2"};

std::string lower(const char* text) {
    std::string out = text;
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool readVolume(const std::string& value, int& volume) {
    if (value.empty() || value.size() > 2 ||
        value.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const int read = std::stoi(value);
    if (read > Settings::kMostVolume)
        return false;
    volume = read;
    return true;
}

} // namespace

bool Settings::operator==(const Settings& other) const {
    return musicVolume == other.musicVolume && effectsVolume == other.effectsVolume &&
           fullscreen == other.fullscreen && bindings == other.bindings;
}

SettingsFile::Values Settings::values() const {
    SettingsFile::Values out = {{"format", std::to_string(kFormat)},
                                {"music_volume", std::to_string(musicVolume)},
                                {"effects_volume", std::to_string(effectsVolume)},
                                {"fullscreen", fullscreen ? "yes" : "no"}};
    for (int a = 0; a < Bindings::kActionCount; ++a) {
        const Action action = static_cast<Action>(a);
        const std::string name = lower(Bindings::name(action));
        for (int slot = 0; slot < Bindings::kKeysPerAction; ++slot)
            out.emplace_back(name + kKeyNames[slot], bindings.key(action, slot).empty()
                                                         ? "none"
                                                         : bindings.key(action, slot).text());
        const int button = bindings.button(action);
        out.emplace_back(name + "_pad", button == Bindings::kNoButton
                                            ? "none"
                                            : lower(GamePad::buttonName(button)));
    }
    return out;
}

bool Settings::readOne(const std::string& name, const std::string& value, std::string& problem) {
    if (name == "music_volume" || name == "effects_volume") {
        problem = "'" + value + "' is not a volume from 0 to 10; using 10";
        return readVolume(value, name[0] == 'm' ? musicVolume : effectsVolume);
    }
    if (name == "fullscreen") {
        problem = "'" + value + "' is neither yes nor no; using yes";
        if (value != "yes" && value != "no")
            return false;
        fullscreen = value == "yes";
        return true;
    }
    for (int a = 0; a < Bindings::kActionCount; ++a) {
        const Action action = static_cast<Action>(a);
        const std::string prefix = lower(Bindings::name(action));
        const Bindings defaults;
        for (int slot = 0; slot < Bindings::kKeysPerAction; ++slot)
            if (name == prefix + kKeyNames[slot]) {
                problem = "'" + value + "' names no key this game can bind; using '" +
                          defaults.key(action, slot).text() + "'";
                return bindings.setKey(action, slot, value);
            }
        if (name == prefix + "_pad") {
            const int button = defaults.button(action);
            problem =
                "'" + value + "' names no pad button this game can bind; using '" +
                (button == Bindings::kNoButton ? "none" : lower(GamePad::buttonName(button))) + "'";
            return bindings.setButton(action, value);
        }
    }
    return true; // not ours: kept by the file as it is
}

void Settings::read(const std::vector<SettingsFile::Entry>& entries, const Warn& warn) {
    for (const SettingsFile::Entry& entry : entries) {
        std::string problem;
        if (!readOne(entry.name, entry.value, problem))
            warn(entry, problem);
    }
    // A file edited by hand may leave Pause with nothing, and the menus out of reach.
    if (bindings.pauseUnbound()) {
        bindings.setKey(Action::Pause, 0, Bindings().key(Action::Pause, 0).text());
        SettingsFile::Entry last{"pause_key", "", 0};
        for (const SettingsFile::Entry& entry : entries)
            if (entry.name.compare(0, 6, "pause_") == 0)
                last = entry;
        warn(last, "Pause needs a key or a button; using 'p'");
    }
}

std::string Settings::text() const {
    std::string out;
    for (const auto& [name, value] : values())
        out.append(name).append(" = ").append(value).append("\n");
    return out;
}

bool Settings::readText(const std::string& text) {
    bool whole = true;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end;
        std::string name, value, problem;
        whole = SettingsFile::parse(text.substr(start, end - start), name, value) &&
                readOne(name, value, problem) && whole;
        start = end + 1;
    }
    return whole;
}
