#pragma once

class Shader;

// Owns the two shader programs of a frame: the depth program that renders the shadow cube map
// and the lit scene program of the colour pass.
class SceneRenderer {
public:
    Shader* depthShader = nullptr;
    Shader* sceneShader = nullptr;

    SceneRenderer() = default;
    SceneRenderer(const SceneRenderer&) = delete;
    SceneRenderer& operator=(const SceneRenderer&) = delete;

    void init(float deltaTime);
    void release();
};
