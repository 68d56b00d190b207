#include "audio/Sound.h"

#include "app/GameManager.h"
#include "audio/SoundChannel.h"
#include "audio/SoundSystem.h"
#include "replay/PlayTap.h"

namespace {

// A generated sound: one second of mono 16-bit audio at 48 kHz.
const SoundStream::UserFormat kOneSecond = {96000, 1, 48000};

} // namespace

Sound::Sound() : volume(1.0f), pan(0.0f), sound(nullptr), channel(nullptr), system(nullptr) {}

Sound::Sound(const std::string& fileName, float volume, float pan) : Sound() {
    this->fileName = fileName;
    if (volume >= 0.0f && volume <= 1.0f)
        this->volume = volume;
    if (pan >= -1.0f && pan <= 1.0f)
        this->pan = pan;
}

Sound::~Sound() {
    if (channel)
        channel->stop();
    delete channel;
}

void Sound::load(bool softwareMixing, bool loop) {
    system = GameManager::getSoundSystem();
    if (!system)
        return;
    unsigned int mode = SoundSystem::ModeHardware | SoundSystem::Mode2D | SoundSystem::ModeLoopOff;
    if (softwareMixing)
        mode = SoundSystem::ModeSoftware | SoundSystem::Mode2D |
               (loop ? SoundSystem::ModeLoopNormal : SoundSystem::ModeLoopOff);
    if (!fileName.empty())
        system->createSound(fileName, mode | SoundSystem::ModeStream, nullptr, &sound);
    else
        system->createSound(std::string(), mode | SoundSystem::ModeUser, &kOneSecond, &sound);
}

void Sound::play() {
    // Counted as play, whether or not a device makes it heard.
    if (PlayTap* tap = PlayTap::current())
        tap->soundStarted(fileName);
    if (!system)
        return;
    // The handle of the earlier play is dropped, not its sound.
    SoundChannel* previous = channel;
    channel = nullptr;
    system->playSound(sound, true, &channel);
    delete previous;
    if (!channel)
        return;
    channel->setGroup(group);
    channel->setPan(pan);
    channel->setVolume(volume);
    channel->setPaused(false);
}

void Sound::togglePause() {
    if (!channel)
        return;
    bool paused{};
    channel->getPaused(&paused);
    channel->setPaused(!paused);
}

void Sound::stop() {
    if (channel)
        channel->stop();
}
