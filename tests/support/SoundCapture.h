#pragma once

#include <string>
#include <vector>

class SoundSystem;

// A loopback sound system installed as the game's, whose mix the test pulls
// and checks: what the player would have heard, frame by frame.
class SoundCapture {
public:
    static const int kFrequency = 48000;
    // One game frame of audio at 60 updates per second.
    static const int kFramesPerUpdate = 800;

    // Without floatBuffers, sounds are queued as 16-bit samples.
    explicit SoundCapture(int channels = 32, bool floatBuffers = true);
    ~SoundCapture();

    SoundSystem& system() { return *soundSystem; }
    // Each step: update(), then one frame of audio (of the given length)
    // appended to the recording.
    void run(int updates, int framesPerUpdate = kFramesPerUpdate);
    // Audio appended with no update, as while the game stalls.
    void mix(int frames);
    // Drops what was recorded so far; times restart at 0.
    void clear() { recording.clear(); }
    // Frames recorded, and the left (0) or right (1) sample of a frame.
    int frames() const { return static_cast<int>(recording.size() / 2); }
    float at(int frame, int side) const { return recording[static_cast<size_t>(frame * 2 + side)]; }
    // Root mean square of one side between two times, in seconds.
    double rms(int side, double from, double to) const;
    // Largest step between neighbouring samples of one side.
    double largestStep(int side, double from, double to) const;
    // Longest run of frames whose samples are all (near) zero.
    int longestSilence(double from, double to) const;
    // Every frame between the two times (clipped to the recording) is zero.
    bool isSilent(double from, double to) const;

    // A sine tone written with libsndfile (the same tone on every channel);
    // returns its path. Format is a libsndfile major|minor format.
    static std::string writeTone(const std::string& dir, const std::string& name, int channels,
                                 double seconds, double hz, double amplitude, int format);

private:
    int frameAt(double seconds) const;

    SoundSystem* soundSystem;
    SoundSystem* previous;
    std::vector<float> recording;
};
