#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Writes the fuzzer's bytes to a private file the readers can open.
std::string fuzzInputFile(const uint8_t* data, size_t size);
