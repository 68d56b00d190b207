#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "audio/SoundDecoder.h"

// A sound made by the system: what to play and how. Its file is read into
// memory once, at load, so removing or rewriting it later changes nothing
// and a play never waits on the disk. Its first frames (the head) are
// decoded at load too, so a play starts from memory; the rest is decoded
// from the file's bytes by a decoder of the play's own, which the prefetch
// thread opens ahead of time. The system owns it through a shared pointer.
class SoundStream : public std::enable_shared_from_this<SoundStream> {
public:
    // The shape of a generated sound: raw 16-bit PCM, filled with zeros.
    struct UserFormat {
        unsigned int lengthBytes;
        int channels;
        int frequency;
    };

    // Enough for a play to start on and outlast the latest frame the
    // streams are fed for (half a second, with margin, at 48 kHz).
    static constexpr int kHeadFrames = 32768;

    // Null when the file cannot be opened or decoded.
    static SoundStream* openFile(const std::string& path, unsigned int mode);
    static SoundStream* openUser(const UserFormat& format, unsigned int mode);
    virtual ~SoundStream();

    // Copies head frames from `from` on into out; returns how many.
    int readHead(int from, float* out, int frames) const;
    // The head holds the whole play: a short sound that does not loop.
    bool isHeadWhole() const { return headWhole; }

    // A play that will need a decoder past the head says so at its start;
    // it then takes one, or gives up its claim if it ends first.
    void claimDecoder();
    void dropClaim();
    // A decoder positioned just past the head: one made ahead of time, or,
    // when none is ready, opened here.
    std::unique_ptr<SoundDecoder> takeDecoder();
    // Prefetch thread: opens decoders until every claim has one and a spare
    // is left for the next play.
    void makeSpares();

    const std::string& getPath() const { return path; }
    unsigned int getMode() const { return mode; }
    bool isLooping() const;
    int getChannels() const { return channels; }
    int getFrequency() const { return frequency; }
    long long getFrames() const { return frames; }

private:
    SoundStream(const std::string& path, SoundDecoder::Bytes bytes, unsigned int mode, int channels,
                int frequency, long long frames);
    std::unique_ptr<SoundDecoder> openDecoder() const;
    // Reads the head's frames from a decoder at frame 0 into out.
    void skipHead(SoundDecoder& decoder, std::vector<float>& out) const;
    void loadHead(std::unique_ptr<SoundDecoder> decoder);
    bool wantsSpare() const { return spares.size() < claims + 1; }
    void orderSpare();

    std::string path;
    SoundDecoder::Bytes bytes;
    unsigned int mode;
    int channels;
    int frequency;
    long long frames;
    std::vector<float> head;
    bool headWhole = false;

    // Shared with the prefetch thread.
    std::mutex mutex;
    std::vector<std::unique_ptr<SoundDecoder>> spares;
    size_t claims = 0;
};
