#include "app/Application.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/DebugOutput.h"
#include "app/ExitControl.h"
#include "app/Fatal.h"
#include "app/FrameCapture.h"
#include "app/Input.h"
#include "app/MainLoop.h"
#include "app/RecordingInput.h"
#include "app/ReplayFile.h"
#include "app/ScriptedInput.h"
#include "app/Settings.h"
#include "render/SceneRenderer.h"
#include "render/ShadowMap.h"

namespace {

const char* const kWindowTitle = "[ZEPH] Orbquest";
constexpr int kMultisamples = 4;
constexpr int kMaxWindowSide = 16384;  // pixels; larger windows fail inside X

const char* const kNeedsOpenGl43 =
    "Orbquest needs an OpenGL 4.3 core profile, which this system did not provide.";

std::string lastGlfwError;  // GLFW's own words for its latest failure

void noteGlfwError(int, const char* description) { lastGlfwError = description; }

// The failure line first, exactly as always, then why and what the game needs.
[[noreturn]] void failToStart(const std::string& failure, const std::string& reason) {
    std::cout << failure << std::endl;
    std::cout << reason << std::endl;
    fatalError(kNeedsOpenGl43);
}

std::string glfwReason() {
    return "GLFW: " + (lastGlfwError.empty() ? std::string("no reason given") : lastGlfwError);
}

GLFWwindow* createWindow() {
    glfwSetErrorCallback(noteGlfwError);
    if (!glfwInit()) {
        failToStart("Failed to initialize GLFW!", glfwReason());
    }
    if (windowWidth < 1 || windowHeight < 1 || windowWidth > kMaxWindowSide ||
        windowHeight > kMaxWindowSide) {
        // GLFW stops the process on an assertion for a negative size, and X on a huge one.
        glfwTerminate();
        std::cout << "Failed to create a window!" << std::endl;
        fatalError("The window size " + std::to_string(windowWidth) + " x " +
                   std::to_string(windowHeight) + " is not within 1 to " +
                   std::to_string(kMaxWindowSide) + " pixels a side.");
    }
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_REFRESH_RATE, refreshRate);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    glfwWindowHint(GLFW_SAMPLES, kMultisamples);

    GLFWmonitor* monitor = fullScreen ? glfwGetPrimaryMonitor() : nullptr;
    GLFWwindow* window = glfwCreateWindow(windowWidth, windowHeight, kWindowTitle, monitor, nullptr);
    if (!window) {
        glfwTerminate();
        failToStart("Failed to create a window!", glfwReason());
    }
    glfwMakeContextCurrent(window);
    return window;
}

void loadGlEntryPoints(const Options& options) {
    glewExperimental = GL_TRUE;
    const GLenum status = glewInit();
    if (status != GLEW_OK) {
        failToStart("Failed to initialize GLEW!",
                    std::string("GLEW: ") +
                        reinterpret_cast<const char*>(glewGetErrorString(status)));
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

void setFixedGlState() {
    glClearColor(0.9f, 0.7f, 0.1f, 1.0f);
    glViewport(0, 0, windowWidth, windowHeight);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // No glShadeModel: it does not exist in a core profile, and smooth interpolation is what
    // the shaders do by default.
}

// The replay or recording asked for, installed as the game's input; refused before any
// window opens when the file is unusable.
std::unique_ptr<InputSource> prepareInput(const Options& options) {
    if (!options.replayPath.empty()) {
        ReplayScript script = loadReplay(options.replayPath);
        if (!script.error.empty()) {
            fatalError("Cannot replay " + options.replayPath + ": " + script.error);
        }
        return std::make_unique<ScriptedInput>(std::move(script.frames));
    }
    if (!options.recordPath.empty()) {
        auto recording = std::make_unique<RecordingInput>();
        std::string error;
        if (!recording->open(options.recordPath, error)) {
            fatalError("Cannot record to " + options.recordPath + ": " + error);
        }
        return recording;
    }
    return nullptr;
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
    std::vector<const char*> positional;
    for (const std::string& arg : scan.positional) {
        positional.push_back(arg.c_str());
    }
    parseCommandLine(static_cast<int>(positional.size()), positional.data());
    const std::string& screenshotPath = scan.options.screenshotPath;
    if (!screenshotPath.empty() && !canWriteFile(screenshotPath)) {
        fatalError("Cannot write the screenshot file " + screenshotPath);
    }
    const std::unique_ptr<InputSource> scriptedOrRecorded = prepareInput(scan.options);
    input::install(scriptedOrRecorded.get());

    GLFWwindow* window = createWindow();
    loadGlEntryPoints(scan.options);
    setFixedGlState();
    glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_DISABLED);

    exitControl = new ExitControl();
    const bool emptyFrames = scan.options.emptyFrames;
    if (!emptyFrames) {
        sceneRenderer = new SceneRenderer();
        sceneRenderer->init(deltaTime);
        createShadowFramebuffer();
    }
    std::cout << "Welcome to >>Orbquest<<" << std::endl;

    FrameCapture capture;
    runMainLoop(window, scan.options, screenshotPath.empty() ? nullptr : &capture);

    int exitCode = 0;
    std::string error;
    if (!screenshotPath.empty() && !capture.save(screenshotPath, error)) {
        std::cout << "Failed to write the screenshot " << screenshotPath << ": " << error
                  << std::endl;
        exitCode = 1;
    }

    if (!emptyFrames) {
        deleteShadowFramebuffer();
        sceneRenderer->release();
    }
    delete exitControl;
    exitControl = nullptr;
    delete sceneRenderer;
    sceneRenderer = nullptr;
    glfwTerminate();
    input::install(nullptr);
    return exitCode;
}
