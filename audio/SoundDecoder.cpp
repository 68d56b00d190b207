#include "audio/SoundDecoder.h"

#include <algorithm>
#include <cstring>
#include <mutex>

struct SoundDecoder::Cursor {
    Bytes bytes;
    sf_count_t offset;
};

namespace {

SoundDecoder::Cursor& at(void* data) {
    return *static_cast<SoundDecoder::Cursor*>(data);
}

sf_count_t length(void* data) {
    return static_cast<sf_count_t>(at(data).bytes->size());
}

sf_count_t seekBytes(sf_count_t offset, int whence, void* data) {
    const sf_count_t base = whence == SEEK_SET   ? 0
                            : whence == SEEK_CUR ? at(data).offset
                                                 : length(data);
    at(data).offset = std::max<sf_count_t>(0, std::min(length(data), base + offset));
    return at(data).offset;
}

sf_count_t readBytes(void* out, sf_count_t count, void* data) {
    const sf_count_t n = std::max<sf_count_t>(0, std::min(count, length(data) - at(data).offset));
    std::memcpy(out, at(data).bytes->data() + at(data).offset, static_cast<size_t>(n));
    at(data).offset += n;
    return n;
}

sf_count_t writeNothing(const void*, sf_count_t, void*) {
    return 0;
}

sf_count_t tellBytes(void* data) {
    return at(data).offset;
}

SF_VIRTUAL_IO io = {length, seekBytes, readBytes, writeNothing, tellBytes};

// libsndfile's open keeps its error and log in globals: one thread at a time.
std::mutex opening;

} // namespace

SoundDecoder* SoundDecoder::open(Bytes bytes) {
    auto cursor = std::make_unique<Cursor>(Cursor{std::move(bytes), 0});
    SF_INFO info;
    std::memset(&info, 0, sizeof info);
    SNDFILE* file = nullptr;
    {
        std::lock_guard<std::mutex> lock(opening);
        file = sf_open_virtual(&io, SFM_READ, &info, cursor.get());
    }
    if (!file)
        return nullptr;
    if (info.channels < 1 || info.channels > 2 || info.samplerate <= 0) {
        sf_close(file);
        return nullptr;
    }
    return new SoundDecoder(file, info, std::move(cursor));
}

SoundDecoder::SoundDecoder(int channels, int frequency, long long frames)
    : channels(channels), frequency(frequency), frames(frames) {}

SoundDecoder::SoundDecoder(SNDFILE* file, const SF_INFO& info, std::unique_ptr<Cursor> cursor)
    : cursor(std::move(cursor)), file(file), channels(info.channels), frequency(info.samplerate),
      frames(info.frames), position(0), finished(false) {}

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
