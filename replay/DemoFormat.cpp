#include "replay/DemoFormat.h"

#include <zlib.h>

#include <cstdio>

const char* const DemoFormat::kMagic = "tolvek demo";

namespace {

void putWord(std::string& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>((value >> shift) & 0xff);
}

// Deltas between readings are small and may be negative (the tick counter wraps).
uint64_t zigzag(int32_t value) {
    return (static_cast<uint32_t>(value) << 1) ^ (value < 0 ? 0xffffffffu : 0u);
}

int32_t unzigzag(uint64_t value) {
    return static_cast<int32_t>(static_cast<uint32_t>(value >> 1) ^
                                (0u - static_cast<uint32_t>(value & 1)));
}

bool validHat(uint64_t value) {
    for (const Uint8 hat : {SDL_HAT_CENTERED, SDL_HAT_UP, SDL_HAT_RIGHT, SDL_HAT_DOWN, SDL_HAT_LEFT,
                            SDL_HAT_RIGHTUP, SDL_HAT_RIGHTDOWN, SDL_HAT_LEFTUP, SDL_HAT_LEFTDOWN})
        if (value == hat)
            return true;
    return false;
}

// An event's fields after its type byte, as written by putEvent.
void putEvent(std::string& out, const SDL_Event& event) {
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        DemoFormat::putNumber(out, static_cast<uint64_t>(event.key.keysym.sym));
        DemoFormat::putNumber(out, event.key.keysym.scancode);
        break;
    case SDL_ACTIVEEVENT:
        DemoFormat::putNumber(out, event.active.gain);
        DemoFormat::putNumber(out, event.active.state);
        break;
    case SDL_JOYAXISMOTION:
        DemoFormat::putNumber(out, event.jaxis.axis);
        DemoFormat::putNumber(out, zigzag(event.jaxis.value));
        break;
    case SDL_JOYHATMOTION:
        DemoFormat::putNumber(out, event.jhat.hat);
        DemoFormat::putNumber(out, event.jhat.value);
        break;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
        DemoFormat::putNumber(out, event.jbutton.button);
        break;
    default:
        break;
    }
}

// False for an unknown type or a field out of its range: damage.
bool getEvent(const std::string& in, size_t& at, SDL_Event& event, int version) {
    uint64_t a{}, b{};
    const auto one = [&](uint64_t most) { return DemoFormat::getNumber(in, at, a) && a <= most; };
    const auto two = [&](uint64_t most) {
        return one(255) && DemoFormat::getNumber(in, at, b) && b <= most;
    };
    switch (event.type) {
    case SDL_QUIT:
        return true;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (!one(SDLK_LAST - 1))
            return false;
        event.key.keysym.sym = static_cast<SDLKey>(a);
        if (version < 2)
            return true;
        if (!one(255))
            return false;
        event.key.keysym.scancode = static_cast<Uint8>(a);
        return true;
    case SDL_ACTIVEEVENT: // gain 0 or 1; input focus, the window shown, or both
        if (!two(SDL_APPINPUTFOCUS | SDL_APPACTIVE) || a > 1 || b == 0 || (b & SDL_APPMOUSEFOCUS))
            return false;
        event.active.gain = static_cast<Uint8>(a);
        event.active.state = static_cast<Uint8>(b);
        return true;
    case SDL_JOYAXISMOTION:
        if (!two(0xffff))
            return false;
        event.jaxis.axis = static_cast<Uint8>(a);
        event.jaxis.value = static_cast<Sint16>(unzigzag(b));
        return true;
    case SDL_JOYHATMOTION:
        if (!two(255) || !validHat(b))
            return false;
        event.jhat.hat = static_cast<Uint8>(a);
        event.jhat.value = static_cast<Uint8>(b);
        return true;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
        if (!one(255))
            return false;
        event.jbutton.button = static_cast<Uint8>(a);
        event.jbutton.state = event.type == SDL_JOYBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        return true;
    default:
        return false;
    }
}

} // namespace

