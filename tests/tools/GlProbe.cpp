// Builds one GL resource in a fresh context, so the tests can watch the game's fatal paths end
// a process with their message and exit code.
//   orbquest_gl_probe shader VERT FRAG
//   orbquest_gl_probe shader VERT GEOM FRAG
#include <iostream>
#include <string>

#include "render/Shader.h"
#include "support/GlContext.h"

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    createHiddenGlWindow(64, 64);
    if (what == "shader" && argc == 4) {
        Shader shader(argv[2], argv[3]);
        std::cout << "built program " << shader.programHandle << std::endl;
        return 0;
    }
    if (what == "shader" && argc == 5) {
        Shader shader(argv[2], argv[3], argv[4]);
        std::cout << "built program " << shader.programHandle << std::endl;
        return 0;
    }
    std::cerr << "usage: orbquest_gl_probe shader VERT [GEOM] FRAG" << std::endl;
    return 2;
}
