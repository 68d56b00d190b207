#include "support/SoundCapture.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sndfile.h>

#include "app/GameManager.h"
#include "audio/SoundSystem.h"

SoundCapture::SoundCapture(int channels, bool floatBuffers)
    : soundSystem(new SoundSystem()), previous(GameManager::getSoundSystem()) {
    soundSystem->initLoopback(channels, kFrequency, floatBuffers);
    GameManager::setSoundSystem(soundSystem);
}

SoundCapture::~SoundCapture() {
    GameManager::setSoundSystem(previous);
    delete soundSystem;
}

void SoundCapture::run(int updates, int framesPerUpdate) {
    for (int i = 0; i < updates; ++i) {
        soundSystem->update();
        mix(framesPerUpdate);
    }
}

void SoundCapture::mix(int count) {
    const size_t at = recording.size();
    recording.resize(at + static_cast<size_t>(count * 2));
    soundSystem->render(recording.data() + at, count);
}

int SoundCapture::frameAt(double seconds) const {
    return std::max(0, std::min(frames(), static_cast<int>(seconds * kFrequency)));
}

double SoundCapture::rms(int side, double from, double to) const {
    const int a = frameAt(from), b = frameAt(to);
    double sum = 0.0;
    for (int i = a; i < b; ++i)
        sum += static_cast<double>(at(i, side)) * at(i, side);
    return b > a ? std::sqrt(sum / (b - a)) : 0.0;
}

double SoundCapture::largestStep(int side, double from, double to) const {
    const int a = frameAt(from), b = frameAt(to);
    double largest = 0.0;
    for (int i = a + 1; i < b; ++i)
        largest = std::max(largest, static_cast<double>(std::fabs(at(i, side) - at(i - 1, side))));
    return largest;
}

int SoundCapture::longestSilence(double from, double to) const {
    const int a = frameAt(from), b = frameAt(to);
    int longest = 0, run = 0;
    for (int i = a; i < b; ++i) {
        const bool quiet = std::fabs(at(i, 0)) < 1e-4f && std::fabs(at(i, 1)) < 1e-4f;
        run = quiet ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

bool SoundCapture::isSilent(double from, double to) const {
    return longestSilence(from, to) == frameAt(to) - frameAt(from);
}

std::string SoundCapture::writeTone(const std::string& dir, const std::string& name, int channels,
                                    double seconds, double hz, double amplitude, int format) {
    const std::string path = dir + "/" + name;
    SF_INFO info;
    std::memset(&info, 0, sizeof info);
    info.samplerate = kFrequency;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file)
        return path;
    const int total = static_cast<int>(seconds * kFrequency);
    std::vector<float> samples(static_cast<size_t>(total * channels));
    for (int i = 0; i < total; ++i)
        for (int c = 0; c < channels; ++c)
            samples[static_cast<size_t>(i * channels + c)] =
                static_cast<float>(amplitude * std::sin(2.0 * M_PI * hz * i / kFrequency));
    sf_writef_float(file, samples.data(), total);
    sf_close(file);
    return path;
}
