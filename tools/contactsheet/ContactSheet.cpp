// Renders every model of the game with its texture and material, one tile each, through the
// game's own scene program, and writes the grid as one PNG: the path given as the only
// argument, or docs/contact-sheet.png. Run from the repository root (the asset paths are
// relative to it) with a display.
#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <FreeImage.h>
#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/AssetPaths.h"
#include "game/Material.h"
#include "render/GlSetup.h"
#include "render/SceneRenderer.h"
#include "render/Shader.h"
#include "render/ShadowMap.h"
#include "render/Texture.h"
#include "scene/Model.h"

namespace {

constexpr int kColumns = 4;
constexpr int kRows = 2;
constexpr int kTileSize = 320;
constexpr int kWidth = kColumns * kTileSize;
constexpr int kHeight = kRows * kTileSize;
constexpr int kSamples = 4;

// One model drawn with one texture and material.
struct Piece {
    const char* model;
    const char* image;
    const Material* material;
    glm::mat4 placement;
    bool transparent;
};

struct Tile {
    std::vector<Piece> pieces;  // in drawing order, see-through ones last
    glm::vec3 target;           // the point the camera looks at
    glm::vec3 eyeOffset;        // camera position relative to target
    glm::vec3 lightOffset;      // light position relative to target
};

glm::mat4 placed(glm::vec3 position, glm::vec3 scale) {
    return glm::scale(glm::translate(glm::mat4(1.0f), position), scale);
}

const glm::mat4 kUnscaled(1.0f);

// The cube model runs from z = 0 to 2 (the level stands it on that face); the sheet shows it
// centred on the origin like the other models.
glm::mat4 centredCube(glm::vec3 centre, glm::vec3 scale) {
    return placed(centre - glm::vec3(0.0f, 0.0f, scale.z), scale);
}
// Faces are seen from +z, where the textures put them.
const glm::vec3 kFaceEye(0.0f, 0.9f, 4.7f);
const glm::vec3 kFaceLight(-3.0f, 3.5f, 3.5f);

Piece ball(const char* image, const Material* material) {
    return {"sphere.dae", image, material, kUnscaled, false};
}

// Reading order, left to right and top to bottom; the test probes tiles by this order. The
// cameras keep every model inside its tile with a margin.
const std::vector<Tile> kTiles = {
    {{{"cube.dae", "wood-2.png", &kWarmMaterial, centredCube({0, 0, 0}, glm::vec3(1.0f)), false}},
     {0, 0, 0},
     {3.6f, 3.0f, 5.3f},
     {2.5f, 6.0f, 4.5f}},
    {{{"duck.dae", "colour.png", &kGreyMaterial, placed({0, 0, 0}, glm::vec3(0.01f)), false}},
     {0.05f, 0.95f, 0},
     {3.1f, 1.8f, 5.3f},
     {1.5f, 5.0f, 5.0f}},
    {{ball("smiling-yellow-2.png", &kWarmMaterial)}, {0, 0, 0}, kFaceEye, kFaceLight},
    {{ball("crying-red.png", &kWarmMaterial)}, {0, 0, 0}, kFaceEye, kFaceLight},
    {{ball("smiling-green.png", &kWarmMaterial)}, {0, 0, 0}, kFaceEye, kFaceLight},
    {{ball("colour.png", &kGreyMaterial)}, {0, 0, 0}, {1.6f, 2.6f, 3.6f}, {0.5f, 5.0f, 4.0f}},
    // Half sunk into a piece of the wooden road, as the level lays puddles out; the light
    // mirrors the camera so the highlight lies on the water.
    {{{"cube.dae", "wood-2.png", &kWarmMaterial, centredCube({0, -0.06f, 0}, {1.25f, 0.06f, 1.25f}),
       false},
      {"sphere.dae", "electbubbles-2.png", &kWarmMaterial, placed({0, 0, 0}, {1, 0.2f, 1}), true}},
     {0, 0, 0},
     {0, 4.3f, 3.9f},
     {0, 4.3f, -3.9f}},
    {{{"cube.dae", "smileTex.png", &kGreyMaterial, centredCube({0, 0, 0}, {15, 15, 0.1f}), false}},
     {0, 0, 0},
     {8, 10, 69},
     {20, 30, 60}},
};

GLint uniform(const Shader& shader, const char* name) {
    return glGetUniformLocation(shader.programHandle, name);
}

void setVec3(const Shader& shader, const char* name, const glm::vec3& value) {
    glUniform3fv(uniform(shader, name), 1, glm::value_ptr(value));
}

// A depth cube map at the far plane everywhere: the scene program then finds every
// fragment lit, so no shadow pass is needed.
GLuint makeUnshadowedCube() {
    GLuint cube = 0;
    glGenTextures(1, &cube);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cube);
    const std::vector<float> far(16 * 16, 1.0f);
    for (int face = 0; face < 6; ++face) {
        glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 0, GL_DEPTH_COMPONENT24, 16, 16, 0,
                     GL_DEPTH_COMPONENT, GL_FLOAT, far.data());
    }
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    return cube;
}

struct Framebuffer {
    GLuint handle = 0;
    GLuint colour = 0;
    GLuint depth = 0;

    ~Framebuffer() {
        glDeleteRenderbuffers(1, &colour);
        glDeleteRenderbuffers(1, &depth);
        glDeleteFramebuffers(1, &handle);
    }
};

bool makeFramebuffer(Framebuffer& target, int samples, bool withDepth) {
    glGenFramebuffers(1, &target.handle);
    glBindFramebuffer(GL_FRAMEBUFFER, target.handle);
    glGenRenderbuffers(1, &target.colour);
    glBindRenderbuffer(GL_RENDERBUFFER, target.colour);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_RGBA8, kWidth, kHeight);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, target.colour);
    if (withDepth) {
        glGenRenderbuffers(1, &target.depth);
        glBindRenderbuffer(GL_RENDERBUFFER, target.depth);
        glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_DEPTH_COMPONENT24, kWidth,
                                         kHeight);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                                  target.depth);
    }
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

