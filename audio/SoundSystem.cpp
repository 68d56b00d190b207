#include "audio/SoundSystem.h"

#include <algorithm>

#include "audio/SoundBackendLog.h"
#include "audio/SoundChannel.h"
#include "audio/SoundFeeder.h"
#include "audio/SoundPrefetcher.h"
#include "audio/SoundVoice.h"

namespace {

const int kSilentFrequency = 48000;
// Between the feeder's passes on a device: far inside the lead it keeps.
const double kFeedInterval = 0.05;
// The loopback mix rendered between two passes.
const int kFeedSlice = 4096;
// A machine that slept is not caught up on: the sounds just wait.
const double kMaxDrain = 0.25;

} // namespace

SoundSystem::SoundSystem() = default;

SoundSystem::~SoundSystem() {
    feeder.reset();
    if (!context)
        return;
    makeCurrent();
    // Voices hold claims on the sounds.
    voices.clear();
    sounds.clear();
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context);
    alcCloseDevice(device);
}

void SoundSystem::makeCurrent() const {
    if (alcGetCurrentContext() != context)
        alcMakeContextCurrent(context);
}

bool SoundSystem::openContext(ALCdevice* opened, bool loopback, int loopbackFrequency) {
    std::vector<ALCint> attributes;
    if (loopback) {
        attributes.insert(attributes.end(),
                          {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT,
                           ALC_FLOAT_SOFT, ALC_FREQUENCY, loopbackFrequency});
        // The captured mix is checked sample by sample: no peak squashing.
        if (alcIsExtensionPresent(opened, "ALC_SOFT_output_limiter"))
            attributes.insert(attributes.end(), {ALC_OUTPUT_LIMITER_SOFT, ALC_FALSE});
    }
    // Head-related filtering would smear the pan between the ears.
    if (alcIsExtensionPresent(opened, "ALC_SOFT_HRTF"))
        attributes.insert(attributes.end(), {ALC_HRTF_SOFT, ALC_FALSE});
    attributes.push_back(0);
    ALCcontext* created = alcCreateContext(opened, attributes.data());
    if (!created) {
        alcCloseDevice(opened);
        return false;
    }
    device = opened;
    context = created;
    makeCurrent();
    alDistanceModel(AL_NONE);
    stereoAngles = alIsExtensionPresent("AL_EXT_STEREO_ANGLES") == AL_TRUE;
    floatBuffers = alIsExtensionPresent("AL_EXT_FLOAT32") == AL_TRUE;
    alcGetIntegerv(device, ALC_FREQUENCY, 1, &frequency);
    return true;
}

