// The level file; its layout list and layouts are whatever files it names.
#include "FuzzInput.h"
#include "app/GameState.h"
#include "gameplay/Heros.h"
#include "gameplay/Level.h"
#include "graphics/Collision.h"

namespace {

class Shown : public GameState {
public:
    void handleEvents() override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Shown state;
    Heros hero;
    {
        Level level;
        level.load(fuzzInputFile(data, size).c_str(), &hero, &state);
    }
    Collision::clearCollisions();
    return 0;
}