using Models = std::map<std::string, std::unique_ptr<scene::Model>>;
using Textures = std::map<std::string, std::unique_ptr<Texture>>;

void drawTile(const Tile& tile, int index, Shader& shader, Models& models, Textures& textures) {
    const int column = index % kColumns;
    const int row = kRows - 1 - index / kColumns;  // GL rows count from the bottom
    glViewport(column * kTileSize, row * kTileSize, kTileSize, kTileSize);

    const glm::vec3 eye = tile.target + tile.eyeOffset;
    const float distance = glm::length(tile.eyeOffset);
    const glm::mat4 view = glm::lookAt(eye, tile.target, glm::vec3(0, 1, 0));
    const glm::mat4 projection =
        glm::perspective(glm::radians(30.0f), 1.0f, distance * 0.05f, distance * 4.0f);
    const glm::mat4 viewProjection = projection * view;
    setViewAndLight(&shader, viewProjection, tile.target + tile.lightOffset);
    setVec3(shader, "viewPos", eye);

    for (const Piece& piece : tile.pieces) {
        glUniformMatrix4fv(uniform(shader, "model"), 1, GL_FALSE, glm::value_ptr(piece.placement));
        applyMaterial(&shader, *piece.material);
        glUniform1f(uniform(shader, "transparency"), piece.transparent ? 1.0f : 0.0f);
        textures.at(piece.image)->bind(0);
        glUniform1i(uniform(shader, "diffuseTexture"), 0);
        models.at(piece.model)->draw();
    }
}

bool writePng(const std::string& path) {
    FIBITMAP* bitmap = FreeImage_Allocate(kWidth, kHeight, 24);
    if (bitmap == nullptr) {
        return false;
    }
    // FreeImage pads 24-bit rows to 4 bytes and keeps them bottom first, as GL packs them.
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, kWidth, kHeight, GL_BGR, GL_UNSIGNED_BYTE, FreeImage_GetBits(bitmap));
    const bool saved = FreeImage_Save(FIF_PNG, bitmap, path.c_str(), PNG_DEFAULT) != 0;
    FreeImage_Unload(bitmap);
    return saved;
}

int render(const std::string& outputPath) {
    Shader shader(assets::shader("omni.vert"), assets::shader("omni.frag"), gameShaderDefines());
    shader.use();

    Models models;
    Textures textures;
    for (const Tile& tile : kTiles) {
        for (const Piece& piece : tile.pieces) {
            auto& model = models[piece.model];
            if (!model) {
                model = std::make_unique<scene::Model>(glm::mat4(1.0f), &shader,
                                                       assets::model(piece.model));
            }
            auto& texture = textures[piece.image];
            if (!texture) {
                texture = std::make_unique<Texture>(assets::image(piece.image));
            }
        }
    }

    Framebuffer multisampled;
    Framebuffer resolved;
    if (!makeFramebuffer(resolved, 0, false) || !makeFramebuffer(multisampled, kSamples, true)) {
        std::fprintf(stderr, "orbquest_contactsheet: cannot create the framebuffers\n");
        return 1;
    }

    const GLuint shadowCube = makeUnshadowedCube();
    glActiveTexture(GL_TEXTURE0 + kShadowTextureUnit);
    glBindTexture(GL_TEXTURE_CUBE_MAP, shadowCube);
    glUniform1i(uniform(shader, "depthCube"), kShadowTextureUnit);
    glUniform1f(uniform(shader, "far_plane"), kShadowFar);

    setFixedGlState(kWidth, kHeight);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    int index = 0;
    for (const Tile& tile : kTiles) {
        drawTile(tile, index++, shader, models, textures);
    }

    glBindFramebuffer(GL_READ_FRAMEBUFFER, multisampled.handle);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, resolved.handle);
    glBlitFramebuffer(0, 0, kWidth, kHeight, 0, 0, kWidth, kHeight, GL_COLOR_BUFFER_BIT,
                      GL_NEAREST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, resolved.handle);
    const bool written = writePng(outputPath);
    glDeleteTextures(1, &shadowCube);
    if (glGetError() != GL_NO_ERROR) {
        std::fprintf(stderr, "orbquest_contactsheet: OpenGL reported an error while drawing\n");
        return 1;
    }
    if (!written) {
        std::fprintf(stderr, "orbquest_contactsheet: cannot write %s\n", outputPath.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2) {
        std::fprintf(stderr, "usage: %s [OUTPUT_PNG]\n", argv[0]);
        return 2;
    }
    const std::string outputPath = argc == 2 ? argv[1] : "docs/contact-sheet.png";

    if (!glfwInit()) {
        std::fprintf(stderr, "orbquest_contactsheet: glfwInit failed (is DISPLAY set?)\n");
        return 1;
    }
    hintGameContext();
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(64, 64, "Orbquest contact sheet", nullptr, nullptr);
    if (window == nullptr) {
        std::fprintf(stderr, "orbquest_contactsheet: no OpenGL 4.3 core context\n");
        glfwTerminate();
        return 1;
    }
    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE;
    int status = 1;
    if (glewInit() != GLEW_OK) {
        std::fprintf(stderr, "orbquest_contactsheet: glewInit failed\n");
    } else {
        // GLEW's start-up can leave a stale error behind; the check after drawing must not see it.
        glGetError();
        status = render(outputPath);
    }
    glfwDestroyWindow(window);
    glfwTerminate();
    return status;
}
