#include "replay/DemoPlayer.h"

#include <sys/stat.h>

#include <algorithm>
#include <fstream>

namespace {

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

// The frames and checkpoint of a payload from at; false when the bytes end first.
bool skipPayload(const std::string& bytes, size_t& at, int version) {
    uint64_t count = 0, length = 0;
    unsigned int tick = 0;
    DemoFormat::Frame frame;
    if (!DemoFormat::getNumber(bytes, at, count))
        return false;
    for (uint64_t i = 0; i < count; ++i)
        if (!DemoFormat::getFrame(bytes, at, frame, tick, version))
            return false;
    if (!DemoFormat::getNumber(bytes, at, length) || length > bytes.size() - at)
        return false;
    at += length;
    return true;
}

} // namespace

DemoPlayer::DemoPlayer(DemoRecorder::Snapshot snapshot) : snapshot(std::move(snapshot)) {}

bool DemoPlayer::open(const std::string& path, const std::string& contentDigest) {
    struct stat status {};
    const bool found = stat(path.c_str(), &status) == 0;
    // A pipe or a device could give bytes forever, or block the open.
    if (found && !S_ISREG(status.st_mode)) {
        openFailure = "not a file";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!found || !in) {
        openFailure = "cannot be read";
        return false;
    }
    // One byte more than the largest play tells a file that is too large.
    std::string bytes(std::min<size_t>(static_cast<size_t>(status.st_size), kLargestDemo) + 1,
                      '\0');
    in.read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    if (in.bad()) {
        openFailure = "cannot be read";
        return false;
    }
    if (bytes.size() > kLargestDemo) {
        openFailure = "too large to be a recorded play";
        return false;
    }
    mostReadings = DemoFormat::kMostReadingsAByte * bytes.size();
    size_t at = 0;
    return readHeader(bytes, at, contentDigest) && readBlocks(bytes, at);
}

bool DemoPlayer::readHeader(const std::string& bytes, size_t& at,
                            const std::string& contentDigest) {
    const std::string magic = std::string(DemoFormat::kMagic) + "\n";
    std::string format, game, digest;
    if (bytes.compare(0, magic.size(), magic) != 0 ||
        !headerLine(bytes, at = magic.size(), "format", format)) {
        openFailure = "not a recorded play";
        return false;
    }
    version = format == "1" ? 1 : format == "2" ? 2 : 0;
    if (version == 0) {
        openFailure = "recorded in play format " + DemoFormat::printable(format.substr(0, 20)) +
                      "; this game reads formats " + std::to_string(DemoFormat::kOldestVersion) +
                      " to " + std::to_string(DemoFormat::kVersion);
        return false;
    }
    if (!headerLine(bytes, at, "game", game) || !headerLine(bytes, at, "content", digest) ||
        (version >= 2 && !readSettings(bytes, at)) || bytes.compare(at, 1, "\n") != 0) {
        openFailure = "damaged: its header is incomplete";
        return false;
    }
    if (digest != contentDigest) {
        openFailure = "recorded over other content (content " +
                      DemoFormat::printable(digest.substr(0, 16)) + ", here " + contentDigest + ")";
        return false;
    }
    ++at;
    return true;
}

