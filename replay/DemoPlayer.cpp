#include "replay/DemoPlayer.h"

#include <fstream>
#include <sstream>

namespace {

// Far beyond any play (an hour is a few megabytes), short of exhausting memory.
const std::streamoff kLargestDemo = 256ll << 20;

uint32_t word(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
    return value;
}

bool headerLine(const std::string& bytes, size_t& at, const std::string& key, std::string& value) {
    const size_t end = bytes.find('\n', at);
    if (end == std::string::npos || bytes.compare(at, key.size() + 1, key + " ") != 0)
        return false;
    value = bytes.substr(at + key.size() + 1, end - at - key.size() - 1);
    at = end + 1;
    return true;
}

} // namespace

DemoPlayer::DemoPlayer(DemoRecorder::Snapshot snapshot) : snapshot(std::move(snapshot)) {}

bool DemoPlayer::open(const std::string& path, const std::string& contentDigest) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        openFailure = "cannot be read";
        return false;
    }
    if (in.tellg() > kLargestDemo) {
        openFailure = "too large to be a recorded play";
        return false;
    }
    in.seekg(0);
    std::ostringstream content;
    content << in.rdbuf();
    const std::string bytes = content.str();
    size_t at = 0;
    return readHeader(bytes, at, contentDigest) && readBlocks(bytes, at);
}

bool DemoPlayer::readHeader(const std::string& bytes, size_t& at,
                            const std::string& contentDigest) {
    const std::string magic = std::string(DemoFormat::kMagic) + "\n";
    std::string version, game, digest;
    if (bytes.compare(0, magic.size(), magic) != 0 ||
        !headerLine(bytes, at = magic.size(), "format", version)) {
        openFailure = "not a recorded play";
        return false;
    }
    if (version != std::to_string(DemoFormat::kVersion)) {
        openFailure = "recorded in play format " + version.substr(0, 20) +
                      "; this game reads format " + std::to_string(DemoFormat::kVersion);
        return false;
    }
    if (!headerLine(bytes, at, "game", game) || !headerLine(bytes, at, "content", digest) ||
        bytes.compare(at, 1, "\n") != 0) {
        openFailure = "damaged: its header is incomplete";
        return false;
    }
    if (digest != contentDigest) {
        openFailure = "recorded over other content (content " + digest.substr(0, 16) + ", here " +
                      contentDigest + ")";
        return false;
    }
    ++at;
    return true;
}

bool DemoPlayer::readBlocks(const std::string& bytes, size_t at) {
    while (at < bytes.size() && !ended) {
        const char kind = bytes[at];
        if (kind != DemoFormat::kFramesBlock && kind != DemoFormat::kEndBlock) {
            openFailure = "damaged: no block starts at byte " + std::to_string(at);
            return false;
        }
        // A recording killed mid-write leaves its last block short: that is a cut.
        if (bytes.size() - at < 9 || bytes.size() - at - 9 < word(bytes, at + 1))
            return true;
        const size_t length = word(bytes, at + 1);
        if (DemoFormat::crc32(bytes.data() + at, 5 + length) != word(bytes, at + 5 + length)) {
            openFailure = "damaged: the block at byte " + std::to_string(at) + " fails its check";
            return false;
        }
        if (!readPayload(bytes.substr(at + 5, length), kind == DemoFormat::kEndBlock)) {
            openFailure = "damaged: the block at byte " + std::to_string(at) + " is malformed";
            return false;
        }
        at += 9 + length;
    }
    if (at < bytes.size()) {
        openFailure = "damaged: bytes follow its end record";
        return false;
    }
    return true;
}

bool DemoPlayer::readPayload(const std::string& payload, bool last) {
    size_t at = 0;
    uint64_t count = 0, checkpointLength = 0;
    if (!DemoFormat::getNumber(payload, at, count) || count > payload.size())
        return false;
    for (uint64_t i = 0; i < count; ++i) {
        DemoFormat::Frame frame;
        if (!DemoFormat::getFrame(payload, at, frame, parsedTick))
            return false;
        frames.push_back(std::move(frame));
    }
    if (!DemoFormat::getNumber(payload, at, checkpointLength) ||
        checkpointLength != payload.size() - at)
        return false;
    if (checkpointLength > 0 && !checkpoints[frames.size()].decode(payload.substr(at)))
        return false;
    ended = last;
    return true;
}

