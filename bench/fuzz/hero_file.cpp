#include "FuzzInput.h"
#include "gameplay/Heros.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Heros hero;
    hero.load(fuzzInputFile(data, size).c_str());
    return 0;
}
