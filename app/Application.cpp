#include "app/Application.h"

#include <SDL/SDL.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/CommandLine.h"
#include "app/CreditsState.h"
#include "app/GameCheckpoint.h"
#include "app/GameClock.h"
#include "app/GameManager.h"
#include "app/LevelState.h"
#include "app/LoaderXML.h"
#include "app/MenuState.h"
#include "app/OptionsScreen.h"
#include "app/TerminationSignal.h"
#include "app/TransitionState.h"
#include "audio/SoundSystem.h"
#include "graphics/FrameShot.h"
#include "graphics/Rectangle.h"
#include "input/GamePad.h"
#include "input/InputSource.h"
#include "replay/ContentDigest.h"
#include "replay/DemoPlayer.h"
#include "replay/DemoRecorder.h"
#include "settings/PlayerSettings.h"
#include "settings/SettingsFile.h"

namespace {

const char* const kViewportFile = "Levels/Viewport.xml";
const char* const kMenuFile = "Levels/Menu.ini";
const unsigned int kVideoFlags = 0x80000001; // full screen, hardware surface

int refuse(const std::string& message) {
    std::fprintf(stderr, "tolvek: %s\n", message.c_str());
    return 1;
}

void keepInBackBuffer() {}

// Why no picture can be written into the folder, or "" (none asked for, or it takes them).
std::string unwritableFolder(const std::string& folder) {
    if (folder.empty())
        return "";
    std::string probe = folder + "/.tolvek-XXXXXX";
    const int descriptor = mkstemp(&probe[0]);
    if (descriptor < 0)
        return std::strerror(errno);
    close(descriptor);
    unlink(probe.c_str());
    return "";
}

} // namespace

Application::Application() : player(snapshot()), recorder(snapshot(), GameClock::realNow) {}

DemoRecorder::Snapshot Application::snapshot() {
    return [this](const std::vector<std::string>& sounds) {
        return GameCheckpoint::of(screenName(), menuState, levelState, sounds, optionsScreen);
    };
}

Application::~Application() {
    delete optionsScreen;
    delete playerSettings;
    delete transitionState;
    delete menuState;
    delete levelState;
    delete creditsState;
}

int Application::start(const CommandLine& options) {
    if (open(options))
        GameManager::getInstance()->run(menuState);
    return close();
}

GameState* Application::firstScreen() const {
    return menuState;
}

bool Application::refused(int code) {
    exitCode = code;
    return false;
}

bool Application::open(const CommandLine& given) {
    options = given;
    const std::string digest = ContentDigest::of(".");
    const bool replaying = !options.replayFile.empty(), recording = !options.recordFile.empty();
    if (replaying && !player.open(options.replayFile, digest))
        return refused(refuse(options.replayFile + ": " + player.failure()));
    // A replay plays with the settings it was recorded with and keeps none.
    if (replaying) {
        Settings recorded;
        recorded.readText(player.settings());
        playerSettings = new PlayerSettings(recorded);
    } else {
        playerSettings = new PlayerSettings(
            options.settingsFile.empty() ? SettingsFile::defaultPath() : options.settingsFile);
    }
    const std::string unwritable = unwritableFolder(options.shotsFolder);
    if (!unwritable.empty())
        return refused(
            refuse(options.shotsFolder + ": cannot write pictures there: " + unwritable));
    if (recording && !recorder.open(options.recordFile, digest, playerSettings->current().text()))
        return refused(refuse(options.recordFile + ": " + recorder.failure()));
    if (replaying && recording)
        player.echoTo(&recorder);
    PlayTap::install(replaying ? static_cast<PlayTap*>(&player) : recording ? &recorder : nullptr);
    tapInstalled = true;
    started = GameClock::realNow();
    exitCode = play(options, replaying ? &player : nullptr);
    return exitCode == 0;
}

int Application::close() {
    if (!tapInstalled)
        return exitCode;
    tapInstalled = false;
    const bool replaying = !options.replayFile.empty(), recording = !options.recordFile.empty();
    int code = exitCode;
    PlayTap::install(nullptr);
    const bool played = code == 0;
    if (TerminationSignal::received())
        player.interrupt();
    if (replaying && played)
        code = report(options.replayFile, player, (GameClock::realNow() - started) / 1000.0,
                      options.fast);
    if (recording && !played)
        recorder.discard();
    // A re-recording takes the old file's place only when its replay reached the end.
    if (recording && played &&
        !recorder.finish(!replaying || player.outcome() == DemoPlayer::Outcome::Finished)) {
        if (!recorder.failure().empty())
            refuse(options.recordFile + ": " + recorder.failure());
        code = code == 0 ? 1 : code;
    }
    return code;
}

