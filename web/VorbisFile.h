#pragma once

#include <sndfile.h>
#include <string>

struct stb_vorbis;

// One Ogg Vorbis stream decoded from memory with stb_vorbis: what the
// browser build reads sounds with in libsndfile's place.
class VorbisFile {
public:
    // Reads every byte through io; null when they are no Ogg Vorbis.
    static VorbisFile* open(SF_VIRTUAL_IO& io, void* data);
    ~VorbisFile();
    VorbisFile(const VorbisFile&) = delete;
    VorbisFile& operator=(const VorbisFile&) = delete;

    // Interleaved frames; fewer than asked only at the end.
    long long read(float* out, long long frames);
    // The new position, or -1.
    long long seek(long long frame);
    void describe(SF_INFO& info) const;

private:
    VorbisFile(std::string bytes, stb_vorbis* decoder);

    std::string bytes; // stb_vorbis reads them in place
    stb_vorbis* decoder;
    int channels;
    int rate;
    long long frames;
};