std::string DemoFormat::header(const std::string& gameVersion, const std::string& contentDigest,
                               const std::string& settings) {
    return std::string(kMagic) + "\nformat " + std::to_string(kVersion) + "\ngame " + gameVersion +
           "\ncontent " + contentDigest + "\nsettings " + std::to_string(settings.size()) + "\n" +
           settings + "\n";
}

std::string DemoFormat::block(char kind, const std::string& frames, const std::string& checkpoint) {
    std::string payload = frames;
    putNumber(payload, checkpoint.size());
    payload += checkpoint;
    std::string out(1, kind);
    putWord(out, static_cast<uint32_t>(payload.size()));
    out += payload;
    putWord(out, crc32(out.data(), out.size()));
    return out;
}

void DemoFormat::putFrame(std::string& out, const Frame& frame, unsigned int& previousTick) {
    putNumber(out, frame.events.size());
    for (const SDL_Event& event : frame.events) {
        out += static_cast<char>(event.type);
        putEvent(out, event);
    }
    putNumber(out, frame.runs.size());
    for (const Run& run : frame.runs) {
        putNumber(out, zigzag(static_cast<int32_t>(run.tick - previousTick)));
        putNumber(out, run.count);
        previousTick = run.tick;
    }
}

void DemoFormat::Frame::addReading(unsigned int tick) {
    if (!runs.empty() && runs.back().tick == tick)
        ++runs.back().count;
    else
        runs.push_back({tick, 1});
}

uint64_t DemoFormat::Frame::readings() const {
    uint64_t total = 0;
    for (const Run& run : runs)
        total += run.count;
    return total;
}

void DemoFormat::putNumber(std::string& out, uint64_t value) {
    while (value >= 0x80) {
        out += static_cast<char>((value & 0x7f) | 0x80);
        value >>= 7;
    }
    out += static_cast<char>(value);
}

bool DemoFormat::getNumber(const std::string& in, size_t& at, uint64_t& value) {
    value = 0;
    // Ten bytes of seven bits hold any 64-bit number.
    for (int count = 0; count < 10 && at < in.size(); ++count) {
        const unsigned char byte = static_cast<unsigned char>(in[at++]);
        value |= static_cast<uint64_t>(byte & 0x7f) << (7 * count);
        if (!(byte & 0x80))
            return true;
    }
    return false;
}

bool DemoFormat::getFrame(const std::string& in, size_t& at, Frame& frame,
                          unsigned int& previousTick, int version) {
    uint64_t count = 0;
    // Every event takes at least a byte, so a count beyond what is left is damage.
    if (!getNumber(in, at, count) || count > in.size() - at)
        return false;
    frame.events.assign(count, SDL_Event());
    for (SDL_Event& event : frame.events) {
        if (at >= in.size())
            return false;
        event.type = static_cast<Uint8>(in[at++]);
        if (!getEvent(in, at, event, version))
            return false;
    }
    uint64_t runs = 0;
    if (!getNumber(in, at, runs) || runs > in.size() - at)
        return false;
    frame.runs.clear();
    uint64_t readings = 0;
    for (uint64_t run = 0; run < runs; ++run) {
        uint64_t delta{}, repeat{};
        // A frame reads the clock a few dozen times; thousands are damage.
        if (!getNumber(in, at, delta) || !getNumber(in, at, repeat) || repeat == 0 ||
            repeat > kMostReadingsAFrame - readings)
            return false;
        readings += repeat;
        previousTick += static_cast<unsigned int>(unzigzag(delta));
        frame.runs.push_back({previousTick, static_cast<unsigned int>(repeat)});
    }
    return true;
}

// Blocks are far smaller than the 4 GB zlib takes in one call.
uint32_t DemoFormat::crc32(const char* data, size_t size) {
    return static_cast<uint32_t>(::crc32(
        ::crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(data), static_cast<uInt>(size)));
}

std::string DemoFormat::printable(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out;
}
