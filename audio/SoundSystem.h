#pragma once

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <array>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "audio/SoundGroup.h"
#include "audio/SoundStream.h"

class SoundChannel;
class SoundFeeder;
class SoundVoice;

// The game's sound output: an OpenAL Soft device and context, a fixed set of
// play slots, and the sounds made through it. Its calls are the main
// thread's; a feeder thread of its own keeps every playing stream fed half a
// second ahead, however late the main thread's frames run. Decoders are
// opened ahead by the prefetch thread, behind the sounds.
class SoundSystem {
public:
    // Mode bits of createSound. Only the loop bits change how a sound
    // plays; the others record what the caller asked for.
    static constexpr unsigned int ModeLoopOff = 0x01;
    static constexpr unsigned int ModeLoopNormal = 0x02;
    static constexpr unsigned int Mode2D = 0x08;
    static constexpr unsigned int ModeHardware = 0x20;
    static constexpr unsigned int ModeSoftware = 0x40;
    static constexpr unsigned int ModeStream = 0x80;
    static constexpr unsigned int ModeUser = 0x100;

    enum Output {
        NoOutput,       // nothing could be opened: every call is harmless and silent
        DeviceOutput,   // the machine's default playback device
        LoopbackOutput, // mixed into memory only when the owner calls render()
        SilentOutput    // no device: a loopback mix that update() discards in real time
    };

    SoundSystem();
    virtual ~SoundSystem();

    // Opens the default device with the given number of play slots; without
    // one, falls back to SilentOutput. False only when nothing opened.
    virtual bool init(int channels);
    // A stereo float loopback mix at the given rate, rendered on demand.
    // Without floatBuffers, sounds are queued as 16-bit samples, as on a
    // library that takes no float buffers.
    virtual bool initLoopback(int channels, int frequency, bool floatBuffers = true);
    // Once a frame. The feeder does the streams' work, so nothing is left
    // for the frame to do, unless the system runs without threads.
    virtual void update();
    // Before init: off, the system starts no thread, and update() feeds the
    // streams (and render() does not); for a platform without threads.
    static void setThreaded(bool value);

    // A stream from a file (format null), or a generated sound of the given
    // format (name ignored). On failure *sound is null. The system owns it.
    virtual bool createSound(const std::string& name, unsigned int mode,
                             const SoundStream::UserFormat* format, SoundStream** sound);
    // Starts sound on a free slot; *channel is a new handle the caller owns,
    // or null when nothing started.
    virtual bool playSound(SoundStream* sound, bool paused, SoundChannel** channel);

    // Mixes the next frames of interleaved stereo floats into out (loopback
    // outputs only); returns the frames written. The feeder tops the streams
    // up every few milliseconds of the mix, as it would for a device.
    virtual int render(float* out, int frames);

    // In [0, 1]; multiplies the own volume of every play in the group, those
    // playing now included. Both start at 1.
    void setGroupVolume(SoundGroup group, float volume);

    Output getOutput() const { return output; }
    int getFrequency() const { return frequency; }
    int getChannelCount() const { return static_cast<int>(voices.size()); }
    bool hasStereoAngles() const { return stereoAngles; }
    bool hasFloatBuffers() const { return floatBuffers; }
    int getPlayingCount() const;
    // Times a source ran dry while its sound still had audio to give.
    long getUnderrunCount() const;

private:
    bool openContext(ALCdevice* opened, bool loopback, int loopbackFrequency);
    bool openLoopback(int loopbackFrequency);
    void createVoices(int channels);
    void makeCurrent() const;
    void startFeeder(double interval);
    // The feeder's pass: the silent output's real time, then every slot.
    void feed();
    void drainSilently();

    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    Output output = NoOutput;
    int frequency = 0;
    bool stereoAngles = false;
    bool floatBuffers = false;
    LPALCRENDERSAMPLESSOFT renderSamples = nullptr;
    std::array<float, kSoundGroupCount> groupVolumes = {1.0f, 1.0f};
    std::vector<std::shared_ptr<SoundVoice>> voices;
    std::vector<std::shared_ptr<SoundStream>> sounds;
    // Feeder thread only.
    std::vector<float> drainBuffer;
    std::chrono::steady_clock::time_point lastDrain;
    // Loopback frames rendered since the feeder's last pass.
    int unfed = 0;
    static inline bool threaded = true;
    // Stopped before anything it feeds goes.
    std::unique_ptr<SoundFeeder> feeder;
};
