#include "render/GlSetup.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

void hintGameContext() {
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, kGlVersionMajor);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, kGlVersionMinor);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
}

void setFixedGlState(int viewportWidth, int viewportHeight) {
    glClearColor(kClearColour[0], kClearColour[1], kClearColour[2], kClearColour[3]);
    glViewport(0, 0, viewportWidth, viewportHeight);
    glEnable(GL_DEPTH_TEST);
    // OpenGL's defaults do the rest: back faces culled, counter-clockwise faces in front.
    glEnable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // No glShadeModel: it does not exist in a core profile, and smooth interpolation is what
    // the shaders do by default.
}
