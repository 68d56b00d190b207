#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/GameManager.h"
#include "audio/SoundChannel.h"
#include "audio/SoundSystem.h"

// The game's sound system for the length of a test: it opens no device and
// logs what the game asks of it, each sound named by its file:
// "play <file>", "stop <file>" and "update".
class RecordingSoundSystem : public SoundSystem {
public:
    RecordingSoundSystem() { GameManager::setSoundSystem(this); }
    ~RecordingSoundSystem() override { GameManager::setSoundSystem(previous); }

    bool createSound(const std::string& name, unsigned int mode, const SoundStream::UserFormat*,
                     SoundStream** sound) override {
        streams.emplace_back(SoundStream::openUser({2, 1, 48000}, mode));
        names[*sound = streams.back().get()] = name;
        if (mode & ModeLoopNormal)
            looping.insert(name);
        return true;
    }
    bool playSound(SoundStream* sound, bool, SoundChannel** channel) override {
        log.push_back("play " + names[sound]);
        *channel = new Channel(*this, names[sound]);
        return true;
    }
    void update() override { log.push_back("update"); }

    // What was logged since the last call, or only the entries naming a file like this.
    std::vector<std::string> take(const std::string& naming = "") {
        std::vector<std::string> taken;
        for (const std::string& entry : log)
            if (entry.find(naming) != std::string::npos)
                taken.push_back(entry);
        log.clear();
        return taken;
    }
    bool loops(const std::string& name) const { return looping.count(name) != 0; }

    std::vector<std::string> log;
    // The volume the last play of each sound was given.
    std::map<std::string, float> volumes;

private:
    class Channel : public SoundChannel {
    public:
        Channel(RecordingSoundSystem& system, std::string name)
            : SoundChannel({}, 0), system(system), name(std::move(name)) {}
        bool setVolume(float volume) override {
            system.volumes[name] = volume;
            return true;
        }
        bool stop() override {
            system.log.push_back("stop " + name);
            return true;
        }

    private:
        RecordingSoundSystem& system;
        std::string name;
    };

    std::vector<std::unique_ptr<SoundStream>> streams;
    std::map<const SoundStream*, std::string> names;
    std::set<std::string> looping;
    SoundSystem* previous = GameManager::getSoundSystem();
};
