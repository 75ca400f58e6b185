#include "app/Application.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/AssetLocation.h"
#include "input/AutopilotInput.h"
#include "app/CommandLine.h"
#include "app/DebugOutput.h"
#include "app/ExitControl.h"
#include "base/AtomicFile.h"
#include "base/ConsoleText.h"
#include "base/Fatal.h"
#include "app/FrameCapture.h"
#include "app/FrameStats.h"
#include "app/GameFlow.h"
#include "input/Input.h"
#include "input/Pad.h"
#include "app/MainLoop.h"
#include "input/RecordingInput.h"
#include "input/ReplayFile.h"
#include "app/ScreenshotKey.h"
#include "input/ScriptedInput.h"
#include "app/Settings.h"
#include "app/Version.h"
#include "audio/GameAudio.h"
#include "base/AtomicFile.h"
#include "game/Autopilot.h"
#include "game/LevelCatalog.h"
#include "game/SceneCreator.h"
#include "hud/Hud.h"
#include "records/BestTimeRecord.h"
#include "render/Camera.h"
#include "render/GlSetup.h"
#include "render/SceneRenderer.h"
#include "render/ShadowMap.h"
#include "levels/LevelSet.h"
#include "settings/SettingsFile.h"

namespace {

const char* const kWindowTitle = "[ZEPH] Orbquest";

const char* const kNeedsOpenGl43 =
    "Orbquest needs an OpenGL 4.3 core profile, which this system did not provide.";

std::string lastGlfwError;  // GLFW's own words for its latest failure

void noteGlfwError(int, const char* description) {
    lastGlfwError = description;
}

// The failure line first, exactly as always, then why and what the game needs.
[[noreturn]] void failToStart(const std::string& failure, const std::string& reason) {
    std::cout << failure << std::endl;
    std::cout << reason << std::endl;
    fatalError(kNeedsOpenGl43);
}

std::string glfwReason() {
    return "GLFW: " + (lastGlfwError.empty() ? std::string("no reason given") : lastGlfwError);
}

// GLFW, with the window size checked before any window is asked for, and the gamepads watched.
void initGlfw() {
    glfwSetErrorCallback(noteGlfwError);
    if (!glfwInit()) {
        failToStart("Failed to initialize GLFW!", glfwReason());
    }
    const std::string configs = configFolder();
    loadGamepadMappings(configs.empty() ? "" : configs + "/gamecontrollerdb.txt");
    announceGamepads();
    if (windowWidth < 1 || windowHeight < 1 || windowWidth > kMaxWindowSide ||
        windowHeight > kMaxWindowSide) {
        // GLFW stops the process on an assertion for a negative size, and X on a huge one.
        glfwTerminate();
        std::cout << "Failed to create a window!" << std::endl;
        fatalError("The window size " + std::to_string(windowWidth) + " x " +
                   std::to_string(windowHeight) + " is not within 1 to " +
                   std::to_string(kMaxWindowSide) + " pixels a side.");
    }
}

// The game's window with its context current. A hidden one is always a window on the desktop:
// GLFW shows a full-screen window as it makes it.
GLFWwindow* createWindow(int samples, bool visible) {
    hintGameContext();
    glfwWindowHint(GLFW_REFRESH_RATE, refreshRate);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    glfwWindowHint(GLFW_SAMPLES, samples);
    glfwWindowHint(GLFW_VISIBLE, visible ? GLFW_TRUE : GLFW_FALSE);

    GLFWmonitor* monitor = fullScreen && visible ? glfwGetPrimaryMonitor() : nullptr;
    GLFWwindow* window =
        glfwCreateWindow(windowWidth, windowHeight, kWindowTitle, monitor, nullptr);
    if (!window) {
        glfwTerminate();
        failToStart("Failed to create a window!", glfwReason());
    }
    glfwMakeContextCurrent(window);
    return window;
}

// The renderer as the quality choice sees it: the context's GL_RENDERER, or the name in
// ORBQUEST_GL_RENDERER where that is set (so tests can stand in for any driver).
std::string rendererName() {
    if (const char* standIn = std::getenv("ORBQUEST_GL_RENDERER")) {
        return standIn;
    }
    const GLubyte* name = glGetString(GL_RENDERER);
    return name ? reinterpret_cast<const char*>(name) : "";
}

// Without a sample count from the player, the first window is made hidden with the full look's
// and the renderer decides: a GPU keeps that window, exactly as it always drew, while a
// software renderer gets a window without multisampling before anything shows or loads.
GLFWwindow* createWindowFor(const QualityChoice& choice, RenderQuality& quality) {
    if (choice.samples) {
        GLFWwindow* window = createWindow(*choice.samples, true);
        quality = chooseRenderQuality(rendererName(), choice);
        return window;
    }
    GLFWwindow* window = createWindow(kFullLookSamples, false);
    quality = chooseRenderQuality(rendererName(), choice);
    if (quality.samples == kFullLookSamples && !fullScreen) {
        glfwShowWindow(window);
        return window;
    }
    glfwDestroyWindow(window);
    return createWindow(quality.samples, true);
}

void loadGlEntryPoints(const Options& options) {
    glewExperimental = GL_TRUE;
    const GLenum status = glewInit();
    if (status != GLEW_OK) {
        failToStart(
            "Failed to initialize GLEW!",
            std::string("GLEW: ") + reinterpret_cast<const char*>(glewGetErrorString(status)));
    }
    glGetError();  // the loader may leave an error behind
    if (!glewIsSupported("GL_VERSION_4_3")) {
        std::cout << "OpenGL 4.3 is not supported on this system!" << std::endl;
    }
    if (options.glDebug) {
        // Without GL_DEBUG_OUTPUT a context that was not created for debugging stays silent.
        glEnable(GL_DEBUG_OUTPUT);
        installDebugOutput();
    }
}

// The game's input as the options ask for it: live play (on a fixed frame time, if asked) or
// a replay, with the autopilot flying on top when asked, and a recording on top of that.
struct InputChain {
    std::unique_ptr<InputSource> source;
    std::unique_ptr<AutopilotInput> autopilot;
    std::unique_ptr<RecordingInput> recording;

