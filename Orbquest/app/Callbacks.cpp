#include "app/Callbacks.h"

#include <GL/glew.h>

#include <iostream>

#include "app/Input.h"
#include "app/Settings.h"
#include "render/SceneRenderer.h"
#include "render/Shader.h"

namespace {

bool isDown(GLFWwindow* window, int key) { return input::getKey(window, key) != GLFW_RELEASE; }

void printHelp() {
    std::cout << std::endl;
    std::cout << "F1 - Help: " << std::endl;
    std::cout << "F2 - Frame Time: On / Off" << std::endl;
    std::cout << "F3 - Wire Frame: On / Off" << std::endl;
    std::cout << "F4 - Textur-Sampling-Quality: Nearest Neighbor / Bilinear" << std::endl;
    std::cout << "F5 - Mip Mapping-Quality: Off / Nearest Neighbor / Linear" << std::endl;
    std::cout << "F6 - Camera: Free Movable / Off / Standard" << std::endl;
    std::cout << "F7 - Culling-Info: Number of objects culled/drawn" << std::endl;
    std::cout << "F8 - Viewfrustum-Culling: On / Off " << std::endl;
    std::cout << "F9 - Transparency On / Off" << std::endl;
}

void toggleFrameTime() {
    showFrameTime = !showFrameTime;
    std::cout << std::endl;
}

void toggleWireframe() {
    wireframe = !wireframe;
    std::cout << std::endl;
    if (wireframe) {
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        std::cout << "Wireframe: On" << std::endl;
    } else {
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        std::cout << "Wireframe: Off" << std::endl;
    }
}

void toggleTransparency() {
    std::cout << std::endl;
    transparencyEnabled = !transparencyEnabled;
    std::cout << (transparencyEnabled ? "Transparency: On" : "Transparency: Off") << std::endl;
    // Reaches whichever program is current; the colour pass sends the value again every frame.
    const GLint location =
        glGetUniformLocation(sceneRenderer->sceneShader->programHandle, "transparency");
    glUniform1f(location, transparencyEnabled ? 1.0f : 0.0f);
}

}  // namespace

void keyCallback(GLFWwindow* window, int, int, int, int) {
    if (isDown(window, GLFW_KEY_F1)) {
        printHelp();
    }
    if (isDown(window, GLFW_KEY_F2)) {
        toggleFrameTime();
    }
    if (isDown(window, GLFW_KEY_F3)) {
        toggleWireframe();
    }
    if (isDown(window, GLFW_KEY_F9)) {
        toggleTransparency();
    }
}

void framebufferSizeCallback(GLFWwindow*, int width, int height) {
    glViewport(0, 0, width, height);
}
