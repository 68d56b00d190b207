// The part of libsndfile's API the sound layer reads with, for the browser:
// Ogg Vorbis only, which is all the game's sounds are.
#include <sndfile.h>

#include "web/VorbisFile.h"

namespace {

VorbisFile* of(SNDFILE* file) {
    return reinterpret_cast<VorbisFile*>(file);
}

} // namespace

extern "C" SNDFILE* sf_open_virtual(SF_VIRTUAL_IO* io, int mode, SF_INFO* info, void* data) {
    if (!io || !info || mode != SFM_READ)
        return nullptr;
    VorbisFile* file = VorbisFile::open(*io, data);
    if (!file)
        return nullptr;
    file->describe(*info);
    return reinterpret_cast<SNDFILE*>(file);
}

extern "C" sf_count_t sf_readf_float(SNDFILE* file, float* out, sf_count_t frames) {
    return file && out && frames > 0 ? of(file)->read(out, frames) : 0;
}

extern "C" sf_count_t sf_seek(SNDFILE* file, sf_count_t frames, int whence) {
    return file && whence == SEEK_SET ? of(file)->seek(frames) : -1;
}

extern "C" int sf_close(SNDFILE* file) {
    delete of(file);
    return 0;
}
