#include "audio/SoundDecoder.h"

#include <algorithm>
#include <cstring>

SoundDecoder* SoundDecoder::openFile(const std::string& path) {
    SF_INFO info;
    std::memset(&info, 0, sizeof info);
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file)
        return nullptr;
    if (info.channels < 1 || info.channels > 2 || info.samplerate <= 0) {
        sf_close(file);
        return nullptr;
    }
    return new SoundDecoder(file, info);
}

SoundDecoder::SoundDecoder(int channels, int frequency, long long frames)
    : channels(channels), frequency(frequency), frames(frames) {}

SoundDecoder::SoundDecoder(SNDFILE* file, const SF_INFO& info)
    : file(file), channels(info.channels), frequency(info.samplerate), frames(info.frames),
      position(0), finished(false) {}

SoundDecoder::~SoundDecoder() {
    if (file)
        sf_close(file);
}

int SoundDecoder::readRaw(float* out, int count) {
    if (file)
        return static_cast<int>(sf_readf_float(file, out, count));
    const long long left = std::max(0LL, frames - position);
    const int n = static_cast<int>(std::min<long long>(count, left));
    std::memset(out, 0, sizeof(float) * static_cast<size_t>(n * channels));
    position += n;
    return n;
}

bool SoundDecoder::rewind() {
    position = 0;
    return !file || sf_seek(file, 0, SEEK_SET) == 0;
}

int SoundDecoder::read(float* out, int count, bool loop) {
    int filled = 0;
    // Two empty reads in a row (one right after a rewind) mean an empty
    // sound: end it rather than spin.
    bool rewound = false;
    while (filled < count && !finished) {
        const int n = readRaw(out + filled * channels, count - filled);
        if (n > 0) {
            filled += n;
            rewound = false;
        } else if (loop && !rewound && rewind()) {
            rewound = true;
        } else {
            finished = true;
        }
    }
    return filled;
}
