#pragma once

#include <memory>

#include "audio/SoundGroup.h"

class SoundVoice;

// A handle on one play. It goes inert once that play ends or is stopped,
// even if its slot is reused, so an old handle never touches a newer sound.
// The caller of SoundSystem::playSound owns it; deleting it does not stop
// the play.
class SoundChannel {
public:
    SoundChannel(std::weak_ptr<SoundVoice> voice, unsigned int play);
    virtual ~SoundChannel() = default;

    // Each returns false, doing nothing, when the play is over.
    virtual bool setVolume(float volume);
    virtual bool setPan(float pan);
    virtual bool setGroup(SoundGroup group);
    virtual bool setPaused(bool paused);
    virtual bool getPaused(bool* paused) const;
    virtual bool stop();
    virtual bool isPlaying() const;

private:
    // The call on the play's slot, if the system and its slots still exist.
    template <typename Call> bool onPlay(Call call) const;

    std::weak_ptr<SoundVoice> voice;
    unsigned int play;
};
