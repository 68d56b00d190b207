#include "audio/SoundVoice.h"

#include <AL/alext.h>
#include <algorithm>
#include <cmath>

#include "audio/SoundDecoder.h"
#include "audio/SoundStream.h"

namespace {

const float kHalfPi = 1.57079633f;
const float kSixthPi = 0.52359878f;

ALint stateOf(ALuint source) {
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

} // namespace

SoundVoice::SoundVoice(ALCcontext* context, bool stereoAngles, bool floatBuffers,
                       const float* groupVolumes)
    : context(context), stereoAngles(stereoAngles), floatBuffers(floatBuffers),
      groupVolumes(groupVolumes) {}

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

unsigned int SoundVoice::start(SoundStream& played, bool startPaused) {
    std::lock_guard<std::mutex> lock(mutex);
    makeCurrent();
    release();
    if (!ensureObjects())
        return 0;
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
    volume = 1.0f;
    group = SoundGroup::Effects;
    setGain();
    aim(0.0f);
    fill(static_cast<int>(kStartSeconds * frequency), false);
    if (!paused)
        alSourcePlay(source);
    return generation;
}

int SoundVoice::read(float* out, int frames, bool decode) {
    int got = stream->readHead(headPosition, out, frames);
    headPosition += got;
    if (got < frames && !stream->isHeadWhole()) {
        if (!decode)
            return got;
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

void SoundVoice::fill(int target, bool decode) {
    for (int ahead = queuedFrames(); ahead < target && !exhausted && !freeBuffers.empty();) {
        const int got = read(staging.data(), kBufferFrames, decode);
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
    makeCurrent();
    unqueuePlayed();
    if (stateOf(source) == AL_STOPPED && !paused && exhausted)
        release();
}

bool SoundVoice::current(unsigned int play) {
    if (!active || play != generation)
        return false;
    settle();
    return active;
}

void SoundVoice::service() {
    std::lock_guard<std::mutex> lock(mutex);
    // A source that ran dry and was then paused would count buffers queued
    // now as played: a paused play is fed when it resumes.
    if (!current(generation) || paused)
        return;
    fill(static_cast<int>(kLeadSeconds * frequency) + kAheadMargin, true);
    if (stateOf(source) != AL_PLAYING && !queued.empty()) {
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
    // Calls on this play stop working here.
    ++generation;
}

bool SoundVoice::isPlaying(unsigned int play) {
    std::lock_guard<std::mutex> lock(mutex);
    return current(play);
}

template <typename Change> bool SoundVoice::onPlay(unsigned int play, Change change) {
    std::lock_guard<std::mutex> lock(mutex);
    if (!current(play))
        return false;
    change();
    return true;
}

bool SoundVoice::stop(unsigned int play) {
    return onPlay(play, [this] { release(); });
}

bool SoundVoice::setPaused(unsigned int play, bool value) {
    return onPlay(play, [this, value] {
        paused = value;
        const ALint state = stateOf(source);
        if (paused && state == AL_PLAYING)
            alSourcePause(source);
        else if (!paused && state != AL_PLAYING && !queued.empty())
            alSourcePlay(source);
    });
}

bool SoundVoice::getPaused(unsigned int play, bool* value) {
    return onPlay(play, [this, value] {
        if (value)
            *value = paused;
    });
}

bool SoundVoice::setVolume(unsigned int play, float value) {
    return onPlay(play, [this, value] {
        volume = std::min(1.0f, std::max(0.0f, value));
        setGain();
    });
}

bool SoundVoice::setGroup(unsigned int play, SoundGroup value) {
    return onPlay(play, [this, value] {
        group = value;
        setGain();
    });
}

void SoundVoice::applyGain() {
    std::lock_guard<std::mutex> lock(mutex);
    if (!active)
        return;
    makeCurrent();
    setGain();
}

void SoundVoice::setGain() {
    alSourcef(source, AL_GAIN, volume * groupVolumes[static_cast<int>(group)]);
}

bool SoundVoice::setPan(unsigned int play, float value) {
    return onPlay(play, [this, value] { aim(std::min(1.0f, std::max(-1.0f, value))); });
}

void SoundVoice::aim(float pan) {
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

bool SoundVoice::isActive() const {
    std::lock_guard<std::mutex> lock(mutex);
    return active;
}

bool SoundVoice::hasSource() const {
    std::lock_guard<std::mutex> lock(mutex);
    return source != 0;
}

long SoundVoice::getUnderruns() const {
    std::lock_guard<std::mutex> lock(mutex);
    return underruns;
}
