#include "replay/DemoRecorder.h"

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

DemoRecorder::~DemoRecorder() {
    if (file)
        std::fclose(file);
}

bool DemoRecorder::open(const std::string& path, const std::string& contentDigest) {
    file = std::fopen(path.c_str(), "wb");
    if (!file) {
        openFailure = std::string("cannot write: ") + std::strerror(errno);
        return false;
    }
    const std::string header = DemoFormat::header(TOLVEK_VERSION, contentDigest);
    std::fwrite(header.data(), 1, header.size(), file);
    std::fflush(file);
    lastWrite = clock();
    return true;
}

unsigned int DemoRecorder::tick(unsigned int real) {
    frame.ticks.push_back(real);
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

void DemoRecorder::finish() {
    if (!file)
        return;
    // Readings after the last frame (leaving the screens) are not play.
    frame = DemoFormat::Frame();
    writeBlock(DemoFormat::kEndBlock, true);
    std::fclose(file);
    file = nullptr;
}

void DemoRecorder::writeBlock(char kind, bool withCheckpoint) {
    if (!file)
        return;
    std::string frames;
    DemoFormat::putNumber(frames, pendingCount);
    frames += pendingFrames;
    std::string checkpoint;
    if (withCheckpoint) {
        checkpoint = snapshot(sounds).encode();
        sounds.clear();
    }
    const std::string block = DemoFormat::block(kind, frames, checkpoint);
    std::fwrite(block.data(), 1, block.size(), file);
    std::fflush(file);
    pendingFrames.clear();
    pendingCount = 0;
    lastWrite = clock();
}
