#include "audio/SoundStream.h"

#include "audio/SoundDecoder.h"
#include "audio/SoundSystem.h"

SoundStream::SoundStream(const std::string& path, unsigned int mode, int channels, int frequency,
                         long long frames)
    : path(path), mode(mode), channels(channels), frequency(frequency), frames(frames) {}

SoundStream* SoundStream::openFile(const std::string& path, unsigned int mode) {
    // Opening reads only the header; the audio is decoded as it plays.
    SoundDecoder* probe = SoundDecoder::openFile(path);
    if (!probe)
        return nullptr;
    SoundStream* stream = new SoundStream(path, mode, probe->getChannels(), probe->getFrequency(),
                                          probe->getFrames());
    delete probe;
    return stream;
}

SoundStream* SoundStream::openUser(const UserFormat& format, unsigned int mode) {
    if (format.channels < 1 || format.channels > 2 || format.frequency <= 0)
        return nullptr;
    const long long frames = format.lengthBytes / (2u * static_cast<unsigned int>(format.channels));
    return new SoundStream(std::string(), mode, format.channels, format.frequency, frames);
}

bool SoundStream::isLooping() const {
    return (mode & SoundSystem::ModeLoopNormal) != 0;
}

SoundDecoder* SoundStream::openDecoder() const {
    if (mode & SoundSystem::ModeUser)
        return new SoundDecoder(channels, frequency, frames);
    return SoundDecoder::openFile(path);
}
