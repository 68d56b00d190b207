#include "FuzzInput.h"
#include "app/MenuState.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MenuState menu;
    menu.load(nullptr, nullptr, fuzzInputFile(data, size).c_str());
    return 0;
}
