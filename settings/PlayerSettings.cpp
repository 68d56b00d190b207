#include "settings/PlayerSettings.h"

#include "settings/SettingsFile.h"

PlayerSettings::PlayerSettings(const std::string& path) : file(new SettingsFile(path)) {
    file->load();
    settings.read(file->entries(),
                  [this](const SettingsFile::Entry& entry, const std::string& problem) {
                      file->warn(entry, problem);
                  });
}

PlayerSettings::PlayerSettings(const Settings& start) : settings(start) {}

PlayerSettings::~PlayerSettings() {
    delete file;
}

bool PlayerSettings::commit(const Settings& changed) {
    const bool same = changed == settings;
    settings = changed;
    return same || !file || file->save(settings.values());
}
