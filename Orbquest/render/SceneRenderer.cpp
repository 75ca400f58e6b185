#include "render/SceneRenderer.h"

#include "render/Shader.h"

namespace {

const char* const kDepthVertexPath = "Orbquest/Scene/Shader/depthC.vert";
const char* const kDepthGeometryPath = "Orbquest/Scene/Shader/depthC.geom";
const char* const kDepthFragmentPath = "Orbquest/Scene/Shader/depthC.frag";
const char* const kSceneVertexPath = "Orbquest/Scene/Shader/omni.vert";
const char* const kSceneFragmentPath = "Orbquest/Scene/Shader/omni.frag";

}  // namespace

void SceneRenderer::init(float) {
    depthShader = new Shader(kDepthVertexPath, kDepthGeometryPath, kDepthFragmentPath);
    sceneShader = new Shader(kSceneVertexPath, kSceneFragmentPath);
    sceneShader->use();
}

void SceneRenderer::release() {
    delete depthShader;
    depthShader = nullptr;
    delete sceneShader;
    sceneShader = nullptr;
}
