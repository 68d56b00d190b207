#include "audio/SoundVoice.h"

#include <AL/alext.h>
#include <algorithm>
#include <cmath>

#include "audio/SoundDecoder.h"
#include "audio/SoundStream.h"

namespace {

const float kHalfPi = 1.57079633f;
const float kSixthPi = 0.52359878f;

} // namespace

SoundVoice::SoundVoice(ALCcontext* context, bool stereoAngles, bool floatBuffers)
    : context(context), stereoAngles(stereoAngles), floatBuffers(floatBuffers) {}

SoundVoice::~SoundVoice() {
    if (!source)
        return;
    makeCurrent();
    release();
    alDeleteSources(1, &source);
    alDeleteBuffers(kBufferCount, buffers);
}

void SoundVoice::makeCurrent() const {
    // Several systems may live side by side (tests); AL calls act on the
    // current context, so claim ours before each.
    if (alcGetCurrentContext() != context)
        alcMakeContextCurrent(context);
}

bool SoundVoice::ensureObjects() {
    if (source)
        return true;
    alGetError();
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) {
        source = 0;
        return false;
    }
    alGenBuffers(kBufferCount, buffers);
    if (alGetError() != AL_NO_ERROR) {
        alDeleteSources(1, &source);
        source = 0;
        return false;
    }
    freeBuffers.assign(buffers, buffers + kBufferCount);
    staging.resize(static_cast<size_t>(kBufferFrames) * 2);
    if (!floatBuffers)
        narrow.resize(staging.size());
    // Every voice is a flat, listener-relative sound; pan moves it on a
    // unit circle in front of the listener.
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSourcei(source, AL_LOOPING, AL_FALSE);
    return true;
}

bool SoundVoice::start(SoundStream& played, bool startPaused, double updatePeriod) {
    makeCurrent();
    if (active)
        release();
    if (!ensureObjects())
        return false;
    stream = &played;
    channels = played.getChannels();
    frequency = played.getFrequency();
    looping = played.isLooping();
    headPosition = 0;
    exhausted = false;
    claimed = !played.isHeadWhole();
    if (claimed)
        played.claimDecoder();
    active = true;
    paused = startPaused;
    ++generation;
    period = updatePeriod;
    setVolume(1.0f);
    setPan(0.0f);
    fill();
    if (!paused)
        alSourcePlay(source);
    return true;
}

int SoundVoice::read(float* out, int frames) {
    int got = stream->readHead(headPosition, out, frames);
    headPosition += got;
    if (got < frames && !stream->isHeadWhole()) {
        if (claimed) {
            decoder = stream->takeDecoder();
            claimed = false;
        }
        if (decoder)
            got += decoder->read(out + got * channels, frames - got, looping);
    }
    exhausted = got < frames;
    return got;
}

void SoundVoice::fill() {
    const int target =
        static_cast<int>(std::max(period, kLateFrameSeconds) * frequency) + kAheadMargin;
    for (int ahead = queuedFrames(); ahead < target && !exhausted && !freeBuffers.empty();) {
        const int got = read(staging.data(), kBufferFrames);
        if (got == 0)
            return;
        const ALuint id = freeBuffers.back();
        freeBuffers.pop_back();
        const size_t samples = static_cast<size_t>(got) * channels;
        if (floatBuffers) {
            alBufferData(id, channels == 2 ? AL_FORMAT_STEREO_FLOAT32 : AL_FORMAT_MONO_FLOAT32,
                         staging.data(), static_cast<ALsizei>(samples * sizeof(float)), frequency);
        } else {
            // Clipped, not wrapped: a decoded peak past full scale stays a peak.
            for (size_t i = 0; i < samples; ++i)
                narrow[i] = static_cast<short>(
                    std::lrint(std::min(1.0f, std::max(-1.0f, staging[i])) * 32767.0f));
            alBufferData(id, channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16, narrow.data(),
                         static_cast<ALsizei>(samples * sizeof(short)), frequency);
        }
        alSourceQueueBuffers(source, 1, &id);
        queued.push_back(got);
        ahead += got;
    }
}

int SoundVoice::queuedFrames() const {
    ALint offset = 0;
    alGetSourcei(source, AL_SAMPLE_OFFSET, &offset);
    int total = 0;
    for (int frames : queued)
        total += frames;
    return total - offset;
}

void SoundVoice::unqueuePlayed() {
    ALint processed = 0;
    alGetSourcei(source, AL_BUFFERS_PROCESSED, &processed);
    for (; processed > 0; --processed) {
        ALuint id = 0;
        alSourceUnqueueBuffers(source, 1, &id);
        freeBuffers.push_back(id);
        queued.pop_front();
    }
}

void SoundVoice::settle() {
    if (!active)
        return;
    makeCurrent();
    unqueuePlayed();
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    if (state == AL_STOPPED && !paused && exhausted)
        release();
}

void SoundVoice::service(double updatePeriod) {
    settle();
    period = updatePeriod;
    // A source that ran dry and was then paused would count buffers queued
    // now as played: a paused play is fed when it resumes.
    if (!active || paused)
        return;
    fill();
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    if (state == AL_STOPPED && !paused && !queued.empty()) {
        // Ran dry with audio still to come: the refill was late.
        ++underruns;
        alSourcePlay(source);
    }
}

void SoundVoice::release() {
    if (!active)
        return;
    // Back to the initial state: a stopped source counts every buffer queued
    // for the next play as already played.
    alSourceRewind(source);
    alSourcei(source, AL_BUFFER, 0);
    freeBuffers.assign(buffers, buffers + kBufferCount);
    queued.clear();
    decoder.reset();
    if (claimed)
        stream->dropClaim();
    claimed = false;
    stream = nullptr;
    active = false;
    paused = false;
    // Stale channel handles of this play stop working here.
    ++generation;
}

void SoundVoice::stop() {
    if (!active)
        return;
    makeCurrent();
    release();
}

void SoundVoice::setPaused(bool value) {
    if (!active)
        return;
    makeCurrent();
    paused = value;
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    if (paused && state == AL_PLAYING) {
        alSourcePause(source);
    } else if (!paused && state != AL_PLAYING) {
        unqueuePlayed();
        fill();
        alSourcePlay(source);
    }
}

void SoundVoice::setVolume(float value) {
    if (!active)
        return;
    makeCurrent();
    volume = std::min(1.0f, std::max(0.0f, value));
    alSourcef(source, AL_GAIN, volume);
}

void SoundVoice::setPan(float value) {
    if (!active)
        return;
    makeCurrent();
    pan = std::min(1.0f, std::max(-1.0f, value));
    alSource3f(source, AL_POSITION, pan, 0.0f, -std::sqrt(1.0f - pan * pan));
    if (channels == 2 && stereoAngles) {
        // Both channel angles swing together towards the side, so -1 puts
        // the whole stereo image hard left and 1 hard right.
        const float toward = pan < 0.0f ? kHalfPi : -kHalfPi;
        const float amount = std::fabs(pan);
        const ALfloat angles[2] = {kSixthPi + (toward - kSixthPi) * amount,
                                   -kSixthPi + (toward + kSixthPi) * amount};
        alSourcefv(source, AL_STEREO_ANGLES, angles);
    }
}
