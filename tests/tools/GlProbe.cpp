// Builds one GL resource in a fresh context, so the tests can watch the game's fatal paths end
// a process with their message and exit code.
//   orbquest_gl_probe shader VERT FRAG
//   orbquest_gl_probe shader VERT GEOM FRAG
//   orbquest_gl_probe model PATH      (with the scene program built first)
//   orbquest_gl_probe texture PATH
#include <iostream>
#include <memory>
#include <string>

#include "render/SceneRenderer.h"
#include "render/Shader.h"
#include "render/Texture.h"
#include "scene/Model.h"
#include "support/GlContext.h"

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    createHiddenGlWindow(64, 64);
    if (what == "shader" && argc == 4) {
        Shader shader(argv[2], argv[3], gameShaderDefines());
        std::cout << "built program " << shader.programHandle << std::endl;
        return 0;
    }
    if (what == "shader" && argc == 5) {
        Shader shader(argv[2], argv[3], argv[4], gameShaderDefines());
        std::cout << "built program " << shader.programHandle << std::endl;
        return 0;
    }
    if (what == "model" && argc == 3) {
        std::unique_ptr<Shader> shader(newSceneShader());
        scene::Model model(glm::mat4(1.0f), shader.get(), argv[2]);
        std::cout << "loaded " << model.faceCount << " faces" << std::endl;
        return 0;
    }
    if (what == "texture" && argc == 3) {
        Texture texture(argv[2]);
        std::cout << "loaded texture " << texture.textureHandle << std::endl;
        return 0;
    }
    std::cerr << "usage: orbquest_gl_probe shader VERT [GEOM] FRAG | model PATH | texture PATH"
              << std::endl;
    return 2;
}
