#include "support/GlContext.h"

#include <cstdlib>
#include <iostream>

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
    static GLFWwindow* window = createHiddenGlWindow(64, 64);
    return window;
}
