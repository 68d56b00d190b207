#pragma once

#include <SDL/SDL.h>

#include <cstdint>
#include <string>
#include <vector>

// The bytes of a recorded play. A text header, then blocks of frames, each
// closed by a CRC-32 so a damaged file is told apart from a play that
// diverges. The layout is described in HACKING.md.
class DemoFormat {
public:
    // 2 added the settings in force and each key's place on the keyboard.
    static constexpr int kVersion = 2;
    static constexpr int kOldestVersion = 1;
    static constexpr int kCheckpointEvery = 60;
    static constexpr size_t kMostReadingsAFrame = 100000;
    // Readings come in runs of one value, kept as runs: a play's memory grows
    // with its file's bytes. A real play reads the clock a few dozen times a
    // frame, under ten per byte of its file; far more is damage.
    static constexpr uint64_t kMostReadingsAByte = 1024;
    static constexpr char kFramesBlock = 'F';
    static constexpr char kEndBlock = 'E';
    static const char* const kMagic;

    // count readings of the clock in a row that gave tick.
    struct Run {
        unsigned int tick;
        unsigned int count;
    };
    // One frame: the events the game took, then its clock readings.
    struct Frame {
        std::vector<SDL_Event> events;
        std::vector<Run> runs;
        void addReading(unsigned int tick);
        uint64_t readings() const;
    };

    static std::string header(const std::string& gameVersion, const std::string& contentDigest,
                              const std::string& settings);
    // Frames, then the checkpoint text (empty for none), as a closed block.
    static std::string block(char kind, const std::string& frames, const std::string& checkpoint);
    // Appends one frame; previousTick carries the delta coding across frames.
    static void putFrame(std::string& out, const Frame& frame, unsigned int& previousTick);

    static void putNumber(std::string& out, uint64_t value);
    // False when the bytes end inside the number or it is too long.
    static bool getNumber(const std::string& in, size_t& at, uint64_t& value);
    static bool getFrame(const std::string& in, size_t& at, Frame& frame,
                         unsigned int& previousTick, int version = kVersion);
    static uint32_t crc32(const char* data, size_t size);
    // Text from a file, fit for a terminal: control characters as \xNN.
    static std::string printable(const std::string& text);
};
