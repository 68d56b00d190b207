#include "replay/DemoRecorder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#ifndef TOLVEK_VERSION
#define TOLVEK_VERSION "unknown"
#endif

namespace {

const unsigned int kMostUnwrittenMs = 1000;

} // namespace

DemoRecorder::DemoRecorder(Snapshot snapshot, Clock clock)
    : snapshot(std::move(snapshot)), clock(clock) {}

// Left open only when the game ends another way: what was written stays.
DemoRecorder::~DemoRecorder() {
    if (file)
        std::fclose(file);
}

bool DemoRecorder::open(const std::string& path, const std::string& contentDigest,
                        const std::string& settings) {
    struct stat status {};
    const bool exists = stat(path.c_str(), &status) == 0;
    if (exists && S_ISDIR(status.st_mode)) {
        failureText = "cannot write: it is a folder";
        return false;
    }
    // A device or a pipe is written as it is: there is nothing to keep whole.
    beside = !exists || S_ISREG(status.st_mode);
    target = path;
    writing = beside ? path + ".part" : path;
    file = std::fopen(writing.c_str(), "wb");
    if (!file) {
        failureText = std::string("cannot write: ") + std::strerror(errno);
        return false;
    }
    if (!write(DemoFormat::header(TOLVEK_VERSION, contentDigest, settings))) {
        discard();
        return false;
    }
    lastWrite = clock();
    return true;
}

bool DemoRecorder::write(const std::string& bytes) {
    if (writeFailed || !file)
        return false;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0)
        return true;
    writeFailed = true;
    failureText = std::string("cannot write: ") + std::strerror(errno);
    return false;
}

void DemoRecorder::discard() {
    if (file)
        std::fclose(file);
    file = nullptr;
    if (beside)
        std::remove(writing.c_str());
}

unsigned int DemoRecorder::tick(unsigned int real) {
    frame.addReading(real);
    return real;
}

void DemoRecorder::eventTaken(const SDL_Event& event) {
    frame.events.push_back(event);
}

void DemoRecorder::soundStarted(const std::string& fileName) {
    sounds.push_back(fileName);
}

bool DemoRecorder::frameEnded() {
    DemoFormat::putFrame(pendingFrames, frame, previousTick);
    frame = DemoFormat::Frame();
    ++pendingCount;
    ++frameCount;
    if (frameCount % DemoFormat::kCheckpointEvery == 0)
        writeBlock(DemoFormat::kFramesBlock, true);
    else if (clock() - lastWrite >= kMostUnwrittenMs)
        writeBlock(DemoFormat::kFramesBlock, false);
    return true;
}

bool DemoRecorder::close() {
    bool closed = !writeFailed;
    // Flushed to the disk before it replaces the old file.
    if (closed && beside && fsync(fileno(file)) != 0) {
        failureText = std::string("cannot write: ") + std::strerror(errno);
        closed = false;
    }
    if (std::fclose(file) != 0 && closed) {
        failureText = std::string("cannot write: ") + std::strerror(errno);
        closed = false;
    }
    file = nullptr;
    return closed;
}

bool DemoRecorder::finish(bool keep) {
    if (!file)
        return false;
    // Readings after the last frame (leaving the screens) are not play.
    frame = DemoFormat::Frame();
    writeBlock(DemoFormat::kEndBlock, true);
    if (writeFailed) {
        close();
        failureText.clear(); // said when it happened
        return false;
    }
    if (!close())
        return false;
    if (!beside)
        return true;
    if (!keep) {
        failureText = "left as it was; this run's recording is in " + writing;
        return false;
    }
    if (std::rename(writing.c_str(), target.c_str()) != 0) {
        failureText = std::string("cannot put the recording in place: ") + std::strerror(errno);
        return false;
    }
    return true;
}

void DemoRecorder::writeBlock(char kind, bool withCheckpoint) {
    std::string frames;
    DemoFormat::putNumber(frames, pendingCount);
    frames += pendingFrames;
    const unsigned long written = frameCount - pendingCount;
    pendingFrames.clear();
    pendingCount = 0;
    std::string checkpoint;
    if (withCheckpoint) {
        checkpoint = snapshot(sounds).encode();
        sounds.clear();
    }
    lastWrite = clock();
    if (!file || writeFailed || write(DemoFormat::block(kind, frames, checkpoint)))
        return;
    const std::string kept = beside ? "; what it holds is in " + writing : "";
    std::fprintf(stderr, "tolvek: %s: %s; the recording stops at frame %lu%s\n", target.c_str(),
                 failureText.c_str(), written, kept.c_str());
}
