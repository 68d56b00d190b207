#pragma once

#include <AL/al.h>
#include <AL/alc.h>
#include <deque>
#include <memory>
#include <vector>

class SoundDecoder;
class SoundStream;

// One playing slot of the system: an OpenAL source fed by a queue of
// buffers that service() keeps topped up, first from the stream's head,
// then from the play's own decoder. The queue is kept deep enough to outlast
// a frame half a second late, so only the main thread ever feeds it.
class SoundVoice {
public:
    static constexpr int kBufferFrames = 2048;
    // A second at 48 kHz: room for the deepest queue.
    static constexpr int kBufferCount = 24;
    // Queued after every update: the longer of this and the frame period...
    static constexpr double kLateFrameSeconds = 0.5;
    // ...and this margin beyond, for the mixer's own look-ahead.
    static constexpr int kAheadMargin = 3 * kBufferFrames;

    // floatBuffers: the library takes float buffers; without, samples are
    // clipped to 16 bits.
    SoundVoice(ALCcontext* context, bool stereoAngles, bool floatBuffers);
    virtual ~SoundVoice();
    SoundVoice(const SoundVoice&) = delete;
    SoundVoice& operator=(const SoundVoice&) = delete;

    // Begins a play at frame 0 with volume 1 and centre pan, with enough
    // audio queued to last `period` seconds (the longest recent time between
    // updates) or a late frame; false when the OpenAL objects cannot be had.
    virtual bool start(SoundStream& stream, bool paused, double updatePeriod);
    // Ends a play whose audio ran out; refills the queue of a play that is
    // not paused with what has played since the last update; restarts a
    // source that ran dry while its sound had data left.
    virtual void service(double updatePeriod);
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
    // Frames of the play, from the head and then the decoder.
    int read(float* out, int frames);
    // Decodes and queues whole buffers until the target is ahead.
    void fill();
    int queuedFrames() const;
    void release();

    ALCcontext* context;
    bool stereoAngles;
    bool floatBuffers;
    ALuint source = 0;
    ALuint buffers[kBufferCount] = {};
    std::vector<ALuint> freeBuffers;
    // Frames in each queued buffer, oldest first.
    std::deque<int> queued;
    // One buffer's frames on their way to OpenAL.
    std::vector<float> staging;
    std::vector<short> narrow;
    SoundStream* stream = nullptr;
    std::unique_ptr<SoundDecoder> decoder;
    int headPosition = 0;
    // The play will need a decoder and has not taken it yet.
    bool claimed = false;
    // Every frame of the play has been read.
    bool exhausted = false;
    // The longest recent time between updates, in seconds.
    double period = 0.0;
    int frequency = 0;
    int channels = 1;
    bool looping = false;
    bool active = false;
    bool paused = false;
    float volume = 1.0f;
    float pan = 0.0f;
    unsigned int generation = 0;
    long underruns = 0;
};
