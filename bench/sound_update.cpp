// Cost of a frame's sound work with the game's heaviest sound load: two Ogg
// Vorbis music tracks and ten WAV effects at once, on a loopback device
// that mixes one 60 Hz frame (800 frames at 48 kHz) between updates, the
// feeding included. The
// long run also counts underruns: a source that ran dry while its sound
// still had audio to give. The game's own files give what a play costs the
// caller, and the underruns at steady frame periods from 16 ms to 1 s and
// after one late frame of 50 ms to 5 s.
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>
#include <random>
#include <sndfile.h>
#include <string>
#include <vector>

#include "app/GameManager.h"
#include "audio/Sound.h"
#include "audio/SoundSystem.h"

namespace {

// Wall and main-thread CPU seconds of a call. On a shared machine the wall
// time also holds whatever other process ran in the meantime.
struct Cost {
    double wall;
    double cpu;
};

double cpuSeconds(clockid_t clock) {
    timespec now;
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double threadSeconds() {
    return cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
}

template <typename Call> Cost measure(Call&& call) {
    const double cpu = threadSeconds();
    const auto wall = std::chrono::steady_clock::now();
    call();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count(),
            threadSeconds() - cpu};
}

const int kFrequency = 48000;
const int kFramesPerUpdate = 800;
const int kEffects = 10;

// Music-like content (chord plus noise) so Vorbis spends real bits on it.
void writeFile(const std::string& path, int format, int channels, int rate, double seconds,
               double baseHz, unsigned int seed) {
    SF_INFO info;
    std::memset(&info, 0, sizeof info);
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) {
        std::fprintf(stderr, "sound_update: cannot write %s\n", path.c_str());
        std::exit(1);
    }
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> noise(-0.05f, 0.05f);
    const int frames = static_cast<int>(seconds * rate);
    std::vector<float> block(static_cast<size_t>(4096 * channels));
    for (int start = 0; start < frames; start += 4096) {
        const int n = std::min(4096, frames - start);
        for (int i = 0; i < n; ++i) {
            const double t = static_cast<double>(start + i) / rate;
            const double chord = std::sin(2 * M_PI * baseHz * t) +
                                 std::sin(2 * M_PI * baseHz * 1.25 * t) +
                                 std::sin(2 * M_PI * baseHz * 1.5 * t);
            for (int c = 0; c < channels; ++c)
                block[static_cast<size_t>(i) * channels + c] =
                    static_cast<float>(0.15 * chord) + noise(random);
        }
        sf_writef_float(file, block.data(), n);
    }
    sf_close(file);
}

// The sound content of a level, written once into a temporary folder.
class Content {
public:
    Content() {
        char pattern[] = "/tmp/tolvek-bench-XXXXXX";
        dir = mkdtemp(pattern);
        const int ogg = SF_FORMAT_OGG | SF_FORMAT_VORBIS;
        const int wav = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        writeFile(dir + "/music-a.ogg", ogg, 2, 44100, 40.0, 220.0, 1);
        writeFile(dir + "/music-b.ogg", ogg, 2, 44100, 30.0, 330.0, 2);
        for (int i = 0; i < kEffects; ++i)
            writeFile(effect(i), wav, 1, 44100, 0.4 + 0.1 * i, 400.0 + 50 * i, 10 + i);
    }
    ~Content() { std::filesystem::remove_all(dir); }

    std::string music(int i) const { return dir + (i == 0 ? "/music-a.ogg" : "/music-b.ogg"); }
    std::string effect(int i) const { return dir + "/effect-" + std::to_string(i) + ".wav"; }

private:
    std::string dir;
};

const Content& content() {
    static const Content files;
    return files;
}

// A loopback system installed as the game's, with the level's sounds.
class Scene {
public:
    explicit Scene(bool loopingEffects) {
        system.initLoopback(200, kFrequency);
        GameManager::setSoundSystem(&system);
        for (int i = 0; i < 2; ++i) {
            music.emplace_back(new Sound(content().music(i), 0.8f, 0.0f));
            music.back()->load(true, true);
        }
        for (int i = 0; i < kEffects; ++i) {
            effects.emplace_back(
                new Sound(content().effect(i), 0.7f, -0.9f + 0.2f * static_cast<float>(i)));
            effects.back()->load(loopingEffects, loopingEffects);
        }
        mix.resize(kFramesPerUpdate * 2);
    }
    ~Scene() {
        music.clear();
        effects.clear();
        GameManager::setSoundSystem(nullptr);
    }

    void startAll() {
        for (auto& sound : music)
            sound->play();
        for (auto& sound : effects)
            sound->play();
    }
    // One game frame's sound work: the manager's update, then the device's
    // share of mix, which the feeder keeps fed as it goes.
    Cost timedFrame() {
        return measure([this] {
            system.update();
            system.render(mix.data(), kFramesPerUpdate);
        });
    }

