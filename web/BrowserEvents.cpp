#include "web/BrowserEvents.h"

#include <algorithm>

#include "web/BrowserKeyboard.h"
#include "web/BrowserPad.h"
#include "web/BrowserVideo.h"

namespace {

// Keys the browser still acts on as well: reloading and its developer tools.
// Every other key the table knows is the game's alone, so arrows and space
// never scroll the page and F11 is not the browser's own full screen.
bool browserKeeps(SDLKey sym) {
    return sym == SDLK_F5 || sym == SDLK_F12;
}

} // namespace

std::deque<SDL_Event> BrowserEvents::queue;
std::vector<SDL_keysym> BrowserEvents::held;

void BrowserEvents::install() {
    if (installed)
        return;
    installed = true;
    const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(window, nullptr, EM_TRUE, onKey);
    emscripten_set_keyup_callback(window, nullptr, EM_TRUE, onKey);
    // Not capturing: the window's own focus only, not that of its elements.
    emscripten_set_blur_callback(window, nullptr, EM_FALSE, onFocus);
    emscripten_set_focus_callback(window, nullptr, EM_FALSE, onFocus);
    emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, onVisibility);
}

bool BrowserEvents::poll(SDL_Event* event) {
    BrowserPad::update();
    if (queue.empty())
        return false;
    if (event) {
        *event = queue.front();
        queue.pop_front();
    }
    return true;
}

void BrowserEvents::push(const SDL_Event& event) {
    queue.push_back(event);
}

void BrowserEvents::clear() {
    queue.clear();
    held.clear();
    modifiers = KMOD_NONE;
}

EM_BOOL BrowserEvents::onKey(int type, const EmscriptenKeyboardEvent* key, void*) {
    SDL_keysym keysym{};
    if (!BrowserKeyboard::lookUp(key->code, keysym))
        return EM_FALSE;
    const EM_BOOL ours = browserKeeps(keysym.sym) ? EM_FALSE : EM_TRUE;
    const bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
    // SDL 1.2 sends no repeats, nor a press of a key held or a release of one
    // not held.
    if (key->repeat || down == isHeld(keysym))
        return ours;
    const SDLMod bit = BrowserKeyboard::modifierOf(keysym.sym);
    // From the keys themselves, as SDL keeps it: the browser's flags do not
    // tell the left key from the right one.
    modifiers = down ? modifiers | bit : modifiers & ~bit;
    keysym.mod = static_cast<SDLMod>(modifiers);
    if (down)
        held.push_back(keysym);
    else
        held.erase(std::find_if(held.begin(), held.end(),
                                [&](const SDL_keysym& k) { return k.sym == keysym.sym; }));
    pushKey(down ? SDL_KEYDOWN : SDL_KEYUP, keysym);
    if (down)
        BrowserVideo::keyPressed(keysym);
    return ours;
}

EM_BOOL BrowserEvents::onFocus(int type, const EmscriptenFocusEvent*, void*) {
    const bool gained = type == EMSCRIPTEN_EVENT_FOCUS;
    if (!gained)
        releaseAll();
    active(gained ? 1 : 0, SDL_APPINPUTFOCUS);
    return EM_FALSE;
}

EM_BOOL BrowserEvents::onVisibility(int, const EmscriptenVisibilityChangeEvent* change, void*) {
    if (change->hidden)
        releaseAll();
    active(change->hidden ? 0 : 1, SDL_APPACTIVE);
    return EM_FALSE;
}

void BrowserEvents::pushKey(Uint8 type, const SDL_keysym& keysym) {
    SDL_Event event{};
    event.type = type;
    event.key.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym = keysym;
    push(event);
}

// Keys held when the page loses the keyboard are let go at once, as SDL
// does when its window loses focus: modifiers last, as there.
void BrowserEvents::releaseAll() {
    const std::vector<SDL_keysym> letGo = held;
    held.clear();
    for (const bool modifierKeys : {false, true})
        for (SDL_keysym keysym : letGo) {
            const SDLMod bit = BrowserKeyboard::modifierOf(keysym.sym);
            if ((bit != KMOD_NONE) != modifierKeys)
                continue;
            modifiers &= ~bit;
            keysym.mod = static_cast<SDLMod>(modifiers);
            pushKey(SDL_KEYUP, keysym);
        }
    modifiers = KMOD_NONE;
}

// As SDL 1.2: an event only for a change of state.
void BrowserEvents::active(Uint8 gain, Uint8 state) {
    const Uint8 now = gain ? appState | state : appState & ~state;
    if (now == appState)
        return;
    appState = now;
    SDL_Event event{};
    event.type = SDL_ACTIVEEVENT;
    event.active.type = SDL_ACTIVEEVENT;
    event.active.gain = gain;
    event.active.state = state;
    push(event);
}

bool BrowserEvents::isHeld(const SDL_keysym& keysym) {
    return std::any_of(held.begin(), held.end(),
                       [&](const SDL_keysym& k) { return k.sym == keysym.sym; });
}
