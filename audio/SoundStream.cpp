#include "audio/SoundStream.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "audio/SoundDecoder.h"
#include "audio/SoundPrefetcher.h"
#include "audio/SoundSystem.h"

SoundStream::SoundStream(const std::string& path, SoundDecoder::Bytes bytes, unsigned int mode,
                         int channels, int frequency, long long frames)
    : path(path), bytes(std::move(bytes)), mode(mode), channels(channels), frequency(frequency),
      frames(frames) {}

SoundStream::~SoundStream() = default;

SoundStream* SoundStream::openFile(const std::string& path, unsigned int mode) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return nullptr;
    auto bytes = std::make_shared<const std::string>(std::istreambuf_iterator<char>(file),
                                                     std::istreambuf_iterator<char>());
    std::unique_ptr<SoundDecoder> decoder(SoundDecoder::open(bytes));
    if (!decoder)
        return nullptr;
    SoundStream* stream = new SoundStream(path, bytes, mode, decoder->getChannels(),
                                          decoder->getFrequency(), decoder->getFrames());
    stream->loadHead(std::move(decoder));
    return stream;
}

SoundStream* SoundStream::openUser(const UserFormat& format, unsigned int mode) {
    if (format.channels < 1 || format.channels > 2 || format.frequency <= 0)
        return nullptr;
    const long long frames = format.lengthBytes / (2u * static_cast<unsigned int>(format.channels));
    // Generated whatever the caller's bits say: there is no file to reopen.
    SoundStream* stream = new SoundStream(std::string(), nullptr, mode | SoundSystem::ModeUser,
                                          format.channels, format.frequency, frames);
    stream->loadHead(stream->openDecoder());
    return stream;
}

bool SoundStream::isLooping() const {
    return (mode & SoundSystem::ModeLoopNormal) != 0;
}

std::unique_ptr<SoundDecoder> SoundStream::openDecoder() const {
    if (mode & SoundSystem::ModeUser)
        return std::make_unique<SoundDecoder>(channels, frequency, frames);
    return std::unique_ptr<SoundDecoder>(SoundDecoder::open(bytes));
}

void SoundStream::skipHead(SoundDecoder& decoder, std::vector<float>& out) const {
    out.resize(static_cast<size_t>(kHeadFrames) * channels);
    const int read = decoder.read(out.data(), kHeadFrames, isLooping());
    out.resize(static_cast<size_t>(read) * channels);
}

void SoundStream::loadHead(std::unique_ptr<SoundDecoder> decoder) {
    skipHead(*decoder, head);
    // A looping read wraps, so only a sound that plays once can end here.
    headWhole = decoder->isFinished();
    if (!headWhole)
        spares.push_back(std::move(decoder));
}

int SoundStream::readHead(int from, float* out, int count) const {
    const int headFrames = static_cast<int>(head.size()) / channels;
    const int n = std::max(0, std::min(count, headFrames - from));
    std::memcpy(out, head.data() + static_cast<size_t>(from * channels),
                sizeof(float) * static_cast<size_t>(n * channels));
    return n;
}

void SoundStream::claimDecoder() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        ++claims;
    }
    orderSpare();
}

void SoundStream::dropClaim() {
    std::lock_guard<std::mutex> lock(mutex);
    if (claims > 0)
        --claims;
}

std::unique_ptr<SoundDecoder> SoundStream::takeDecoder() {
    std::unique_ptr<SoundDecoder> taken;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (claims > 0)
            --claims;
        if (!spares.empty()) {
            taken = std::move(spares.back());
            spares.pop_back();
        }
    }
    orderSpare();
    if (taken)
        return taken;
    // The prefetch thread is behind: this play cannot wait for it.
    taken = openDecoder();
    if (taken) {
        std::vector<float> skipped;
        skipHead(*taken, skipped);
    }
    return taken;
}

void SoundStream::orderSpare() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        // cppcheck-suppress knownConditionTrueFalse ; a browser build turns it off
        if (!wantsSpare() || !SoundPrefetcher::isThreaded())
            return;
    }
    SoundPrefetcher::shared().order(weak_from_this());
}

void SoundStream::makeSpares() {
    std::vector<float> skipped;
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (!wantsSpare())
                return;
        }
        std::unique_ptr<SoundDecoder> spare = openDecoder();
        if (!spare)
            return;
        skipHead(*spare, skipped);
        std::lock_guard<std::mutex> lock(mutex);
        spares.push_back(std::move(spare));
    }
}