// The screens all answer "GameState" by class name, so they are told apart here.
std::string Application::screenName() const {
    const GameState* current = GameManager::getInstance()->getCurrentState();
    return current == menuState         ? "MenuState"
           : current == levelState      ? "LevelState"
           : current == creditsState    ? "CreditsState"
           : current == transitionState ? "TransitionState"
                                        : "none";
}

int Application::report(const std::string& replayFile, const DemoPlayer& player, double seconds,
                        bool fast) const {
    if (fast)
        std::printf("%lu frames in %.2f s (%.1f fps)\n", player.framesPlayed(), seconds,
                    seconds > 0 ? static_cast<double>(player.framesPlayed()) / seconds : 0.0);
    if (!player.message().empty())
        refuse(replayFile + ": " + player.message());
    return player.exitCode();
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

void Application::applyVolumes(int music, int effects) {
    if (SoundSystem* sound = GameManager::getSoundSystem()) {
        sound->setGroupVolume(SoundGroup::Music, static_cast<float>(music) / Settings::kMostVolume);
        sound->setGroupVolume(SoundGroup::Effects,
                              static_cast<float>(effects) / Settings::kMostVolume);
    }
}

// The window's mode is kept once a switch has worked, however it was asked for.
bool Application::switchWindow() {
    if (!GameManager::getInstance()->switchWindow())
        return false;
    Settings changed = playerSettings->current();
    changed.fullscreen = GameManager::getInstance()->isFullScreen();
    playerSettings->commit(changed);
    return true;
}

void Application::openOptions() {
    OptionsScreen::Hooks hooks;
    hooks.apply = [this](const Settings& now) { applyVolumes(now.musicVolume, now.effectsVolume); };
    hooks.switchWindow = [this] { return switchWindow(); };
    optionsScreen = new OptionsScreen(playerSettings, hooks, width, height);
    optionsScreen->load();
    menuState->setOptions(optionsScreen);
    levelState->setSettings(playerSettings, optionsScreen);
    InputSource::setWindow(
        [this](const SDL_keysym& key) {
            switchWindow();
            optionsScreen->refuse(key);
        },
        [] { return GameManager::getInstance()->isWindowSettling(); });
}

int Application::play(const CommandLine& options, DemoPlayer* player) {
    std::string refusal = readViewport();
    if (!refusal.empty())
        return refuse(refusal);
    GameManager::getInstance()->setSilent(options.fast);
    GameManager::getInstance()->setPaced(!options.fast);
    const Settings& kept = playerSettings->current();
    const unsigned int flags =
        options.window || !kept.fullscreen ? kVideoFlags & ~SDL_FULLSCREEN : kVideoFlags;
    if (!GameManager::getInstance()->init(viewportX, viewportY, width, height, 32, 60, flags,
                                          "VELM Tolvek"))
        return refuse("cannot open an OpenGL window: " + GameManager::getInstance()->failure());
    // A fast replay shows nothing anyway; a play nobody can see is refused.
    if (!options.fast && !GameManager::getInstance()->showsPictures())
        return refuse("no display to show the game on (is DISPLAY set?)");
    const auto given = [](int option, int kept) {
        return option == CommandLine::kFromSettings ? kept : option;
    };
    applyVolumes(given(options.musicVolume, kept.musicVolume),
                 given(options.effectsVolume, kept.effectsVolume));
    GamePad::open();
    refusal = loadScreens();
    if (!refusal.empty())
        return refuse(refusal);
    openOptions();
    if (player) {
        // A fast replay shows nothing: its frames stay in the back buffer.
        if (options.fast)
            GameManager::setPresenter(keepInBackBuffer);
        player->setShots(options.shotsFolder, width, height, options.fast,
                         {FrameShot::save, FrameShot::setRasterising});
    }
    SDL_ShowCursor(SDL_DISABLE);
    return 0;
}
