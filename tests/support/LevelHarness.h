#pragma once

#include <string>

#include "app/ExitControl.h"
#include "game/LevelLayout.h"
#include "game/SceneCreator.h"
#include "render/Camera.h"
#include "render/SceneRenderer.h"
#include "render/Shader.h"

struct GLFWwindow;

// The real SceneRenderer (both programs, a whole level, the camera and the shadow map) on
// the shared hidden GL context, stepped frame by frame as the main loop steps it. Installs
// itself as the process-wide renderer so the key callback reaches it. Input comes from
// whatever input source the test installed (e.g. FakeInput).
class LevelHarness {
  public:
    explicit LevelHarness(const levels::LevelDescription& level = roadLevel());
    ~LevelHarness();
    LevelHarness(const LevelHarness&) = delete;
    LevelHarness& operator=(const LevelHarness&) = delete;

    SceneRenderer renderer;
    ExitControl exit;

    SceneCreator& level() { return *renderer.sceneCreator; }
    Camera& camera() { return *renderer.camera; }
    Shader& sceneShader() { return *renderer.sceneShader; }
    GLFWwindow* window() const { return window_; }

    // The world part of a frame: "viewPos", the camera, then the level's update.
    void update(float deltaTime);
    // A whole frame: shadow pass, update, colour pass (slower: it draws 1,242 models).
    void frame(float deltaTime);
    // Only the colour pass, e.g. for the win check and the lines it prints.
    void colourPass();
    // The colour pass and what it printed.
    std::string colourPassOutput();

  private:
    GLFWwindow* window_;
};
