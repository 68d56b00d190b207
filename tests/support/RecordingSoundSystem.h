#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/GameManager.h"
#include "audio/SoundChannel.h"
#include "audio/SoundSystem.h"

using Log = std::vector<std::string>;

// No device: logs "play|stop|pause|resume <file>" and "update"; keeps each file's mode and group.
struct RecordingSoundSystem : SoundSystem {
    RecordingSoundSystem() { GameManager::setSoundSystem(this); }
    ~RecordingSoundSystem() override { GameManager::setSoundSystem(previous); }

    bool createSound(const std::string& name, unsigned int mode, const SoundStream::UserFormat*,
                     SoundStream** sound) override {
        streams.emplace_back(SoundStream::openUser({2, 1, 48000}, mode));
        names[*sound = streams.back().get()] = name;
        modes[name] = mode;
        return true;
    }
    bool playSound(SoundStream* sound, bool, SoundChannel** channel) override {
        log.push_back("play " + names[sound]);
        *channel = new Channel(*this, names[sound]);
        return true;
    }
    void update() override { log.push_back("update"); }

    // What was logged since the last call, or only the entries naming a file like this.
    Log take(const std::string& naming = "") {
        Log taken;
        for (const std::string& entry : log)
            if (entry.find(naming) != std::string::npos)
                taken.push_back(entry);
        log.clear();
        return taken;
    }
    bool loops(const std::string& name) { return modes[name] & ModeLoopNormal; }

    Log log;
    std::map<std::string, bool> music; // which files were played as music

private:
    struct Channel : SoundChannel {
        Channel(RecordingSoundSystem& system, std::string name)
            : SoundChannel({}, 0), system(system), name(std::move(name)) {}
        bool setPaused(bool value) override {
            if (value != paused)
                system.log.push_back((value ? "pause " : "resume ") + name);
            paused = value;
            return true;
        }
        bool getPaused(bool* value) const override {
            *value = paused;
            return true;
        }
        bool setGroup(SoundGroup group) override {
            system.music[name] = group == SoundGroup::Music;
            return true;
        }
        bool stop() override {
            system.log.push_back("stop " + name);
            return true;
        }
        RecordingSoundSystem& system;
        std::string name;
        bool paused = false;
    };

    std::vector<std::unique_ptr<SoundStream>> streams;
    std::map<const SoundStream*, std::string> names;
    std::map<std::string, unsigned int> modes;
    SoundSystem* previous = GameManager::getSoundSystem();
};
