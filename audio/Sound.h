#pragma once

#include <string>

#include "audio/SoundGroup.h"

class SoundChannel;
class SoundStream;
class SoundSystem;

// One music track or effect, streamed from its file, played with its own
// volume and pan. Whoever creates it owns it; the system keeps the stream.
class Sound {
public:
    Sound();
    // Out-of-range volume (0 to 1) or pan (-1 to 1) keeps the default.
    Sound(const std::string& fileName, float volume, float pan);
    virtual ~Sound();
    // A copy would stop and delete the same channel handle twice.
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    void setFileName(std::string value) { fileName = std::move(value); }
    // Effects unless told: the music says so.
    void setGroup(SoundGroup value) { group = value; }

    // Only software-mixed sounds can loop. Does nothing without a system.
    virtual void load(bool softwareMixing, bool loop);
    // Starts a new play; an earlier one keeps playing but is no longer
    // reached by stop or togglePause.
    virtual void play();
    virtual void togglePause();
    virtual void stop();
    virtual const char* getClassName() const { return "Sound"; }

    const std::string& getFileName() const { return fileName; }
    float getVolume() const { return volume; }
    float getPan() const { return pan; }
    SoundStream* getSound() const { return sound; }
    SoundChannel* getChannel() const { return channel; }

private:
    std::string fileName;
    float volume;
    float pan;
    SoundGroup group = SoundGroup::Effects;
    SoundStream* sound;
    SoundChannel* channel;
    SoundSystem* system;
};
