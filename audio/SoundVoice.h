#pragma once

#include <AL/al.h>
#include <AL/alc.h>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "audio/SoundGroup.h"

class SoundDecoder;
class SoundStream;

// One playing slot of the system: an OpenAL source fed by a queue of
// buffers. A play starts on the main thread from the stream's head, which is
// already decoded; from then on the feeder thread keeps the queue half a
// second ahead, from the head and then from the play's own decoder. One lock
// guards the slot's state and its source, so the two threads take turns.
//
// Calls on a play name it by the number start() gave it; once that play is
// over (stopped, heard to its end, or the slot replayed) they do nothing and
// return false.
class SoundVoice {
public:
    static constexpr int kBufferFrames = 2048;
    // A second at 48 kHz: room for the deepest queue.
    static constexpr int kBufferCount = 24;
    // Queued ahead by the feeder: the thread can be kept off the processor
    // this long without a gap...
    static constexpr double kLeadSeconds = 0.5;
    // ...and this margin beyond, for the mixer's own look-ahead.
    static constexpr int kAheadMargin = 3 * kBufferFrames;
    // Queued by start() itself, from the head: until the feeder's next pass.
    static constexpr double kStartSeconds = 0.25;

    // floatBuffers: the library takes float buffers; without, samples are
    // clipped to 16 bits. groupVolumes: the system's, by group.
    SoundVoice(ALCcontext* context, bool stereoAngles, bool floatBuffers,
               const float* groupVolumes);
    virtual ~SoundVoice();
    SoundVoice(const SoundVoice&) = delete;
    SoundVoice& operator=(const SoundVoice&) = delete;

    // Main thread: begins a play at frame 0, volume 1, centre pan, in the
    // effects group; 0 when the OpenAL objects cannot be had, else the
    // play's number.
    virtual unsigned int start(SoundStream& stream, bool paused);
    // Feeder thread: ends a play heard to its end, tops up the queue of one
    // that is not paused, restarts a source that ran dry (a play resumed
    // after running dry restarts here too).
    virtual void service();

    virtual bool isPlaying(unsigned int play);
    virtual bool stop(unsigned int play);
    virtual bool setPaused(unsigned int play, bool value);
    virtual bool getPaused(unsigned int play, bool* value);
    virtual bool setVolume(unsigned int play, float value);
    // -1 is hard left, 1 hard right; mono by position, stereo by angles.
    virtual bool setPan(unsigned int play, float value);
    virtual bool setGroup(unsigned int play, SoundGroup value);
    // A group's volume changed: the play takes it at once.
    void applyGain();

    bool isActive() const;
    bool hasSource() const;
    long getUnderruns() const;

private:
    bool ensureObjects();
    void makeCurrent() const;
    // The play is still this one, once one heard to its end has been ended.
    bool current(unsigned int play);
    // Makes the change, under the lock, if the play is still this one.
    template <typename Change> bool onPlay(unsigned int play, Change change);
    void settle();
    void unqueuePlayed();
    // Frames of the play, from the head and then (decoding allowed) the
    // decoder.
    int read(float* out, int frames, bool decode);
    // Queues whole buffers until `target` frames are ahead.
    void fill(int target, bool decode);
    int queuedFrames() const;
    void setGain();
    void aim(float pan);
    void release();

    mutable std::mutex mutex;
    ALCcontext* context;
    bool stereoAngles;
    bool floatBuffers;
    const float* groupVolumes;
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
    int frequency = 0;
    int channels = 1;
    bool looping = false;
    bool active = false;
    bool paused = false;
    float volume = 1.0f;
    SoundGroup group = SoundGroup::Effects;
    unsigned int generation = 0;
    long underruns = 0;
};
