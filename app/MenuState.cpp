#include "app/MenuState.h"

#include <SDL/SDL.h>

#include "app/GameClock.h"
#include "app/GameManager.h"
#include "app/OptionsScreen.h"
#include "audio/Sound.h"
#include "content/RecordReader.h"
#include "graphics/BitmapPicture.h"
#include "graphics/Graphic.h"
#include "input/GamePad.h"
#include "input/InputSource.h"
#include "scene/GameObject.h"

namespace {

// The Options hint's top, from the window's bottom: under the items' box,
// above the key legend the background bears.
const int kHintBottom = 128;

} // namespace

MenuState::~MenuState() {
    for (BitmapPicture* picture : {item0Selected, item0, item1Selected, item1, background}) {
        if (picture) {
            picture->unloadTexture();
            delete picture;
        }
    }
    delete menuObject;
    delete menuGraphic;
    delete music;
    delete moveSound;
    delete validateSound;
}

BitmapPicture* MenuState::getItemPicture(int item, bool selected) const {
    if (item == 0)
        return selected ? item0Selected : item0;
    return selected ? item1Selected : item1;
}

BitmapPicture* MenuState::itemPicture(const std::string& path, int x, int y) {
    BitmapPicture* picture = new BitmapPicture("", GraphicProperties(), nullptr, 0);
    picture->getProperties().setPosition(static_cast<float>(x), static_cast<float>(y));
    picture->setFileName(path);
    picture->loadTexture();
    picture->getProperties().setDepth(1.0f);
    return picture;
}

Sound* MenuState::menuSound(const std::string& path, bool isMusic) {
    Sound* sound = new Sound();
    sound->setFileName(path);
    sound->load(isMusic, isMusic);
    if (isMusic)
        sound->setGroup(SoundGroup::Music);
    return sound;
}

bool MenuState::load(GameState* first, GameState* second, const char* fileName) {
    item0State = first;
    item1State = second;
    menuGraphic = new Graphic();

    RecordReader in(fileName);
    in.line("the title line");
    const std::string backgroundPath = in.line("the background image path");
    const int bx = in.intField("the background x");
    const int by = in.intField("the background y");
    in.skipRestOfLine();
    const int x0 = in.intField("item 0's x");
    const int y0 = in.intField("item 0's y");
    in.skipRestOfLine();
    const std::string path0Selected = in.line("item 0's selected image");
    in.line("the separator after item 0's selected image");
    const std::string path0 = in.line("item 0's image");
    in.line("the separator after item 0's image");
    const int x1 = in.intField("item 1's x");
    const int y1 = in.intField("item 1's y");
    in.skipRestOfLine();
    const std::string path1Selected = in.line("item 1's selected image");
    in.line("the separator after item 1's selected image");
    const std::string path1 = in.line("item 1's image");
    in.line("the separator after item 1's image");
    const std::string musicPath = in.textField("the menu music");
    const std::string movePath = in.textField("the selection sound");
    const std::string validatePath = in.textField("the validation sound");
    validateDelay = in.intField("the validation delay");
    if (in.failed()) {
        loadFailure = std::string(fileName) + ": " + in.failure();
        return false;
    }

    background = new BitmapPicture(backgroundPath, GraphicProperties(), nullptr, 0);
    background->loadTexture();
    background->getProperties().setDepth(0.0f);
    background->getProperties().setPosition(static_cast<float>(bx), static_cast<float>(by));
    item0Selected = itemPicture(path0Selected, x0, y0);
    item0 = itemPicture(path0, x0, y0);
    item1Selected = itemPicture(path1Selected, x1, y1);
    item1 = itemPicture(path1, x1, y1);
    music = menuSound(musicPath, true);
    moveSound = menuSound(movePath, false);
    validateSound = menuSound(validatePath, false);
    selection = 0;

    menuGraphic->addPicture(item0Selected);
    menuGraphic->addPicture(item1);
    menuGraphic->addPicture(background);
    menuObject = new GameObject();
    menuObject->setGraphic(menuGraphic);
    menuObject->setVisible(true, this);
    return true;
}

void MenuState::enter() {
    if (music)
        music->play();
    validated = false;
    validateStart = 0;
}

void MenuState::leave() {
    if (music)
        music->stop();
    if (validateSound)
        validateSound->stop();
}

void MenuState::refreshSelection() {
    if (selection < 0)
        selection = 1;
    else if (selection > 1)
        selection = 0;
    if (!menuGraphic)
        return;
    for (BitmapPicture* picture : {item0Selected, item0, item1Selected, item1})
        if (picture)
            menuGraphic->removePicture(picture);
    if (moveSound) {
        moveSound->stop();
        moveSound->play();
    }
    BitmapPicture* first = selection == 0 ? item0Selected : item0;
    BitmapPicture* second = selection == 0 ? item1 : item1Selected;
    if (first)
        menuGraphic->addPicture(first);
    if (second)
        menuGraphic->addPicture(second);
}

void MenuState::handleEvents() {
    SDL_Event event;
    while (InputSource::poll(event)) {
        const bool optionsOpen = options && options->isOpen();
        if (event.type == SDL_QUIT)
            GameManager::getInstance()->stop();
        else if ((event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) && optionsOpen)
            options->handleKey(event.key.keysym, event.type == SDL_KEYDOWN);
        else if (event.type == SDL_KEYDOWN)
            handleKey(event.key.keysym.sym);
        else if (GamePad::isPadEvent(event))
            for (const GamePad::Press& press : GamePad::translate(event))
                handlePress(press);
    }
}

// The pad's Start and A validate, its D-pad and stick move, Y opens the Options.
void MenuState::handlePress(const GamePad::Press& press) {
    if (options && options->isOpen()) {
        options->handleButton(press.button, press.down);
        return;
    }
    if (!press.down)
        return;
    handleKey(press.button == OptionsScreen::kOpenButton ? OptionsScreen::kOpenKey
              : press.control == GamePad::Start || press.control == GamePad::Jump ? SDLK_RETURN
              : press.control == GamePad::Up                                      ? SDLK_UP
              : press.control == GamePad::Down                                    ? SDLK_DOWN
                                                                                  : SDLK_UNKNOWN);
}

void MenuState::handleKey(int key) {
    switch (key) {
    case SDLK_RETURN:
        validated = true;
        break;
    case OptionsScreen::kOpenKey:
        if (options && !validated)
            options->open();
        break;
    case SDLK_UP:
        selection -= 1;
        refreshSelection();
        break;
    case SDLK_DOWN:
        selection += 1;
        refreshSelection();
        break;
    default:
        break;
    }
}

void MenuState::update() {
    if (validated) {
        const unsigned int now = GameClock::now();
        if (validateStart == 0) {
            validateStart = now;
            if (validateSound)
                validateSound->play();
        } else if (static_cast<long long>(static_cast<int>(validateStart)) + validateDelay <
                   static_cast<long long>(static_cast<int>(now))) {
            GameManager::getInstance()->changeState(selection == 0 ? item0State : item1State);
        }
    }
    GameState::update();
    if (options) {
        options->drawHint(GameManager::getInstance()->getWidth() / 2,
                          GameManager::getInstance()->getHeight() - kHintBottom);
        options->draw();
    }
}