bool SoundSystem::openLoopback(int loopbackFrequency) {
    if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback"))
        return false;
    auto openDevice = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
        alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    renderSamples = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(
        alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    if (!openDevice || !renderSamples)
        return false;
    ALCdevice* opened = openDevice(nullptr);
    if (!opened)
        return false;
    if (!openContext(opened, true, loopbackFrequency))
        return false;
    frequency = loopbackFrequency;
    return true;
}

void SoundSystem::createVoices(int channels) {
    // OpenAL objects are made on a slot's first play, so unused slots cost
    // no sources.
    voices.clear();
    for (int i = 0; i < channels; ++i)
        voices.push_back(
            std::make_shared<SoundVoice>(context, stereoAngles, floatBuffers, groupVolumes.data()));
}

void SoundSystem::startFeeder(double interval) {
    lastDrain = std::chrono::steady_clock::now();
    feeder = std::make_unique<SoundFeeder>(
        context, interval, [this] { feed(); }, threaded);
}

bool SoundSystem::init(int channels) {
    if (context)
        return false;
    SoundBackendLog::quietUnlessAsked();
    ALCdevice* opened = alcOpenDevice(nullptr);
    if (opened && openContext(opened, false, 0)) {
        output = DeviceOutput;
    } else if (openLoopback(kSilentFrequency)) {
        output = SilentOutput;
    } else {
        return false;
    }
    createVoices(channels);
    startFeeder(kFeedInterval);
    return true;
}

bool SoundSystem::initLoopback(int channels, int loopbackFrequency, bool floatWanted) {
    // The library reads its log level once, at its first use, whichever
    // output that is for.
    SoundBackendLog::quietUnlessAsked();
    if (context || loopbackFrequency <= 0 || !openLoopback(loopbackFrequency))
        return false;
    output = LoopbackOutput;
    floatBuffers = floatBuffers && floatWanted;
    createVoices(channels);
    // The mix advances only as it is rendered: the feeder runs when asked.
    startFeeder(0.0);
    return true;
}

int SoundSystem::render(float* out, int frames) {
    if (output != LoopbackOutput || frames <= 0)
        return 0;
    for (int done = 0; done < frames;) {
        if (unfed == 0 && feeder->isThreaded())
            feeder->passNow();
        const int n = std::min(kFeedSlice - unfed, frames - done);
        renderSamples(device, out + static_cast<size_t>(done) * 2, n);
        done += n;
        unfed = (unfed + n) % kFeedSlice;
    }
    return frames;
}

void SoundSystem::drainSilently() {
    // Sources only advance as the loopback mix is pulled, so pull (and
    // drop) as much as real time has passed for sounds to end on time.
    const auto now = std::chrono::steady_clock::now();
    const double seconds = std::chrono::duration<double>(now - lastDrain).count();
    lastDrain = now;
    int frames = static_cast<int>(std::min(seconds, kMaxDrain) * frequency);
    drainBuffer.resize(static_cast<size_t>(kFeedSlice) * 2);
    while (frames > 0) {
        const int n = std::min(kFeedSlice, frames);
        renderSamples(device, drainBuffer.data(), n);
        frames -= n;
    }
}

void SoundSystem::feed() {
    if (output == SilentOutput)
        drainSilently();
    for (const std::shared_ptr<SoundVoice>& voice : voices)
        voice->service();
}

void SoundSystem::update() {
    if (feeder && !feeder->isThreaded())
        feeder->passNow();
}

void SoundSystem::setThreaded(bool value) {
    threaded = value;
    SoundPrefetcher::setThreaded(value);
}

void SoundSystem::setGroupVolume(SoundGroup group, float volume) {
    groupVolumes[static_cast<int>(group)] = std::min(1.0f, std::max(0.0f, volume));
    for (const std::shared_ptr<SoundVoice>& voice : voices)
        voice->applyGain();
}

bool SoundSystem::createSound(const std::string& name, unsigned int mode,
                              const SoundStream::UserFormat* format, SoundStream** sound) {
    if (!sound)
        return false;
    SoundStream* made = nullptr;
    if (mode & ModeUser)
        made = format ? SoundStream::openUser(*format, mode) : nullptr;
    else
        made = SoundStream::openFile(name, mode);
    *sound = made;
    if (!made)
        return false;
    sounds.emplace_back(made);
    return true;
}

bool SoundSystem::playSound(SoundStream* sound, bool paused, SoundChannel** channel) {
    if (channel)
        *channel = nullptr;
    if (!context || !sound)
        return false;
    // A slot that already has its OpenAL objects is cheapest to reuse.
    SoundVoice* chosen = nullptr;
    size_t index = 0;
    for (size_t i = 0; i < voices.size(); ++i) {
        SoundVoice* voice = voices[i].get();
        if (voice->isActive())
            continue;
        if (!chosen || (voice->hasSource() && !chosen->hasSource())) {
            chosen = voice;
            index = i;
        }
        if (chosen->hasSource())
            break;
    }
    const unsigned int play = chosen ? chosen->start(*sound, paused) : 0;
    if (!play)
        return false;
    if (channel)
        *channel = new SoundChannel(voices[index], play);
    return true;
}

int SoundSystem::getPlayingCount() const {
    return static_cast<int>(
        std::count_if(voices.begin(), voices.end(),
                      [](const std::shared_ptr<SoundVoice>& voice) { return voice->isActive(); }));
}

long SoundSystem::getUnderrunCount() const {
    long total = 0;
    for (const std::shared_ptr<SoundVoice>& voice : voices)
        total += voice->getUnderruns();
    return total;
}
