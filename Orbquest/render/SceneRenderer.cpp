#include "render/SceneRenderer.h"

#include <GL/glew.h>
#include <glm/gtc/type_ptr.hpp>

#include <cmath>

#include "base/AssetPaths.h"
#include "game/SceneCreator.h"
#include "render/Camera.h"
#include "render/ShadowMap.h"
#include "render/Shader.h"

namespace {

const glm::vec3 kLightAmbient(0.2f, 0.2f, 0.2f);
const glm::vec3 kLightDiffuse(0.9f, 0.9f, 0.9f);
const glm::vec3 kLightSpecular(0.5f, 0.5f, 0.5f);

// Only keeps the count an int: a frame this long (over four hours) would be a stalled clock.
constexpr int kMaxLevelSteps = 1 << 20;

GLint uniform(Shader* shader, const char* name) {
    return glGetUniformLocation(shader->programHandle, name);
}

void setVec3(Shader* shader, const char* name, const glm::vec3& value) {
    glUniform3f(uniform(shader, name), value.x, value.y, value.z);
}

}  // namespace

int levelStepCount(float deltaTime) {
    // In single precision, as the clock is kept: 1/60 s as a float times 60 is exactly 1.
    const float steps = std::ceil(deltaTime * kLevelStepsPerSecond);
    if (!(steps > 1.0f)) {  // also a NaN
        return 1;
    }
    return steps < static_cast<float>(kMaxLevelSteps) ? static_cast<int>(steps) : kMaxLevelSteps;
}

Shader* newDepthShader() {
    return new Shader(assets::shader("depthC.vert"), assets::shader("depthC.geom"),
                      assets::shader("depthC.frag"), gameShaderDefines());
}

Shader* newSceneShader(ShadowQuality shadows) {
    return new Shader(assets::shader("omni.vert"), assets::shader("omni.frag"),
                      gameShaderDefines(shadows));
}

void SceneRenderer::init(float deltaTime, ShadowQuality shadows,
                         const levels::LevelDescription& level) {
    shadowQuality = shadows;
    depthShader = newDepthShader();
    sceneShader = newSceneShader(shadows);
    // The models take their attribute locations from the program current while they load.
    sceneShader->use();
    sceneCreator = new SceneCreator(level, deltaTime, sceneShader);
    camera = new Camera();
}

void SceneRenderer::switchLevel(float deltaTime, const levels::LevelDescription& level) {
    sceneShader->use();
    SceneCreator* next = new SceneCreator(level, deltaTime, sceneShader);
    next->cullingEnabled = sceneCreator->cullingEnabled;
    next->cullingInfo = sceneCreator->cullingInfo;
    next->showLightMarker = sceneCreator->showLightMarker;
    delete sceneCreator;
    sceneCreator = next;
    camera->reset();
}

void SceneRenderer::update(float deltaTime, GLFWwindow* window, Shader* shader) {
    // Sent before the camera moves, so it lags the view by one frame.
    glUniform3fv(uniform(shader, "viewPos"), 1, glm::value_ptr(camera->getPosition()));
    camera->update(deltaTime, window);
    const glm::vec3 front = camera->getFront();
    // Only the level is stepped: its landing and resting bands are thinner than what a long
    // frame would move it in one go.
    const int steps = levelStepCount(deltaTime);
    const float step = steps == 1 ? deltaTime : deltaTime / static_cast<float>(steps);
    for (int i = 0; i < steps; ++i) {
        sceneCreator->update(step, window, front);
    }
    sceneCreator->gameTime += deltaTime;
}

void SceneRenderer::restart() {
    sceneCreator->reset();
    camera->reset();
}

void SceneRenderer::drawDepth() {
    sceneCreator->drawDepth(uniform(depthShader, "model"), depthShader, camera->getView(),
                            camera->getProjection());
}

void SceneRenderer::draw(Shader* shader) {
    setViewAndLight(shader, camera->getProjection() * camera->getView(),
                    sceneCreator->lightPosition);
    sceneCreator->draw(uniform(shader, "model"), shader, camera->getView(),
                       camera->getProjection());
}

void SceneRenderer::release() {
    delete depthShader;
    depthShader = nullptr;
    delete sceneShader;
    sceneShader = nullptr;
    delete camera;
    camera = nullptr;
    delete sceneCreator;
    sceneCreator = nullptr;
}

void beginShadowPass(Shader* depth, const glm::vec3& lightPosition) {
    const auto shadowTransforms = lightSpaceMatrices(lightPosition);
    depth->use();
    glViewport(0, 0, kShadowMapSize, kShadowMapSize);
    glBindFramebuffer(GL_FRAMEBUFFER, depthMapFBO);
    glClear(GL_DEPTH_BUFFER_BIT);
    static const char* const kShadowMatrixNames[6] = {"shadowMatrices[0]", "shadowMatrices[1]",
                                                      "shadowMatrices[2]", "shadowMatrices[3]",
                                                      "shadowMatrices[4]", "shadowMatrices[5]"};
    for (int i = 0; i < 6; ++i) {
        glUniformMatrix4fv(uniform(depth, kShadowMatrixNames[i]), 1, GL_FALSE,
                           glm::value_ptr(shadowTransforms[i]));
    }
    glUniform1f(uniform(depth, "far_plane"), kShadowFar);
    glUniform3fv(uniform(depth, "lightPos"), 1, glm::value_ptr(lightPosition));
}

void renderShadowPass(SceneRenderer& renderer) {
    // The light as the previous frame's update left it.
    beginShadowPass(renderer.depthShader, renderer.sceneCreator->lightPosition);
    renderer.drawDepth();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void beginColourPass(Shader* scene, const ColourPassSettings& settings, ShadowQuality shadows) {
    glViewport(0, 0, settings.viewportWidth, settings.viewportHeight);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    bindShadowMap(shadows);
    glUniform1i(uniform(scene, "depthCube"), kShadowTextureUnit);
    glUniform1f(uniform(scene, "far_plane"), kShadowFar);
    glUniform1f(uniform(scene, "transparency"), settings.transparency ? 1.0f : 0.0f);
}

void setViewAndLight(Shader* scene, const glm::mat4& viewProjection,
                     const glm::vec3& lightPosition) {
    glUniformMatrix4fv(uniform(scene, "view_proj"), 1, GL_FALSE, glm::value_ptr(viewProjection));
    setVec3(scene, "light.ambient", kLightAmbient);
    setVec3(scene, "light.diffuse", kLightDiffuse);
    setVec3(scene, "light.specular", kLightSpecular);
    setVec3(scene, "light.position", lightPosition);
}

void renderColourPass(SceneRenderer& renderer, const ColourPassSettings& settings) {
    beginColourPass(renderer.sceneShader, settings, renderer.shadowQuality);
    renderer.draw(renderer.sceneShader);
}

void countColourPass(SceneRenderer& renderer) {
    SceneCreator& level = *renderer.sceneCreator;
    level.drawModels = false;
    level.draw(-1, renderer.sceneShader, renderer.camera->getView(),
               renderer.camera->getProjection());
    level.drawModels = true;
}