// "settings N", then N bytes of the settings' text.
bool DemoPlayer::readSettings(const std::string& bytes, size_t& at) {
    std::string length;
    if (!headerLine(bytes, at, "settings", length) || length.empty() || length.size() > 5 ||
        length.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const size_t size = std::stoul(length);
    if (size > bytes.size() - at)
        return false;
    recordedSettings = bytes.substr(at, size);
    at += size;
    return true;
}

bool DemoPlayer::readBlocks(const std::string& bytes, size_t at) {
    while (at < bytes.size() && !ended) {
        const char kind = bytes[at];
        const std::string where = "damaged: the block at byte " + std::to_string(at);
        if (kind != DemoFormat::kFramesBlock && kind != DemoFormat::kEndBlock) {
            openFailure = "damaged: no block starts at byte " + std::to_string(at);
            return false;
        }
        if (bytes.size() - at < 9 || bytes.size() - at - 9 < word(bytes, at + 1)) {
            if (isCut(bytes, at))
                return true;
            openFailure = where + " runs past the end of the file";
            return false;
        }
        const size_t length = word(bytes, at + 1);
        if (DemoFormat::crc32(bytes.data() + at, 5 + length) != word(bytes, at + 5 + length)) {
            openFailure = where + " fails its check";
            return false;
        }
        if (!readPayload(bytes, at + 5, at + 5 + length, kind == DemoFormat::kEndBlock)) {
            openFailure = where + " is malformed";
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

// A recording killed mid-write leaves its last block short: its payload ends
// with the file, or its check does. A whole payload and check with bytes to
// spare means the block's length is wrong: damage.
bool DemoPlayer::isCut(const std::string& bytes, size_t at) const {
    size_t end = at + 5;
    return bytes.size() - at < 5 || !skipPayload(bytes, end, version) || bytes.size() - end < 4;
}

bool DemoPlayer::readPayload(const std::string& bytes, size_t at, size_t end, bool last) {
    const std::string payload = bytes.substr(at, end - at);
    size_t from = 0;
    uint64_t count = 0, checkpointLength = 0;
    if (!DemoFormat::getNumber(payload, from, count) || count > payload.size())
        return false;
    DemoFormat::Frame frame;
    for (uint64_t i = 0; i < count; ++i) {
        if (!DemoFormat::getFrame(payload, from, frame, parsedTick, version))
            return false;
        readings += frame.readings();
        if (readings > mostReadings)
            return false;
        frames.push_back(
            {static_cast<uint32_t>(events.size()), static_cast<uint32_t>(frame.events.size()),
             static_cast<uint32_t>(runs.size()), static_cast<uint32_t>(frame.runs.size())});
        events.insert(events.end(), frame.events.begin(), frame.events.end());
        runs.insert(runs.end(), frame.runs.begin(), frame.runs.end());
    }
    if (!DemoFormat::getNumber(payload, from, checkpointLength) ||
        checkpointLength != payload.size() - from)
        return false;
    if (checkpointLength > 0) {
        checkpoints.emplace_back(frames.size(), Checkpoint());
        if (!checkpoints.back().second.decode(payload.substr(from)))
            return false;
    }
    ended = last;
    return true;
}

uint64_t DemoPlayer::readingsOf(const FrameSpan& frame) const {
    uint64_t total = 0;
    for (uint32_t i = 0; i < frame.runCount; ++i)
        total += runs[frame.firstRun + i].count;
    return total;
}

unsigned int DemoPlayer::tick(unsigned int real) {
    if (current >= frames.size())
        return echo ? echo->tick(real) : lastTick;
    const FrameSpan& frame = frames[current];
    if (runAt < frame.runCount) {
        const DemoFormat::Run& run = runs[frame.firstRun + runAt];
        lastTick = run.tick;
        if (++takenOfRun == run.count) {
            ++runAt;
            takenOfRun = 0;
        }
    } else if (!echo) {
        diverge(current + 1, "the clock is read more often than the " +
                                 std::to_string(readingsOf(frame)) + " times recorded");
    }
    ++readingsTaken;
    return echo ? echo->tick(lastTick) : lastTick;
}

bool DemoPlayer::nextEvent(SDL_Event& event) {
    if (current >= frames.size() || nextEventIndex >= frames[current].eventCount)
        return false;
    event = events[frames[current].firstEvent + nextEventIndex++];
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
    if (current >= frames.size())
        return false;
    const FrameSpan& frame = frames[current];
    if (!echo && readingsTaken != readingsOf(frame))
        diverge(current + 1, "the clock is read " + std::to_string(readingsTaken) +
                                 " times, recorded " + std::to_string(readingsOf(frame)));
    else if (!echo && nextEventIndex != frame.eventCount)
        diverge(current + 1, std::to_string(frame.eventCount - nextEventIndex) +
                                 " recorded input events are not taken");
    ++current;
    readingsTaken = runAt = nextEventIndex = 0;
    takenOfRun = 0;
    shoot();
    // The recorder checks twice after a play's last frame when it ends a
    // block there: the second time with no sounds since the first.
    for (; nextCheckpoint < checkpoints.size() && checkpoints[nextCheckpoint].first <= current;
         ++nextCheckpoint) {
        if (!divergence.empty() || checkpoints[nextCheckpoint].first < current)
            continue;
        const std::string difference =
            snapshot(sounds).differenceFrom(checkpoints[nextCheckpoint].second);
        sounds.clear();
        if (!difference.empty() && !echo)
            diverge(current, difference);
    }
    return !stopping && current < frames.size() && !interrupted;
}

bool DemoPlayer::checkpointAt(unsigned long frame) const {
    const auto found = std::lower_bound(
        checkpoints.begin(), checkpoints.end(), frame,
        [](const auto& checkpoint, unsigned long n) { return checkpoint.first < n; });
    return found != checkpoints.end() && found->first == frame;
}

void DemoPlayer::setShots(const std::string& folder, int width, int height, bool onlyThose,
                          Camera camera) {
    this->camera = camera;
    shotFolder = folder;
    shotWidth = width;
    shotHeight = height;
    rasteriseOnlyShots = onlyThose;
    if (onlyThose)
        camera.setRasterising(checkpointAt(1) && !folder.empty());
}

// Called once the frame just played is drawn: saves it if it is a
// checkpoint's, and readies the rasteriser for the next one.
void DemoPlayer::shoot() {
    if (!shotFolder.empty() && checkpointAt(current)) {
        const std::string path = shotFolder + "/frame-" + std::to_string(current) + ".bmp";
        if (!camera.save(path, shotWidth, shotHeight) && shotFailure.empty())
            shotFailure = "cannot write " + path;
    }
    if (rasteriseOnlyShots)
        camera.setRasterising(!shotFolder.empty() && checkpointAt(current + 1));
}

void DemoPlayer::diverge(unsigned long frame, const std::string& what) {
    if (divergence.empty())
        divergence = "replay diverges at frame " + std::to_string(frame) + ": " +
                     DemoFormat::printable(what);
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
    case Outcome::Interrupted:
        return "the replay was interrupted at frame " + std::to_string(current) + " of " +
               std::to_string(frames.size());
    default:
        return shotFailure;
    }
}

int DemoPlayer::exitCode() const {
    switch (outcome()) {
    case Outcome::Diverged:
    case Outcome::Playing:
        return kDiverged;
    case Outcome::Interrupted:
        return kInterrupted;
    case Outcome::Cut:
        return 1;
    default:
        return shotFailure.empty() ? 0 : 1;
    }
}
