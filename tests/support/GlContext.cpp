#include "support/GlContext.h"

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <thread>

#include "render/GlSetup.h"

GLFWwindow* createHiddenGlWindow(int width, int height) {
    if (!glfwInit()) {
        std::cerr << "glfwInit failed (is DISPLAY set?)" << std::endl;
        std::exit(2);
    }
    hintGameContext();
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(width, height, "orbquest-test", nullptr, nullptr);
    if (!window) {
        std::cerr << "no OpenGL 4.3 core context" << std::endl;
        std::exit(2);
    }
    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) {
        std::cerr << "glewInit failed" << std::endl;
        std::exit(2);
    }
    glGetError();
    return window;
}

GLFWwindow* sharedGlContext() {
    static GLFWwindow* const window = [] {
        // Says why, should the display or the context fail to come.
        glfwSetErrorCallback([](int, const char* description) {
            std::cerr << "GLFW: " << description << std::endl;
        });
        // Side by side with many other tests, the display has now and then refused a connection
        // for a moment; the next try got it.
        for (int attempt = 1; attempt < 3 && !glfwInit(); ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
        }
        GLFWwindow* created = createHiddenGlWindow(64, 64);
        // The context goes at exit: the driver keeps some of what a test deleted until then,
        // which the leak checkers would report. GLFW stays, so the driver's code stays loaded.
        std::atexit([] { glfwDestroyWindow(window); });
        return created;
    }();
    return window;
}
