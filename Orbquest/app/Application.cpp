#include "app/Application.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <malloc.h>

#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <vector>

#include "app/CommandLine.h"
#include "app/DebugOutput.h"
#include "app/ExitControl.h"
#include "app/Fatal.h"
#include "app/FrameCapture.h"
#include "app/FrameStats.h"
#include "app/Input.h"
#include "app/MainLoop.h"
#include "app/RecordingInput.h"
#include "app/ScriptedInput.h"
#include "app/Settings.h"
#include "render/SceneRenderer.h"
#include "render/ShadowMap.h"

namespace {

const char* const kWindowTitle = "[ZEPH] Orbquest";
constexpr int kMultisamples = 4;

// The software renderer allocates and frees vertex buffers of up to a few megabytes for every
// draw. By default the C library hands such memory back to the system on free, and the next
// draw faults it in again page by page (a tenth of a frame on llvmpipe); kept in the heap, the
// same memory serves every draw.
constexpr int kLargestHeapRequest = 32 * 1024 * 1024;  // bytes; glibc's ceiling for it
constexpr int kFreeHeapKept = 64 * 1024 * 1024;        // bytes at the heap's top not returned

void keepFreedMemoryForReuse() {
    mallopt(M_MMAP_THRESHOLD, kLargestHeapRequest);
    mallopt(M_TRIM_THRESHOLD, kFreeHeapKept);
}

GLFWwindow* createWindow() {
    if (!glfwInit()) {
        fatalError("Failed to initialize GLFW!");
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
        fatalError("Failed to create a window!");
    }
    glfwMakeContextCurrent(window);
    return window;
}

void loadGlEntryPoints(const Options& options) {
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) {
        fatalError("Failed to initialize GLEW!");
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
        std::ifstream file(options.replayPath);
        if (!file) {
            fatalError("Cannot replay " + options.replayPath + ": the file cannot be read");
        }
        std::ostringstream text;
        text << file.rdbuf();
        ReplayScript script = parseReplay(text.str());
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
    keepFreedMemoryForReuse();
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
    const std::string& frameStatsPath = scan.options.frameStatsPath;
    if (!frameStatsPath.empty() && !canWriteFile(frameStatsPath)) {
        fatalError("Cannot write the frame statistics file " + frameStatsPath);
    }
    const std::unique_ptr<InputSource> scriptedOrRecorded = prepareInput(scan.options);
    input::install(scriptedOrRecorded.get());

    GLFWwindow* window = createWindow();
    loadGlEntryPoints(scan.options);
    setFixedGlState();
    glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_DISABLED);
    std::unique_ptr<FrameStats> stats;  // its queries go before the context does
    if (!frameStatsPath.empty()) {
        stats = std::make_unique<FrameStats>();
        std::string error;
        if (!stats->open(frameStatsPath, error)) {
            fatalError("Cannot write the frame statistics file " + frameStatsPath + ": " + error);
        }
    }

    exitControl = new ExitControl();
    const bool emptyFrames = scan.options.emptyFrames;
    if (!emptyFrames) {
        sceneRenderer = new SceneRenderer();
        sceneRenderer->init(deltaTime);
        createShadowFramebuffer();
    }
    std::cout << "Welcome to >>Orbquest<<" << std::endl;

    FrameCapture capture;
    runMainLoop(window, scan.options, screenshotPath.empty() ? nullptr : &capture, stats.get());
    stats.reset();

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
