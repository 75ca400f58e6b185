#include "game/SceneCreator.h"

#include <glm/gtc/type_ptr.hpp>

#include <algorithm>
#include <iostream>

#include "game/GameRules.h"
#include "game/Material.h"
#include "render/Shader.h"
#include "render/Texture.h"

namespace {

// Each texture lives on a unit of its own; unit 7 holds the shadow cube map.
constexpr int kWoodUnit = 0;
constexpr int kBubblesUnit = 1;
constexpr int kSmileUnit = 2;
constexpr int kColourUnit = 3;
constexpr int kYellowSmileUnit = 4;
constexpr int kRedCryUnit = 5;
constexpr int kGreenSmileUnit = 6;

}  // namespace

void SceneCreator::setWarmMaterial(Shader* shader) {
    if (drawModels) {
        applyMaterial(shader, kWarmMaterial);
    }
}

void SceneCreator::setGreyMaterial(Shader* shader) {
    if (drawModels) {
        applyMaterial(shader, kGreyMaterial);
    }
}

void SceneCreator::bindTexture(Texture* texture, Shader* shader, int unit) {
    if (!drawModels) {
        return;
    }
    texture->bind(unit);
    glUniform1i(glGetUniformLocation(shader->programHandle, "diffuseTexture"), unit);
}

void SceneCreator::drawCounted(scene::Model* model, GLint modelLocation) {
    drawUncounted(model, modelLocation);
    ++drawnCount;
}

void SceneCreator::drawUncounted(scene::Model* model, GLint modelLocation) {
    if (!drawModels) {
        return;
    }
    glUniformMatrix4fv(modelLocation, 1, GL_FALSE, glm::value_ptr(model->modelMatrix));
    model->draw();
}

// Culls only when all eight corners of the bounding cube lie beyond one and the same clip
// plane; a cube that straddles planes is drawn.
bool SceneCreator::isInFrustum(scene::Model* model, glm::mat4 view, glm::mat4 projection) {
    const glm::mat4 clip = projection * view * model->modelMatrix;
    int outside[6] = {0, 0, 0, 0, 0, 0};
    for (const glm::vec4& corner : model->boundingCorners) {
        const glm::vec4 p = clip * corner;
        outside[0] += p.x > p.w;
        outside[1] += p.x < -p.w;
        outside[2] += p.y > p.w;
        outside[3] += p.y < -p.w;
        outside[4] += p.z > p.w;
        outside[5] += p.z < -p.w;
    }
    return std::none_of(std::begin(outside), std::end(outside), [](int n) { return n == 8; });
}

void SceneCreator::drawOrCull(scene::Model* model, GLint modelLocation, const glm::mat4& view,
                              const glm::mat4& projection) {
    if (!cullingEnabled || isInFrustum(model, view, projection)) {
        drawCounted(model, modelLocation);
    } else {
        ++culledCount;
    }
}

void SceneCreator::drawOrCullAll(const std::vector<scene::Model*>& models, GLint modelLocation,
                                 const glm::mat4& view, const glm::mat4& projection) {
    for (scene::Model* model : models) {
        drawOrCull(model, modelLocation, view, projection);
    }
}

// Targets are walked twice, once per face texture; a culled target counts in both walks.
void SceneCreator::drawTargets(bool done, GLint modelLocation, const glm::mat4& view,
                               const glm::mat4& projection) {
    for (size_t i = 0; i < targets.size(); ++i) {
        if (cullingEnabled && !isInFrustum(targets[i], view, projection)) {
            ++culledCount;
        } else if (targetDone[i] == done) {
            drawCounted(targets[i], modelLocation);
        }
    }
}

void SceneCreator::draw(GLint modelLocation, Shader* shader, glm::mat4 view, glm::mat4 projection) {
    setWarmMaterial(shader);
    bindTexture(woodTexture, shader, kWoodUnit);
    drawOrCullAll(floorSlabs, modelLocation, view, projection);
    drawOrCullAll(blocks, modelLocation, view, projection);

    bindTexture(bubblesTexture, shader, kBubblesUnit);
    drawOrCullAll(puddles, modelLocation, view, projection);

    bindTexture(redCryTexture, shader, kRedCryUnit);
    drawTargets(false, modelLocation, view, projection);

    // Once the game is lost the red crying face stays bound for the player too.
    if (!gameLost) {
        bindTexture(yellowSmileTexture, shader, kYellowSmileUnit);
    }
    drawOrCull(player, modelLocation, view, projection);

    bindTexture(greenSmileTexture, shader, kGreenSmileUnit);
    drawTargets(true, modelLocation, view, projection);

    setGreyMaterial(shader);
    bindTexture(colourTexture, shader, kColourUnit);
    drawOrCullAll(ducks, modelLocation, view, projection);
    drawOrCullAll(duckBalls, modelLocation, view, projection);

    bindTexture(smileTexture, shader, kSmileUnit);
    drawOrCullAll(backdrops, modelLocation, view, projection);

    if (showLightMarker) {
        drawUncounted(lightMarker, modelLocation);
    }

    if (std::count(targetDone.begin(), targetDone.end(), false) == 0) {
        gameWon = true;
    }
    if (gameWon && reportLines) {
        std::cout << rules::kWonLine << std::endl;
    }
    if (gameLost && reportLines) {
        std::cout << rules::kLostLine << std::endl;
    }
    if (cullingInfo && reportLines) {
        std::cout << "Drawn: " << drawnCount << "| Culled: " << culledCount << std::endl;
    }
    drawnCount = 0;
    culledCount = 0;
}

void SceneCreator::drawDepth(GLint modelLocation, Shader*, glm::mat4 view, glm::mat4 projection) {
    // Culling here uses the camera's frustum, so an object out of view casts no shadow.
    auto drawIfVisible = [&](scene::Model* model) {
        if (!cullingEnabled || isInFrustum(model, view, projection)) {
            drawUncounted(model, modelLocation);
        }
    };
    for (auto* list : {&floorSlabs, &blocks, &puddles, &backdrops}) {
        std::for_each(list->begin(), list->end(), drawIfVisible);
    }
    drawIfVisible(player);
    for (auto* list : {&targets, &ducks, &duckBalls}) {
        std::for_each(list->begin(), list->end(), drawIfVisible);
    }
    if (showLightMarker) {
        drawUncounted(lightMarker, modelLocation);
    }
}
