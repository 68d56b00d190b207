#include "app/Application.h"

#include <SDL/SDL.h>
#include <cstdio>
#include <string>

#include "app/CreditsState.h"
#include "app/GameManager.h"
#include "app/LevelState.h"
#include "app/LoaderXML.h"
#include "app/MenuState.h"
#include "app/TransitionState.h"
#include "graphics/Rectangle.h"

namespace {

const char* const kViewportFile = "Levels/Viewport.xml";
const char* const kMenuFile = "Levels/Menu.ini";
const unsigned int kVideoFlags = 0x80000001; // full screen, hardware surface

int refuse(const std::string& message) {
    std::fprintf(stderr, "tolvek: %s\n", message.c_str());
    return 1;
}

} // namespace

Application::~Application() {
    delete transitionState;
    delete menuState;
    delete levelState;
    delete creditsState;
}

std::string Application::readViewport() {
    Position corner(0.0f, 0.0f);
    LoaderXML loader;
    Rectangle* viewport = loader.load(kViewportFile);
    if (!viewport)
        return std::string(kViewportFile) + ": missing, not XML, or no non-zero width and height";
    viewport->getBounds(corner, width, height);
    delete viewport;
    viewportX = static_cast<int>(corner.getX());
    viewportY = static_cast<int>(corner.getY());
    return "";
}

std::string Application::loadScreens() {
    transitionState = new TransitionState();
    menuState = new MenuState();
    levelState = new LevelState();
    creditsState = new CreditsState();
    transitionState->setNextState(levelState);
    if (!menuState->load(levelState, creditsState, kMenuFile))
        return menuState->failure();
    if (!levelState->init(creditsState))
        return levelState->failure();
    return "";
}

int Application::start() {
    std::string refusal = readViewport();
    if (!refusal.empty())
        return refuse(refusal);
    GameManager::getInstance()->init(viewportX, viewportY, width, height, 32, 60, kVideoFlags,
                                     "VELM Tolvek");
    refusal = loadScreens();
    if (!refusal.empty())
        return refuse(refusal);
    SDL_ShowCursor(SDL_DISABLE);
    GameManager::getInstance()->run(menuState);
    return 0;
}
