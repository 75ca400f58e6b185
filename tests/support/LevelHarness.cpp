#include "support/LevelHarness.h"

#include "app/Settings.h"
#include "render/ShadowMap.h"
#include "support/GlContext.h"
#include "support/Printed.h"

LevelHarness::LevelHarness(const levels::LevelDescription& level) : window_(sharedGlContext()) {
    resetSettings();
    renderer.init(0.0f, kFullLookShadows, level);
    createShadowFramebuffer();
    sceneRenderer = &renderer;
    exitControl = &exit;
}

LevelHarness::~LevelHarness() {
    deleteShadowFramebuffer();
    renderer.release();
    sceneRenderer = nullptr;
    exitControl = nullptr;
    resetSettings();
}

void LevelHarness::update(float deltaTime) {
    renderer.sceneShader->use();
    renderer.update(deltaTime, window_, renderer.sceneShader);
}

void LevelHarness::frame(float deltaTime) {
    renderShadowPass(renderer);
    update(deltaTime);
    renderColourPass(renderer, colourPassSettings(windowWidth, windowHeight));
}

void LevelHarness::colourPass() {
    renderer.sceneShader->use();
    renderColourPass(renderer, colourPassSettings(windowWidth, windowHeight));
}

std::string LevelHarness::colourPassOutput() {
    return printedBy([this] { colourPass(); });
}
