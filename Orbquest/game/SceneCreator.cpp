#include "game/SceneCreator.h"

#include "base/AssetPaths.h"
#include "game/LevelLayout.h"

#include "render/Texture.h"

namespace {

constexpr float kTargetRange = 0.5f;  // half-width of the square in which a target is under us
const glm::vec3 kLightPosition(0.0f, 0.6f, 0.0f);  // just above the ball

template <typename T>
void deleteAndClear(T*& object) {
    delete object;
    object = nullptr;
}

void deleteModels(std::vector<scene::Model*>& models) {
    for (scene::Model*& model : models) {
        deleteAndClear(model);
    }
}

}  // namespace

SceneCreator::SceneCreator(float deltaTime, Shader* shader)
    : SceneCreator(roadLevel(), deltaTime, shader) {}

SceneCreator::SceneCreator(const levels::LevelDescription& level, float deltaTime, Shader* shader) {
    // Creation order fixes every list index: targetDone and the passes rely on it.
    buildFloorSlabs(level, deltaTime, shader);
    buildBlocks(level, deltaTime, shader);
    buildBackdrop(level, deltaTime, shader);
    buildDucks(level, deltaTime, shader);
    buildPuddles(level, deltaTime, shader);
    buildDuckBalls(level, deltaTime, shader);
    buildPlayer(deltaTime, shader);
    buildTargets(level, deltaTime, shader);
    fallLimits = levels::fallLimitsOf(level);

    woodTexture = new Texture(assets::image("wood-2.png"));
    bubblesTexture = new Texture(assets::image("electbubbles-2.png"));
    smileTexture = new Texture(assets::image("smileTex.png"));
    colourTexture = new Texture(assets::image("colour.png"));
    yellowSmileTexture = new Texture(assets::image("smiling-yellow-2.png"));
    redCryTexture = new Texture(assets::image("crying-red.png"));
    greenSmileTexture = new Texture(assets::image("smiling-green.png"));

    lightPosition = kLightPosition;
    buildLightMarker(deltaTime, shader);

    showLightMarker = false;
    cullingEnabled = false;
    cullingInfo = false;
    resetGameState();
}

SceneCreator::~SceneCreator() {
    deleteAndClear(woodTexture);
    deleteAndClear(bubblesTexture);
    deleteAndClear(smileTexture);
    deleteAndClear(colourTexture);
    deleteAndClear(yellowSmileTexture);
    deleteAndClear(greenSmileTexture);
    deleteAndClear(redCryTexture);

    deleteModels(floorSlabs);
    deleteModels(blocks);
    deleteModels(backdrops);
    deleteModels(ducks);
    deleteModels(puddles);
    deleteModels(targets);
    deleteModels(duckBalls);
    deleteAndClear(player);
    deleteAndClear(lightMarker);
}

void SceneCreator::reset() {
    for (auto* list : {&floorSlabs, &blocks, &backdrops, &ducks, &duckBalls, &puddles, &targets}) {
        for (scene::Model* model : *list) {
            model->resetPlacement();
        }
    }
    player->resetPlacement();
    lightMarker->resetPlacement();
    resetGameState();
}

// What a new game starts from, at construction and on every restart.
void SceneCreator::resetGameState() {
    targetDone.assign(targets.size(), false);
    blocksUnderPlayer.assign(blocks.size(), 0);
    blocksUnderPlayerEntries = 0;
    gameWon = false;
    gameLost = false;
    pendingDescent = 0.0f;
    bankedDescent = 0.0f;
    targetRange = kTargetRange;
    drawnCount = 0;
    culledCount = 0;
    falling = false;
    onBlock = false;
    colliding = false;
    collidingTarget = false;
    gameTime = 0.0f;
    paused = false;
}

size_t SceneCreator::modelCount() const {
    return floorSlabs.size() + blocks.size() + backdrops.size() + ducks.size() + duckBalls.size() +
           puddles.size() + targets.size() + (player ? 1 : 0) + (lightMarker ? 1 : 0);
}
