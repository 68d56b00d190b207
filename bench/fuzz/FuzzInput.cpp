#include "FuzzInput.h"

#include <cstdio>
#include <unistd.h>

std::string fuzzInputFile(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/tolvek-fuzz-" + std::to_string(getpid()) + ".ini";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    return path;
}