    SoundSystem system;
    std::vector<std::unique_ptr<Sound>> music;
    std::vector<std::unique_ptr<Sound>> effects;
    std::vector<float> mix;
};

// Steady state: all twelve sounds loop, so every update has the full load.
void BM_UpdateTwoMusicsTenEffects(benchmark::State& state) {
    Scene scene(true);
    scene.startAll();
    for (int i = 0; i < 60; ++i)
        scene.timedFrame();
    for ([[maybe_unused]] auto _ : state)
        state.SetIterationTime(scene.timedFrame().wall);
    state.counters["playing"] = scene.system.getPlayingCount();
    state.counters["underruns"] = static_cast<double>(scene.system.getUnderrunCount());
}
BENCHMARK(BM_UpdateTwoMusicsTenEffects)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Two minutes of play at 60 Hz: both tracks loop; the effects play once and
// are restarted (stop, then play) at game-like random moments.
void BM_TwoMinuteRun(benchmark::State& state) {
    for ([[maybe_unused]] auto _ : state) {
        Scene scene(false);
        scene.startAll();
        std::mt19937 random(7);
        std::uniform_int_distribution<int> gap(20, 70);
        std::vector<int> next(kEffects);
        for (int& frame : next)
            frame = gap(random);
        std::vector<double> times;
        double cpu = 0.0;
        const int updates = 120 * 60;
        int restarts = 0;
        for (int frame = 0; frame < updates; ++frame) {
            for (int i = 0; i < kEffects; ++i) {
                if (frame == next[i]) {
                    scene.effects[static_cast<size_t>(i)]->stop();
                    scene.effects[static_cast<size_t>(i)]->play();
                    next[i] += gap(random);
                    ++restarts;
                }
            }
            const Cost cost = scene.timedFrame();
            times.push_back(cost.wall);
            cpu += cost.cpu;
        }
        double total = 0.0;
        for (double t : times)
            total += t;
        std::sort(times.begin(), times.end());
        state.SetIterationTime(total);
        state.counters["updates"] = updates;
        state.counters["restarts"] = restarts;
        state.counters["underruns"] = static_cast<double>(scene.system.getUnderrunCount());
        state.counters["mean_us"] = total / updates * 1e6;
        state.counters["cpu_mean_us"] = cpu / updates * 1e6;
        state.counters["p99_us"] = times[static_cast<size_t>(updates * 99 / 100)] * 1e6;
        state.counters["max_us"] = times.back() * 1e6;
    }
}
BENCHMARK(BM_TwoMinuteRun)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// Every sound file the game ships, loaded as the game loads it: music and
// the shot spray loop, the other effects play once.
class GameSounds {
public:
    GameSounds() {
        system.initLoopback(200, kFrequency);
        GameManager::setSoundSystem(&system);
        for (const char* folder : {"/Sounds", "/Sound"})
            for (const auto& entry :
                 std::filesystem::directory_iterator(TOLVEK_DATA_DIR + std::string(folder))) {
                const std::string name = entry.path().filename().string();
                if (entry.path().extension() != ".ogg")
                    continue;
                const bool music = name.find("music") == 0;
                const bool loop = music || name == "spray.ogg";
                sounds.emplace_back(new Sound(entry.path().string(), 0.8f, 0.0f));
                sounds.back()->load(loop, loop);
                if (name == "music-ingame-a.ogg")
                    levelMusic = sounds.back().get();
                else if (!music)
                    effects.push_back(sounds.back().get());
            }
    }
    ~GameSounds() {
        sounds.clear();
        GameManager::setSoundSystem(nullptr);
    }

    // One frame of the given length: the update (its cost returned), then
    // that much mix.
    Cost frame(int mixFrames) {
        const Cost cost = measure([this] { system.update(); });
        mix.resize(static_cast<size_t>(mixFrames) * 2);
        system.render(mix.data(), mixFrames);
        return cost;
    }

    SoundSystem system;
    std::vector<std::unique_ptr<Sound>> sounds;
    Sound* levelMusic = nullptr;
    std::vector<Sound*> effects;
    std::vector<float> mix;
};

double percentile(std::vector<double> values, int percent) {
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, values.size() * percent / 100)];
}

