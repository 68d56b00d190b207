#include "app/TerminationSignal.h"

#include <csignal>
#include <cstdlib>

namespace {

volatile std::sig_atomic_t flag = 0;

void onSignal(int) {
    flag = 1;
}

} // namespace

void TerminationSignal::install() {
    // SDL 1.2 over SDL2 would otherwise turn the signals into a quit event,
    // which the level reads as "leave to the credits".
    setenv("SDL_NO_SIGNAL_HANDLERS", "1", 1);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool TerminationSignal::received() {
    return flag != 0;
}

void TerminationSignal::clear() {
    flag = 0;
}
