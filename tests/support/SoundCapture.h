#pragma once

#include <algorithm>
#include <cmath>
#include <sndfile.h>
#include <string>
#include <vector>

#include "app/GameManager.h"
#include "audio/SoundSystem.h"

// A loopback sound system installed as the game's: what the player would hear.
class SoundCapture {
public:
    static const int kFrequency = 48000;

    // Without floatBuffers, sounds are queued as 16-bit samples.
    explicit SoundCapture(int channels, bool floatBuffers = true) {
        soundSystem.initLoopback(channels, kFrequency, floatBuffers);
        GameManager::setSoundSystem(&soundSystem);
    }
    ~SoundCapture() { GameManager::setSoundSystem(previous); }

    SoundSystem& system() { return soundSystem; }
    // Each step: update(), then a frame of audio (a 60th of a second) recorded.
    void run(int updates, int framesPerUpdate = 800) {
        for (int i = 0; i < updates; ++i) {
            soundSystem.update();
            mix(framesPerUpdate);
        }
    }
    // Audio appended with no update, as while the game stalls.
    void mix(int count) {
        const size_t start = recording.size();
        recording.resize(start + static_cast<size_t>(count * 2));
        soundSystem.render(recording.data() + start, count);
    }
    // Times restart at 0.
    void clear() { recording.clear(); }
    // Root mean square of one side between two times, in seconds.
    double rms(int side, double from, double to) const {
        const int a = frameAt(from), b = frameAt(to);
        double sum = 0.0;
        for (int i = a; i < b; ++i)
            sum += static_cast<double>(at(i, side)) * at(i, side);
        return b > a ? std::sqrt(sum / (b - a)) : 0.0;
    }
    // Longest run of (near) silent frames.
    int longestSilence(double from, double to) const {
        int longest = 0, run = 0;
        for (int i = frameAt(from); i < frameAt(to); ++i) {
            run = std::fabs(at(i, 0)) < 1e-4f && std::fabs(at(i, 1)) < 1e-4f ? run + 1 : 0;
            longest = std::max(longest, run);
        }
        return longest;
    }
    // The largest jump between neighbouring samples of one side.
    float steepest(int side, double from, double to) const {
        float step = 0;
        for (int i = std::max(1, frameAt(from)); i < frameAt(to); ++i)
            step = std::max(step, std::fabs(at(i, side) - at(i - 1, side)));
        return step;
    }
    // Every frame between the two times (clipped to the recording) is zero.
    bool isSilent(double from, double to) const {
        return longestSilence(from, to) == frameAt(to) - frameAt(from);
    }

    // A 1 kHz sine, the same on every channel, as 16-bit WAV unless told.
    static std::string writeTone(const std::string& path, int channels, double seconds,
                                 double amplitude = 0.5,
                                 int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16) {
        SF_INFO info = {0, kFrequency, channels, format, 0, 0};
        SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
        const int total = static_cast<int>(seconds * kFrequency);
        std::vector<float> samples(static_cast<size_t>(total * channels));
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<float>(
                amplitude * std::sin(2 * M_PI * 1000 * (i / channels) / kFrequency));
        sf_writef_float(file, samples.data(), total);
        sf_close(file);
        return path;
    }

private:
    // The left (0) or right (1) sample of a frame.
    float at(int frame, int side) const { return recording[static_cast<size_t>(frame * 2 + side)]; }
    int frameAt(double seconds) const {
        const int frames = static_cast<int>(recording.size() / 2);
        return std::max(0, std::min(frames, static_cast<int>(seconds * kFrequency)));
    }

    SoundSystem soundSystem;
    SoundSystem* previous = GameManager::getSoundSystem();
    std::vector<float> recording;
};