    InputSource* top() const {
        if (recording) {
            return recording.get();
        }
        return autopilot ? static_cast<InputSource*>(autopilot.get()) : source.get();
    }
};

// Refuses an unusable replay file before any window opens.
ReplayScript loadReplayScript(const Options& options) {
    ReplayScript script;
    if (!options.replayPath.empty()) {
        script = loadReplay(options.replayPath);
        if (!script.error.empty()) {
            fatalError("Cannot replay " + options.replayPath + ": " + script.error);
        }
    }
    return script;
}

// The level the options and the replay ask for (the road when neither does), refused before any
// window opens when it cannot be played or is not the replay's.
levels::LevelDescription chooseLevel(const Options& options, const ReplayScript& replay) {
    const std::string replayLevel =
        replay.level.empty() && !options.replayPath.empty() ? levels::kRoadName : replay.level;
    const std::string wanted = !options.level.empty() ? options.level
                               : !replayLevel.empty() ? replayLevel
                                                      : levels::kRoadName;
    if (options.level.empty() && levels::levelSetIndex(wanted) < 0) {
        fatalError("Cannot replay " + options.replayPath + ": its level \"" + printable(wanted) +
                   "\" is not one of the set (--level FILE plays a level file's replays)");
    }
    levels::LevelRead read = findLevel(wanted);
    if (!read.error.empty()) {
        fatalError(read.error);
    }
    if (!replayLevel.empty() && read.level.name != replayLevel) {
        fatalError("Cannot replay " + options.replayPath + ": it is of the level \"" +
                   printable(replayLevel) + "\", not of \"" + read.level.name + "\"");
    }
    return std::move(read.level);
}

// The input the options ask for: live play (on a fixed frame time, if asked) or the replay,
// with the autopilot flying on top when asked, and a recording on top of that, whose file is
// refused before any window opens when it cannot be written.
InputChain prepareInput(const Options& options, ReplayScript script) {
    InputChain chain;
    if (!options.replayPath.empty()) {
        chain.source = std::make_unique<ScriptedInput>(std::move(script.frames));
    } else {
        chain.source = std::make_unique<LiveInput>(options.frameTime);
    }
    if (options.autopilot) {
        chain.autopilot = std::make_unique<AutopilotInput>(*chain.source);
    }
    if (!options.recordPath.empty()) {
        // Only checked here: the file is begun once the game has started.
        std::string error;
        if (!canWriteFileAt(options.recordPath, error)) {
            fatalError("Cannot record to " + options.recordPath + ": " + error);
        }
        chain.recording = std::make_unique<RecordingInput>(*chain.top());
    }
    return chain;
}

// One line after an autopilot run: how far it got, and in how long.
void reportAutopilot(const AutopilotInput& autopilot, const SceneCreator& level) {
    const long done = std::count(level.targetDone.begin(), level.targetDone.end(), true);
    std::cout << "Autopilot: " << done << " of " << level.targetDone.size() << " targets in "
              << autopilot.framesFlown() << " frames, " << autopilot.timeFlown()
              << " s of game time" << std::endl;
}

// Moves to the folder holding the assets when the game was started elsewhere; paths the player
// typed keep naming what they named where the game was started. Returns that start folder.
std::string moveToAssets(Options& options, const char* argv0) {
    std::error_code error;
    const std::string start = std::filesystem::current_path(error).string();
    const AssetSearch search = findAssets(start, executableFolder(argv0));
    if (search.found.empty()) {
        fatalError(assetSearchFailure(search));
    }
    if (search.found == search.searched.front()) {
        return start;
    }
    for (std::string* path :
         {&options.screenshotPath, &options.recordPath, &options.replayPath,
          &options.frameStatsPath, &options.audioOutPath, &options.exportLevelPath}) {
        *path = resolveAgainst(start, *path);
    }
    if (levels::levelSetIndex(options.level) < 0) {
        options.level = resolveAgainst(start, options.level);
    }
    std::filesystem::current_path(search.found, error);
    if (error) {
        fatalError("Cannot change to the folder " + search.found + ": " + error.message());
    }
    return start;
}

// Everything the game holds from start-up to shut-down.
struct Game {
    Options options;
    GameSettings settings;           // the settings file's, with the command line's instead
    levels::LevelDescription level;  // the one the game starts on
    std::unique_ptr<ScreenshotKey> screenshots;
    InputChain input;
    std::optional<input::ScopedInstall> installedInput;  // goes before the sources it points to
    GLFWwindow* window = nullptr;
    std::unique_ptr<FrameStats> stats;  // its queries go before the context does
    FrameCapture capture;
    std::unique_ptr<GameAudio> audio;
    std::unique_ptr<BestTimeRecord> records;
    std::unique_ptr<Hud> hud;  // its GL objects go before the context does
    std::unique_ptr<GameFlow> flow;
    RenderQuality quality;  // what the window and the scene shader draw with
};

// The sound files are read and the sound file to write is checked before the window opens;
// --empty-frames has no level to hear.
void startSound(Game& game) {
    const Options& options = game.options;
    if (options.emptyFrames) {
        return;
    }
    AudioSettings settings;
    settings.muted = game.settings.mute;
    settings.volume = game.settings.volume;
    settings.outputPath = options.audioOutPath;
    game.audio = std::make_unique<GameAudio>(settings);
    gameAudio = game.audio.get();
}

// What the settings choose of the quality, where the command line chose nothing.
QualityChoice qualityChoice(const GameSettings& settings) {
    QualityChoice choice;
    if (settings.samples >= 0) {
        choice.samples = settings.samples;
    }
    ShadowQuality shadows = kFullLookShadows;
    if (shadowQualityNamed(settings.shadowQuality, shadows)) {
        choice.shadows = shadows;
    }
    return choice;
}

// The settings fill the globals and the options; the files the game will write are checked
// before anything opens, and paths move with the game to its assets.
void readCommandLine(Game& game, const OptionScan& scan, const GameSettings& settings,
                     const char* argv0) {
    game.settings = settings;
    windowWidth = settings.windowWidth;
    windowHeight = settings.windowHeight;
    fullScreen = settings.fullScreen;
    input::setPadDeadZone(settings.padDeadZone);
    game.options = scan.options;
    game.options.quality = qualityChoice(settings);
    game.screenshots = std::make_unique<ScreenshotKey>(moveToAssets(game.options, argv0));
    const Options& options = game.options;
    std::string ignored;
    if (!options.screenshotPath.empty() && !canWriteFileAt(options.screenshotPath, ignored)) {
        fatalError("Cannot write the screenshot file " + options.screenshotPath);
    }
    if (!options.frameStatsPath.empty() && !canWriteFileAt(options.frameStatsPath, ignored)) {
        fatalError("Cannot write the frame statistics file " + options.frameStatsPath);
    }
}

// The window, its GL context and state.
void openWindow(Game& game) {
    initGlfw();
    game.window = createWindowFor(game.options.quality, game.quality);
    if (!game.quality.announcement.empty()) {
        std::cout << game.quality.announcement << std::endl;
    }
    loadGlEntryPoints(game.options);
    int width = 0;
    int height = 0;
    glfwGetFramebufferSize(game.window, &width, &height);
    setFixedGlState(width, height);
    glfwSetInputMode(game.window, GLFW_CURSOR, GLFW_CURSOR_DISABLED);
}

// The files the game writes as it runs, begun once nothing in the start-up can end the process
// any more: a start that fails leaves the files named as they were and no temporary behind
// (the sound file, begun with the sound, is removed by the sound's own failure).
void beginOutputs(Game& game) {
    const Options& options = game.options;
    std::string error;
    if (!options.frameStatsPath.empty()) {
        game.stats = std::make_unique<FrameStats>();
        if (!game.stats->open(options.frameStatsPath, error)) {
            game.audio.reset();
            fatalError("Cannot write the frame statistics file " + options.frameStatsPath + ": " +
                       error);
        }
    }
    const std::string level = game.level.name == levels::kRoadName ? "" : game.level.name;
    if (game.input.recording && !game.input.recording->open(options.recordPath, error, level)) {
        game.stats.reset();
        game.audio.reset();
        fatalError("Cannot record to " + options.recordPath + ": " + error);
    }
}

// The records, the display (without it when no font can be found) and the flow of games
// around the level.
void createGameFlow(Game& game) {
    game.records = std::make_unique<BestTimeRecord>(recordsFilePath());
    game.records->load();
    game.hud = std::make_unique<Hud>();
    std::string error;
    if (!game.hud->init(error)) {
        std::cout << "On-screen display off: " << error << std::endl;
        game.hud.reset();
    } else {
        game.hud->visible = game.settings.hud;
    }
    game.flow =
        std::make_unique<GameFlow>(game.records.get(), game.input.autopilot.get(), game.hud.get(),
                                   game.options.replayPath.empty(), game.level);
    gameFlow = game.flow.get();
}

// The long-lived objects the key callback reaches, and the whole level.
void createLevel(Game& game) {
    exitControl = new ExitControl();
    screenshotKey = game.screenshots.get();
    if (game.options.emptyFrames) {
        return;
    }
    sceneRenderer = new SceneRenderer();
    sceneRenderer->init(deltaTime, game.quality.shadows, game.level);
    Camera& camera = *sceneRenderer->camera;
    camera.sensitivity = kCameraTurnPerPixel * game.settings.mouseSensitivity;
    camera.invertY = game.settings.invertY;
    camera.padTurnSpeed = game.settings.padCameraSpeed;
    createShadowFramebuffer();
    if (game.audio) {
        game.audio->start(*sceneRenderer->sceneCreator);
    }
    if (game.input.autopilot) {
        game.input.autopilot->attach(
            autopilotFlyingBy(*sceneRenderer->sceneCreator, *sceneRenderer->camera));
    }
    createGameFlow(game);
}

void startUp(Game& game, ReplayScript replay) {
    game.input = prepareInput(game.options, std::move(replay));
    game.installedInput.emplace(*game.input.top());
    startSound(game);
    openWindow(game);
    createLevel(game);
    beginOutputs(game);
    std::cout << "Welcome to >>Orbquest<<" << std::endl;
    if (game.level.name != levels::kRoadName) {
        std::cout << levelLine(game.level) << std::endl;
    }
}

void run(Game& game) {
    const bool keepsPicture = !game.options.screenshotPath.empty();
    runMainLoop(game.window, game.options, keepsPicture ? &game.capture : nullptr,
                game.stats.get());
    if (game.input.autopilot && game.input.autopilot->driving()) {
        reportAutopilot(*game.input.autopilot, *sceneRenderer->sceneCreator);
    }
}

// Puts every file the command line asked for in place; 1 if any could not be written, each
// with a line naming it and why.
int finishOutputs(Game& game) {
    int exitCode = 0;
    const Options& options = game.options;
    auto report = [&](const std::string& what, const std::string& path, const std::string& why) {
        std::cout << "Failed to write the " << what << " " << path << ": " << why << std::endl;
        exitCode = 1;
    };
    std::string error;
    if (game.input.recording && !game.input.recording->finish(error)) {
        report("recording", options.recordPath, error);
    }
    if (!options.screenshotPath.empty() && !game.capture.save(options.screenshotPath, error)) {
        report("screenshot", options.screenshotPath, error);
    }
    if (game.audio && !game.audio->finish(error)) {
        report("sound file", options.audioOutPath, error);
    }
    if (game.stats && !game.stats->finish(error)) {
        report("frame statistics file", options.frameStatsPath, error);
    }
    game.stats.reset();  // its queries go before the context does
    return exitCode;
}

// Returns the exit code: 1 if a file asked for could not be written.
int shutDown(Game& game) {
    const int exitCode = finishOutputs(game);
    gameAudio = nullptr;
    game.audio.reset();
    gameFlow = nullptr;
    game.flow.reset();
    game.hud.reset();
    if (sceneRenderer) {
        deleteShadowFramebuffer();
        sceneRenderer->release();
    }
    delete exitControl;
    exitControl = nullptr;
    screenshotKey = nullptr;
    delete sceneRenderer;
    sceneRenderer = nullptr;
    glfwTerminate();
    return exitCode;
}

// --save-settings: the settings the game would start with, in the file, and nothing else.
int saveSettingsFile(const std::string& path, const GameSettings& settings) {
    if (path.empty()) {
        std::cout << "Settings not saved: neither XDG_CONFIG_HOME nor HOME names a folder"
                  << std::endl;
        return 1;
    }
    std::string error;
    if (!saveSettings(path, settings, error)) {
        std::cout << "Settings not saved to " << path << ": " << error << std::endl;
        return 1;
    }
    std::cout << "Settings saved to " << path << std::endl;
    return 0;
}

// --export-level: the level chosen, as a level file, and nothing else.
int exportLevel(const std::string& path, const levels::LevelDescription& level) {
    std::string error;
    if (!replaceFileAtomically(path, levels::formatLevel(level), error)) {
        std::cout << "Level not written: " << error << std::endl;
        return 1;
    }
    std::cout << "Level " << level.name << " written to " << path << std::endl;
    return 0;
}

}  // namespace

int runOrbquest(int argc, const char* const* argv) {
    const OptionScan scan = extractOptions(argc, argv);
    if (!scan.error.empty()) {
        fatalError(scan.error);
    }
    if (scan.options.help) {
        std::cout << usageText() << std::flush;
        return 0;
    }
    if (scan.options.version) {
        std::cout << versionText() << std::endl;
        return 0;
    }
    const std::string settingsPath = settingsFilePath();
    const SettingsRead file = loadSettings(settingsPath);
    for (const std::string& problem : file.problems) {
        std::cout << problem << std::endl;
    }
    const GameSettings settings = applyCommandLine(scan, file.settings);
    if (scan.options.saveSettings) {
        return saveSettingsFile(settingsPath, settings);
    }
    Game game;
    readCommandLine(game, scan, settings, argv[0]);
    ReplayScript replay = loadReplayScript(game.options);
    game.level = chooseLevel(game.options, replay);
    if (!game.options.exportLevelPath.empty()) {
        return exportLevel(game.options.exportLevelPath, game.level);
    }
    startUp(game, std::move(replay));
    run(game);
    return shutDown(game);
}
