#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "audio/SoundSystem.h"

// The game's sound system for the length of a test: it opens no device and
// logs what the game asks of it, each sound named by its file:
// "play <file>", "stop <file>" and "update".
class RecordingSoundSystem : public SoundSystem {
public:
    RecordingSoundSystem();
    ~RecordingSoundSystem() override;

    bool createSound(const std::string& name, unsigned int mode,
                     const SoundStream::UserFormat* format, SoundStream** sound) override;
    bool playSound(SoundStream* sound, bool paused, SoundChannel** channel) override;
    void update() override;

    // What was logged since the last call, or only the entries naming a file like this.
    std::vector<std::string> take(const std::string& naming = "");
    bool loops(const std::string& name) const { return looping.count(name) != 0; }
    // The volume the last play of the named sound was given.
    float volumeOf(const std::string& name) const { return volumes.at(name); }

    std::vector<std::string> log;
    std::map<std::string, float> volumes;

private:
    std::vector<std::unique_ptr<SoundStream>> streams;
    std::map<const SoundStream*, std::string> names;
    std::set<std::string> looping;
    SoundSystem* previous;
};
