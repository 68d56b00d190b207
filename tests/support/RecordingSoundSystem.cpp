#include "support/RecordingSoundSystem.h"

#include "app/GameManager.h"
#include "audio/SoundChannel.h"

namespace {

class RecordingChannel : public SoundChannel {
public:
    RecordingChannel(RecordingSoundSystem& system, std::string name)
        : SoundChannel({}, 0), system(system), name(std::move(name)) {}
    bool setVolume(float volume) override {
        system.volumes[name] = volume;
        return true;
    }
    bool setPan(float) override { return true; }
    bool setPaused(bool) override { return true; }
    bool stop() override {
        system.log.push_back("stop " + name);
        return true;
    }

private:
    RecordingSoundSystem& system;
    std::string name;
};

} // namespace

RecordingSoundSystem::RecordingSoundSystem() : previous(GameManager::getSoundSystem()) {
    GameManager::setSoundSystem(this);
}

RecordingSoundSystem::~RecordingSoundSystem() {
    GameManager::setSoundSystem(previous);
}

bool RecordingSoundSystem::createSound(const std::string& name, unsigned int mode,
                                       const SoundStream::UserFormat*, SoundStream** sound) {
    streams.emplace_back(SoundStream::openUser({2, 1, 48000}, mode));
    names[streams.back().get()] = name;
    if (mode & ModeLoopNormal)
        looping.insert(name);
    *sound = streams.back().get();
    return true;
}

bool RecordingSoundSystem::playSound(SoundStream* sound, bool, SoundChannel** channel) {
    const std::string name = names[sound];
    log.push_back("play " + name);
    *channel = new RecordingChannel(*this, name);
    return true;
}

void RecordingSoundSystem::update() {
    log.push_back("update");
}

std::vector<std::string> RecordingSoundSystem::take(const std::string& naming) {
    std::vector<std::string> taken;
    for (const std::string& entry : log)
        if (entry.find(naming) != std::string::npos)
            taken.push_back(entry);
    log.clear();
    return taken;
}
