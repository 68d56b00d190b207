#include "FuzzInput.h"
#include "app/GameCheckpoint.h"
#include "replay/ContentDigest.h"
#include "replay/DemoPlayer.h"

// Reads a recorded play whole, then gives back all it holds as the game would.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string digest = ContentDigest::of(".");
    DemoPlayer player([](const std::vector<std::string>& sounds) {
        return GameCheckpoint::of("none", nullptr, nullptr, sounds);
    });
    if (!player.open(fuzzInputFile(data, size), digest))
        return 0;
    SDL_Event event;
    while (player.outcome() == DemoPlayer::Outcome::Playing) {
        for (int reading = 0; reading < 8; ++reading)
            player.tick(0);
        while (player.nextEvent(event)) {
        }
        player.frameEnded();
    }
    return 0;
}
