#pragma once

#include <glm/glm.hpp>

#include "render/RenderQuality.h"

class Camera;
class SceneCreator;
namespace levels {
struct LevelDescription;
}
class Shader;
struct GLFWwindow;

// The level's update runs in equal steps of at most 1/60 s, so that the game plays the same
// at any frame rate: a frame of deltaTime seconds takes ceil(deltaTime * 60) steps of
// deltaTime / steps each (one step, deltaTime itself, up to 1/60 s).
constexpr float kLevelStepsPerSecond = 60.0f;
int levelStepCount(float deltaTime);

// Owns the two shader programs, the camera and the level, and runs their part of each frame:
// the shadow pass into the light's cube map, the world update, and the lit colour pass.
class SceneRenderer {
  public:
    Shader* depthShader = nullptr;
    Shader* sceneShader = nullptr;
    Camera* camera = nullptr;
    SceneCreator* sceneCreator = nullptr;
    ShadowQuality shadowQuality = kFullLookShadows;  // the filter the scene shader was built with

    SceneRenderer() = default;
    SceneRenderer(const SceneRenderer&) = delete;
    SceneRenderer& operator=(const SceneRenderer&) = delete;

    // The programs, the camera and the level described.
    void init(float deltaTime, ShadowQuality shadows, const levels::LevelDescription& level);
    // Per frame, with the scene program current: "viewPos", the camera, then the world and its
    // game clock. A paused game is not updated.
    void update(float deltaTime, GLFWwindow* window, Shader* shader);
    // A new game: the level reset in place and the camera as at start-up.
    void restart();
    // A new game on another level: it is built before the current one goes, and keeps the
    // render options the hotkeys switched (culling, its counts, the light marker).
    void switchLevel(float deltaTime, const levels::LevelDescription& level);
    void drawDepth();
    void draw(Shader* shader);
    void release();

    Camera* getCamera() const { return camera; }
    SceneCreator* getSceneCreator() const { return sceneCreator; }
    Shader* getSceneShader() const { return sceneShader; }
};

// The game's two programs, built from their files with the game's shader definitions; the scene
// program with the shadow filter asked for.
Shader* newDepthShader();
Shader* newSceneShader(ShadowQuality shadows = kFullLookShadows);

// What the colour pass takes from the player's settings each frame.
struct ColourPassSettings {
    int viewportWidth;   // pixels from the lower-left corner: the framebuffer's size
    int viewportHeight;  // pixels
    bool transparency;   // the texture's alpha lets the puddles be seen through
};

// The frame's two passes around the world update, as the main loop runs them.
void renderShadowPass(SceneRenderer& renderer);
void renderColourPass(SceneRenderer& renderer, const ColourPassSettings& settings);
// The colour pass of a frame that is not drawn: the same culling counts, win check and console
// lines, without any GL draw work.
void countColourPass(SceneRenderer& renderer);

// The steps of the passes that do not depend on the level, for drawing other objects with the
// same programs and uniforms.
// Makes the depth program current, binds and clears the shadow framebuffer and sets the six
// face matrices, "far_plane" and "lightPos"; the caller draws, then binds framebuffer 0.
void beginShadowPass(Shader* depth, const glm::vec3& lightPosition);
// With the scene program current: viewport, clear, the cube map on its unit as the program's
// shadow filter reads it, "depthCube", "far_plane" and "transparency".
void beginColourPass(Shader* scene, const ColourPassSettings& settings, ShadowQuality shadows);
// "view_proj" and the "light" uniforms.
void setViewAndLight(Shader* scene, const glm::mat4& viewProjection,
                     const glm::vec3& lightPosition);
