#include "input/InputSource.h"

#include "input/GamePad.h"
#include "replay/PlayTap.h"

namespace {

const Uint8 kFocus = SDL_APPINPUTFOCUS | SDL_APPACTIVE;

bool isKey(const SDL_Event& event) {
    return event.type == SDL_KEYDOWN || event.type == SDL_KEYUP;
}

} // namespace

void InputSource::setWindow(Switcher switcherValue, Settling settlingValue) {
    switcher = std::move(switcherValue);
    settling = std::move(settlingValue);
}

bool InputSource::reactsTo(const SDL_Event& event) {
    return isKey(event) || event.type == SDL_QUIT || GamePad::isPadEvent(event) ||
           (event.type == SDL_ACTIVEEVENT && (event.active.state & kFocus));
}

bool InputSource::switchesWindow(const SDL_Event& event) {
    const SDLKey key = event.key.keysym.sym;
    return event.type == SDL_KEYDOWN &&
           (key == SDLK_F11 ||
            ((key == SDLK_RETURN || key == SDLK_KP_ENTER) && (event.key.keysym.mod & KMOD_ALT)));
}

bool InputSource::take(SDL_Event& event) {
    if (switchesWindow(event)) {
        if (switcher)
            switcher(event.key.keysym);
        return false;
    }
    if (isKey(event) && event.key.keysym.sym == SDLK_F11)
        return false; // its release
    if (GamePad::isPadEvent(event))
        return GamePad::normalize(event);
    if (event.type == SDL_ACTIVEEVENT) {
        event.active.state &= kFocus;
        return !(settling && settling());
    }
    return true;
}

bool InputSource::poll(SDL_Event& event) {
    PlayTap* tap = PlayTap::current();
    if (tap && tap->replaying())
        return tap->nextEvent(event);
    while (SDL_PollEvent(&event)) {
        if (!reactsTo(event) || !take(event))
            continue;
        if (tap)
            tap->eventTaken(event);
        return true;
    }
    return false;
}
