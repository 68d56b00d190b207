#pragma once

#include <memory>
#include <sndfile.h>
#include <string>

// Reads one play of a sound as interleaved float frames, a piece at a time,
// either from a file's bytes through libsndfile or as generated silence.
// Floats keep a lossy codec's peaks above full scale intact for the mixer to
// clip.
class SoundDecoder {
public:
    // A whole file read into memory, shared by the decoders of its sound.
    typedef std::shared_ptr<const std::string> Bytes;
    // Where libsndfile reads in the bytes.
    struct Cursor;

    // Null when the bytes are no sound or have more than two channels.
    static SoundDecoder* open(Bytes bytes);
    // Silence of the given shape (the generated sound).
    SoundDecoder(int channels, int frequency, long long frames);
    virtual ~SoundDecoder();

    // Fills up to `frames` frames into out; a looping read wraps to frame 0
    // inside the same call, so the caller's buffer has no gap at the seam.
    // Returns the frames written; fewer than asked only at the very end.
    virtual int read(float* out, int frames, bool loop);

    bool isFinished() const { return finished; }
    int getChannels() const { return channels; }
    int getFrequency() const { return frequency; }
    long long getFrames() const { return frames; }

private:
    SoundDecoder(SNDFILE* file, const SF_INFO& info, std::unique_ptr<Cursor> cursor);
    int readRaw(float* out, int count);
    bool rewind();

    // libsndfile reads through the cursor: it must outlive the file.
    std::unique_ptr<Cursor> cursor;
    SNDFILE* file = nullptr;
    int channels;
    int frequency;
    long long frames;
    long long position = 0;
    bool finished = false;
};
