#include "web/VorbisFile.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>

#include <algorithm>

VorbisFile* VorbisFile::open(SF_VIRTUAL_IO& io, void* data) {
    const sf_count_t length = io.get_filelen(data);
    if (length <= 0 || length > 0x7fffffff || io.seek(0, SEEK_SET, data) != 0)
        return nullptr;
    std::string bytes(static_cast<size_t>(length), '\0');
    if (io.read(&bytes[0], length, data) != length)
        return nullptr;
    int error = 0;
    stb_vorbis* decoder =
        stb_vorbis_open_memory(reinterpret_cast<const unsigned char*>(bytes.data()),
                               static_cast<int>(bytes.size()), &error, nullptr);
    if (!decoder)
        return nullptr;
    return new VorbisFile(std::move(bytes), decoder);
}

VorbisFile::VorbisFile(std::string bytes, stb_vorbis* decoder)
    : bytes(std::move(bytes)), decoder(decoder) {
    const stb_vorbis_info info = stb_vorbis_get_info(decoder);
    channels = info.channels;
    rate = static_cast<int>(info.sample_rate);
    frames = stb_vorbis_stream_length_in_samples(decoder);
}

VorbisFile::~VorbisFile() {
    stb_vorbis_close(decoder);
}

long long VorbisFile::read(float* out, long long wanted) {
    long long done = 0;
    while (done < wanted) {
        const long long piece = std::min<long long>(wanted - done, 4096);
        const int got = stb_vorbis_get_samples_float_interleaved(
            decoder, channels, out + done * channels, static_cast<int>(piece * channels));
        if (got <= 0)
            break;
        done += got;
    }
    return done;
}

long long VorbisFile::seek(long long frame) {
    if (frame < 0 || frame > frames)
        return -1;
    const int moved = frame == 0 ? stb_vorbis_seek_start(decoder)
                                 : stb_vorbis_seek(decoder, static_cast<unsigned int>(frame));
    return moved ? frame : -1;
}

void VorbisFile::describe(SF_INFO& info) const {
    info.frames = frames;
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    info.sections = 1;
    info.seekable = 1;
}
