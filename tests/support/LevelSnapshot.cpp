#include "support/LevelSnapshot.h"

#include <gtest/gtest.h>

#include "render/Texture.h"
#include "support/LevelHarness.h"

namespace {

void add(std::vector<LevelSnapshot::Placement>& models, const scene::Model& m) {
    models.push_back({m.modelMatrix, m.rotationMatrix, m.translationMatrix, m.baseMatrix,
                      m.vertexArray, m.positionBuffer});
}

}  // namespace

LevelSnapshot::LevelSnapshot(LevelHarness& harness) : camera(harness.camera()) {
    SceneCreator& l = harness.level();
    for (auto* list :
         {&l.floorSlabs, &l.blocks, &l.backdrops, &l.ducks, &l.duckBalls, &l.puddles, &l.targets}) {
        for (const scene::Model* m : *list) {
            add(models, *m);
        }
    }
    add(models, *l.player);
    add(models, *l.lightMarker);
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

void expectSameLevel(const LevelSnapshot& a, const LevelSnapshot& b) {
    ASSERT_EQ(a.models.size(), b.models.size());
    for (size_t i = 0; i < a.models.size(); ++i) {
        EXPECT_EQ(a.models[i].model, b.models[i].model) << "model " << i;
        EXPECT_EQ(a.models[i].rotation, b.models[i].rotation) << "model " << i;
        EXPECT_EQ(a.models[i].translation, b.models[i].translation) << "model " << i;
        EXPECT_EQ(a.models[i].base, b.models[i].base) << "model " << i;
        EXPECT_EQ(a.models[i].vertexArray, b.models[i].vertexArray) << "model " << i;
        EXPECT_EQ(a.models[i].positionBuffer, b.models[i].positionBuffer) << "model " << i;
    }
    EXPECT_EQ(a.textures, b.textures);
    EXPECT_EQ(a.targetDone, b.targetDone);
    EXPECT_EQ(a.blocksUnderPlayer, b.blocksUnderPlayer);
    EXPECT_EQ(a.blocksUnderPlayerEntries, b.blocksUnderPlayerEntries);
    EXPECT_EQ(a.gameWon, b.gameWon);
    EXPECT_EQ(a.gameLost, b.gameLost);
    EXPECT_EQ(a.falling, b.falling);
    EXPECT_EQ(a.onBlock, b.onBlock);
    EXPECT_EQ(a.colliding, b.colliding);
    EXPECT_EQ(a.collidingTarget, b.collidingTarget);
    EXPECT_EQ(a.paused, b.paused);
    EXPECT_EQ(a.bankedDescent, b.bankedDescent);
    EXPECT_EQ(a.pendingDescent, b.pendingDescent);
    EXPECT_EQ(a.targetRange, b.targetRange);
    EXPECT_EQ(a.gameTime, b.gameTime);
    EXPECT_EQ(a.lightPosition, b.lightPosition);
    EXPECT_EQ(a.drawnCount, b.drawnCount);
    EXPECT_EQ(a.culledCount, b.culledCount);
    const Camera& c = a.camera;
    const Camera& d = b.camera;
    EXPECT_EQ(c.mode, d.mode);
    EXPECT_EQ(c.position, d.position);
    EXPECT_EQ(c.front, d.front);
    EXPECT_EQ(c.freeLookFront, d.freeLookFront);
    EXPECT_EQ(c.up, d.up);
    EXPECT_EQ(c.yaw, d.yaw);
    EXPECT_EQ(c.pitch, d.pitch);
    EXPECT_EQ(c.view, d.view);
    EXPECT_EQ(c.projection, d.projection);
    EXPECT_EQ(c.firstMouse, d.firstMouse);
    EXPECT_EQ(c.lastX, d.lastX);
    EXPECT_EQ(c.lastY, d.lastY);
}
