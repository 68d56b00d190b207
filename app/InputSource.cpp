#include "app/InputSource.h"

#include "app/PlayTap.h"

bool InputSource::reactsTo(const SDL_Event& event) {
    return event.type == SDL_KEYDOWN || event.type == SDL_KEYUP || event.type == SDL_QUIT;
}

bool InputSource::poll(SDL_Event& event) {
    PlayTap* tap = PlayTap::current();
    if (tap && tap->replaying())
        return tap->nextEvent(event);
    while (SDL_PollEvent(&event)) {
        if (!reactsTo(event))
            continue;
        if (tap)
            tap->eventTaken(event);
        return true;
    }
    return false;
}
