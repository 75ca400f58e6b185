#include "support/LevelSnapshot.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "render/Texture.h"
#include "support/LevelHarness.h"

LevelSnapshot::LevelSnapshot(LevelHarness& harness) : camera(harness.camera()) {
    SceneCreator& l = harness.level();
    auto add = [this](const scene::Model* m) {
        models.push_back({m->modelMatrix, m->rotationMatrix, m->translationMatrix, m->baseMatrix,
                          m->vertexArray, m->positionBuffer});
    };
    for (auto* list :
         {&l.floorSlabs, &l.blocks, &l.backdrops, &l.ducks, &l.duckBalls, &l.puddles, &l.targets}) {
        std::for_each(list->begin(), list->end(), add);
    }
    add(l.player);
    add(l.lightMarker);
    for (const Texture* t : {l.woodTexture, l.bubblesTexture, l.smileTexture, l.colourTexture,
                             l.yellowSmileTexture, l.redCryTexture, l.greenSmileTexture}) {
        textures.push_back(t->textureHandle);
    }
    targetDone = l.targetDone;
    blocksUnderPlayer = l.blocksUnderPlayer;
    blocksUnderPlayerEntries = l.blocksUnderPlayerEntries;
    gameWon = l.gameWon, gameLost = l.gameLost, falling = l.falling, onBlock = l.onBlock;
    colliding = l.colliding, collidingTarget = l.collidingTarget, paused = l.paused;
    bankedDescent = l.bankedDescent, pendingDescent = l.pendingDescent;
    targetRange = l.targetRange, gameTime = l.gameTime, lightPosition = l.lightPosition;
    drawnCount = l.drawnCount, culledCount = l.culledCount;
}

namespace {

auto levelFields(const LevelSnapshot& s) {
    return std::tie(s.textures, s.targetDone, s.blocksUnderPlayer, s.blocksUnderPlayerEntries,
                    s.gameWon, s.gameLost, s.falling, s.onBlock, s.colliding, s.collidingTarget,
                    s.paused, s.bankedDescent, s.pendingDescent, s.targetRange, s.gameTime,
                    s.lightPosition, s.drawnCount, s.culledCount);
}

auto cameraFields(const Camera& c) {
    return std::tie(c.mode, c.position, c.front, c.freeLookFront, c.up, c.yaw, c.pitch, c.view,
                    c.projection, c.firstMouse, c.lastX, c.lastY);
}

}  // namespace

void expectSameLevel(const LevelSnapshot& a, const LevelSnapshot& b) {
    ASSERT_EQ(a.models.size(), b.models.size());
    for (size_t i = 0; i < a.models.size(); ++i) {
        EXPECT_TRUE(a.models[i] == b.models[i]) << "model " << i;
    }
    EXPECT_TRUE(levelFields(a) == levelFields(b)) << "the level's flags and counters";
    EXPECT_TRUE(cameraFields(a.camera) == cameraFields(b.camera)) << "the camera";
    EXPECT_EQ(a.gameTime, b.gameTime);
    EXPECT_EQ(a.targetDone, b.targetDone);
}
