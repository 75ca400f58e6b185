#include "app/Application.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <iostream>
#include <vector>

#include "app/CommandLine.h"
#include "app/DebugOutput.h"
#include "app/ExitControl.h"
#include "app/Fatal.h"
#include "app/MainLoop.h"
#include "app/Settings.h"
#include "render/SceneRenderer.h"

namespace {

const char* const kWindowTitle = "[ZEPH] Orbquest";
constexpr int kMultisamples = 4;

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

    GLFWwindow* window = createWindow();
    loadGlEntryPoints(scan.options);
    setFixedGlState();
    glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_DISABLED);

    exitControl = new ExitControl();
    sceneRenderer = new SceneRenderer();
    sceneRenderer->init(deltaTime);
    std::cout << "Welcome to >>Orbquest<<" << std::endl;

    runMainLoop(window, scan.options);

    sceneRenderer->release();
    delete exitControl;
    exitControl = nullptr;
    delete sceneRenderer;
    sceneRenderer = nullptr;
    glfwTerminate();
    return 0;
}