unsigned int DemoPlayer::tick(unsigned int real) {
    if (current >= frames.size())
        return echo ? echo->tick(real) : lastTick;
    const std::vector<unsigned int>& ticks = frames[current].ticks;
    if (nextTick < ticks.size())
        lastTick = ticks[nextTick];
    else if (!echo)
        diverge(current + 1, "the clock is read more often than the " +
                                 std::to_string(ticks.size()) + " times recorded");
    ++nextTick;
    return echo ? echo->tick(lastTick) : lastTick;
}

bool DemoPlayer::nextEvent(SDL_Event& event) {
    if (current >= frames.size() || nextEventIndex >= frames[current].events.size())
        return false;
    event = frames[current].events[nextEventIndex++];
    if (echo)
        echo->eventTaken(event);
    return true;
}

void DemoPlayer::soundStarted(const std::string& fileName) {
    sounds.push_back(fileName);
    if (echo)
        echo->soundStarted(fileName);
}

bool DemoPlayer::frameEnded() {
    SDL_Event live;
    // Live keys do not reach the game; closing the window ends the replay.
    while (SDL_PollEvent(&live))
        if (live.type == SDL_QUIT)
            interrupted = true;
    if (echo)
        echo->frameEnded();
    if (current >= frames.size()) {
        stopGame();
        return false;
    }
    const DemoFormat::Frame& frame = frames[current];
    if (!echo && nextTick != frame.ticks.size())
        diverge(current + 1, "the clock is read " + std::to_string(nextTick) + " times, recorded " +
                                 std::to_string(frame.ticks.size()));
    else if (!echo && nextEventIndex != frame.events.size())
        diverge(current + 1, std::to_string(frame.events.size() - nextEventIndex) +
                                 " recorded input events are not taken");
    ++current;
    nextTick = nextEventIndex = 0;
    shoot();
    const auto checkpoint = checkpoints.find(current);
    if (divergence.empty() && checkpoint != checkpoints.end()) {
        const std::string difference = snapshot(sounds).differenceFrom(checkpoint->second);
        sounds.clear();
        if (!difference.empty() && !echo)
            diverge(current, difference);
    }
    if (current >= frames.size() || interrupted)
        stopGame();
    return !stopping;
}

void DemoPlayer::setShots(const std::string& folder, int width, int height, bool onlyThose,
                          Camera camera) {
    this->camera = camera;
    shotFolder = folder;
    shotWidth = width;
    shotHeight = height;
    rasteriseOnlyShots = onlyThose;
    if (onlyThose)
        camera.setRasterising(checkpoints.count(1) > 0 && !folder.empty());
}

// Called once the frame just played is drawn: saves it if it is a
// checkpoint's, and readies the rasteriser for the next one.
void DemoPlayer::shoot() {
    if (!shotFolder.empty() && checkpoints.count(current))
        camera.save(shotFolder + "/frame-" + std::to_string(current) + ".bmp", shotWidth,
                    shotHeight);
    if (rasteriseOnlyShots)
        camera.setRasterising(!shotFolder.empty() && checkpoints.count(current + 1));
}

void DemoPlayer::diverge(unsigned long frame, const std::string& what) {
    if (divergence.empty())
        divergence = "replay diverges at frame " + std::to_string(frame) + ": " + what;
    stopGame();
}

void DemoPlayer::stopGame() {
    stopping = true;
}

DemoPlayer::Outcome DemoPlayer::outcome() const {
    if (!divergence.empty())
        return Outcome::Diverged;
    if (current >= frames.size())
        return ended ? Outcome::Finished : Outcome::Cut;
    return interrupted ? Outcome::Interrupted : Outcome::Playing;
}

std::string DemoPlayer::message() const {
    switch (outcome()) {
    case Outcome::Diverged:
        return divergence;
    case Outcome::Cut:
        return "the recording ends without its end record (cut short?); replayed its " +
               std::to_string(frames.size()) + " frames";
    case Outcome::Playing:
        return "replay diverges at frame " + std::to_string(current) +
               ": the game ended; the recording goes on to frame " + std::to_string(frames.size());
    default:
        return std::string();
    }
}

int DemoPlayer::exitCode() const {
    switch (outcome()) {
    case Outcome::Diverged:
    case Outcome::Playing:
        return 3;
    case Outcome::Cut:
        return 1;
    default:
        return 0;
    }
}
