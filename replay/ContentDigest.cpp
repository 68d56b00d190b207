#include "replay/ContentDigest.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace fs = std::filesystem;

namespace {

// 64-bit FNV-1a: not a defence against forgery, only against a changed file.
void mix(uint64_t& hash, const char* data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        hash ^= static_cast<unsigned char>(data[i]);
        hash *= 0x100000001b3ull;
    }
}

} // namespace

std::string ContentDigest::of(const std::string& dataDir) {
    std::vector<fs::path> files;
    for (const char* folder : {"Levels", "Images"}) {
        std::error_code error;
        for (fs::recursive_directory_iterator it(fs::path(dataDir) / folder, error), end;
             !error && it != end; it.increment(error))
            if (it->is_regular_file(error))
                files.push_back(it->path().lexically_relative(dataDir));
    }
    std::sort(files.begin(), files.end());
    uint64_t hash = 0xcbf29ce484222325ull;
    for (const fs::path& file : files) {
        const std::string name = file.generic_string();
        mix(hash, name.c_str(), name.size() + 1);
        std::ifstream in(fs::path(dataDir) / file, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        mix(hash, bytes.data(), bytes.size());
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, hash);
    return text;
}
