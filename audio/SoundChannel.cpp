#include "audio/SoundChannel.h"

#include "audio/SoundVoice.h"

SoundChannel::SoundChannel(std::weak_ptr<SoundVoice> voice, unsigned int play)
    : voice(std::move(voice)), play(play) {}

template <typename Call> bool SoundChannel::onPlay(Call call) const {
    const std::shared_ptr<SoundVoice> v = voice.lock();
    return v && call(*v);
}

bool SoundChannel::setVolume(float volume) {
    return onPlay([&](SoundVoice& v) { return v.setVolume(play, volume); });
}

bool SoundChannel::setPan(float pan) {
    return onPlay([&](SoundVoice& v) { return v.setPan(play, pan); });
}

bool SoundChannel::setGroup(SoundGroup group) {
    return onPlay([&](SoundVoice& v) { return v.setGroup(play, group); });
}

bool SoundChannel::setPaused(bool paused) {
    return onPlay([&](SoundVoice& v) { return v.setPaused(play, paused); });
}

bool SoundChannel::getPaused(bool* paused) const {
    return onPlay([&](SoundVoice& v) { return v.getPaused(play, paused); });
}

bool SoundChannel::stop() {
    return onPlay([&](SoundVoice& v) { return v.stop(play); });
}

bool SoundChannel::isPlaying() const {
    return onPlay([&](SoundVoice& v) { return v.isPlaying(play); });
}