// What play() costs the caller: 200 restarts (stop, then play) of random
// game sounds, one every 1 to 6 frames of 60 Hz, as the level and menu do.
// Percentiles of main-thread CPU time, and of wall time.
void BM_PlayCost(benchmark::State& state) {
    for ([[maybe_unused]] auto _ : state) {
        GameSounds game;
        std::mt19937 random(11);
        std::uniform_int_distribution<size_t> pick(0, game.sounds.size() - 1);
        std::uniform_int_distribution<int> gap(1, 6);
        std::vector<double> walls, cpus;
        for (int i = 0; i < 60; ++i)
            game.frame(kFramesPerUpdate);
        for (int play = 0; play < 200; ++play) {
            Sound& sound = *game.sounds[pick(random)];
            sound.stop();
            const Cost cost = measure([&sound] { sound.play(); });
            walls.push_back(cost.wall);
            cpus.push_back(cost.cpu);
            for (int n = gap(random); n > 0; --n)
                game.frame(kFramesPerUpdate);
        }
        double total = 0.0;
        for (double wall : walls)
            total += wall;
        state.SetIterationTime(total);
        state.counters["plays"] = static_cast<double>(walls.size());
        for (int percent : {50, 99, 100}) {
            const std::string name = percent == 100 ? "max" : "p" + std::to_string(percent);
            state.counters[name + "_us"] = percentile(cpus, percent) * 1e6;
            state.counters["wall_" + name + "_us"] = percentile(walls, percent) * 1e6;
        }
    }
}
BENCHMARK(BM_PlayCost)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// Ten seconds of the level at a steady frame period (the argument, in ms),
// after a few frames at that period: its music plays throughout and every
// effect restarts every 0.3 to 1.5 s; exactly one period is mixed between
// updates.
void BM_UnderrunsAtSteadyPeriod(benchmark::State& state) {
    const int periodMs = static_cast<int>(state.range(0));
    for ([[maybe_unused]] auto _ : state) {
        GameSounds game;
        const int mixFrames = kFrequency * periodMs / 1000;
        for (int i = 0; i < 4; ++i)
            game.frame(mixFrames);
        game.levelMusic->play();
        std::mt19937 random(5);
        std::uniform_int_distribution<int> gap(300, 1500);
        std::vector<int> next;
        for (size_t i = 0; i < game.effects.size(); ++i)
            next.push_back(gap(random));
        double wall = 0.0, cpu = 0.0;
        const double processStart = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
        const int updates = 10000 / periodMs;
        for (int frame = 0; frame < updates; ++frame) {
            const int now = frame * periodMs;
            for (size_t i = 0; i < game.effects.size(); ++i) {
                if (now < next[i])
                    continue;
                game.effects[i]->stop();
                game.effects[i]->play();
                next[i] = now + gap(random);
            }
            const Cost cost = game.frame(mixFrames);
            wall += cost.wall;
            cpu += cost.cpu;
        }
        state.SetIterationTime(wall);
        state.counters["updates"] = updates;
        state.counters["underruns"] = static_cast<double>(game.system.getUnderrunCount());
        state.counters["mean_us"] = cpu / updates * 1e6;
        state.counters["wall_mean_us"] = wall / updates * 1e6;
        // Every thread's CPU, the mixing included, per second of audio.
        state.counters["all_cpu_ms_per_s"] =
            (cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - processStart) / (updates * periodMs) * 1e6;
    }
}
BENCHMARK(BM_UnderrunsAtSteadyPeriod)
    ->Arg(16)
    ->Arg(33)
    ->Arg(100)
    ->Arg(140)
    ->Arg(250)
    ->Arg(500)
    ->Arg(1000)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// One late frame (the argument, in ms: a stall of the main thread, say in
// its buffer swap) after a second of steady 60 Hz frames with the level's
// music playing, then another second of steady frames. Also the main-thread
// CPU of the update that follows the stall, which refills what it played.
void BM_UnderrunsAfterLateFrame(benchmark::State& state) {
    const int lateMs = static_cast<int>(state.range(0));
    for ([[maybe_unused]] auto _ : state) {
        GameSounds game;
        for (int i = 0; i < 4; ++i)
            game.frame(kFramesPerUpdate);
        game.levelMusic->play();
        double wall = 0.0, worst = 0.0;
        for (int i = 0; i < 60; ++i)
            wall += game.frame(kFramesPerUpdate).wall;
        wall += game.frame(kFrequency * lateMs / 1000).wall;
        const Cost after = game.frame(kFramesPerUpdate);
        for (int i = 0; i < 59; ++i)
            worst = std::max(worst, game.frame(kFramesPerUpdate).cpu);
        state.SetIterationTime(wall + after.wall);
        state.counters["underruns"] = static_cast<double>(game.system.getUnderrunCount());
        state.counters["after_stall_us"] = after.cpu * 1e6;
        state.counters["later_max_us"] = worst * 1e6;
    }
}
BENCHMARK(BM_UnderrunsAfterLateFrame)
    ->Arg(50)
    ->Arg(100)
    ->Arg(120)
    ->Arg(150)
    ->Arg(200)
    ->Arg(250)
    ->Arg(300)
    ->Arg(400)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(5000)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
