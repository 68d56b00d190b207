#pragma once

#include <AL/al.h>
#include <AL/alc.h>
#include <vector>

class SoundDecoder;
class SoundStream;

// One playing slot of the system: an OpenAL source fed by a small queue of
// buffers that service() keeps topped up from the play's decoder.
class SoundVoice {
public:
    static const int kBufferCount = 6;
    static const int kBufferFrames = 2048;
    // Filled before the first play call; service() fills the rest.
    static const int kStartBuffers = 3;
    // Below this many queued buffers, service() refills them all.
    static const int kLowBuffers = 3;

    // floatBuffers: the library takes float buffers; without, samples are
    // clipped to 16 bits.
    SoundVoice(ALCcontext* context, bool stereoAngles, bool floatBuffers);
    virtual ~SoundVoice();

    // Begins a play at frame 0 with volume 1 and centre pan; false when the
    // decoder or the OpenAL objects cannot be had.
    virtual bool start(const SoundStream& stream, bool paused);
    // Unqueues played buffers, refills them, notices the end of a play and
    // restarts a source that ran dry while its sound had data left.
    virtual void service();
    // Ends the play if its last buffer has been heard, so nothing reaches
    // it before the next update.
    virtual void settle();
    virtual void stop();

    virtual void setPaused(bool value);
    virtual void setVolume(float value);
    // -1 is hard left, 1 hard right; mono by position, stereo by angles.
    virtual void setPan(float value);

    bool isActive() const { return active; }
    bool isPaused() const { return paused; }
    float getVolume() const { return volume; }
    float getPan() const { return pan; }
    unsigned int getGeneration() const { return generation; }
    long getUnderruns() const { return underruns; }
    bool hasSource() const { return source != 0; }

private:
    bool ensureObjects();
    void makeCurrent() const;
    void unqueuePlayed();
    // Decodes up to `frames` more frames into the staging buffer.
    void decode(int frames);
    void queueStaged();
    // Decodes and queues up to `limit` whole buffers.
    void fill(int limit);
    int queuedBuffers() const { return kBufferCount - static_cast<int>(freeBuffers.size()); }
    void release();

    ALCcontext* context;
    bool stereoAngles;
    bool floatBuffers;
    ALuint source;
    ALuint buffers[kBufferCount];
    std::vector<ALuint> freeBuffers;
    std::vector<float> scratch;
    std::vector<short> narrow;
    SoundDecoder* decoder;
    // Frames decoded into scratch, not yet handed to a buffer.
    int staged;
    int frequency;
    int channels;
    bool looping;
    bool active;
    bool paused;
    float volume;
    float pan;
    unsigned int generation;
    long underruns;
};
