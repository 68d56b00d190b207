#pragma once

#include <vector>

class RecordReader;
class Sound;

// A counted list of sounds, each a path then a "volume:" value, as the hero
// file's pools and the level's wave sounds are written.
class SoundListReader {
public:
    // Appends each sound read, loaded as a stream, to out (which then owns
    // it). Stops at the first missing item; the reader tells which. "what"
    // names the items in that failure ("sound", "wave sound").
    static void read(RecordReader& in, const char* what, bool looping, std::vector<Sound*>& out);
};
