#pragma once

#include <string>

class SoundDecoder;

// A sound made by the system: what to play and how. It holds no decoded
// audio; every play opens its own decoder, so one sound can overlap itself.
class SoundStream {
public:
    // The shape of a generated sound: raw 16-bit PCM, filled with zeros.
    struct UserFormat {
        unsigned int lengthBytes;
        int channels;
        int frequency;
    };

    // Null when the file cannot be opened or decoded.
    static SoundStream* openFile(const std::string& path, unsigned int mode);
    static SoundStream* openUser(const UserFormat& format, unsigned int mode);
    virtual ~SoundStream() = default;

    // A new decoder at frame 0, owned by the caller; null if the file went away.
    virtual SoundDecoder* openDecoder() const;

    const std::string& getPath() const { return path; }
    unsigned int getMode() const { return mode; }
    bool isLooping() const;
    int getChannels() const { return channels; }
    int getFrequency() const { return frequency; }
    long long getFrames() const { return frames; }

private:
    SoundStream(const std::string& path, unsigned int mode, int channels, int frequency,
                long long frames);

    std::string path;
    unsigned int mode;
    int channels;
    int frequency;
    long long frames;
};
