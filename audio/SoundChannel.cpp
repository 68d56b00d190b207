#include "audio/SoundChannel.h"

#include "audio/SoundVoice.h"

SoundChannel::SoundChannel(std::weak_ptr<SoundVoice> voice, unsigned int generation)
    : voice(std::move(voice)), generation(generation) {}

std::shared_ptr<SoundVoice> SoundChannel::live() const {
    // The system may be gone (its voices with it), the slot replayed, or
    // the play heard to its end since the last update.
    std::shared_ptr<SoundVoice> v = voice.lock();
    if (!v || v->getGeneration() != generation)
        return nullptr;
    v->settle();
    return v->getGeneration() == generation ? v : nullptr;
}

bool SoundChannel::setVolume(float volume) {
    const std::shared_ptr<SoundVoice> v = live();
    if (v)
        v->setVolume(volume);
    return v != nullptr;
}

bool SoundChannel::setPan(float pan) {
    const std::shared_ptr<SoundVoice> v = live();
    if (v)
        v->setPan(pan);
    return v != nullptr;
}

bool SoundChannel::setPaused(bool paused) {
    const std::shared_ptr<SoundVoice> v = live();
    if (v)
        v->setPaused(paused);
    return v != nullptr;
}

bool SoundChannel::getPaused(bool* paused) const {
    const std::shared_ptr<SoundVoice> v = live();
    if (v && paused)
        *paused = v->isPaused();
    return v != nullptr;
}

bool SoundChannel::stop() {
    const std::shared_ptr<SoundVoice> v = live();
    if (v)
        v->stop();
    return v != nullptr;
}

bool SoundChannel::isPlaying() const {
    return live() != nullptr;
}
