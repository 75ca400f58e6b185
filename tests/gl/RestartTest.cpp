#include <gtest/gtest.h>

#include <glm/glm.hpp>

#include <memory>
#include <string>
#include <vector>

#include "game/Autopilot.h"
#include "input/AutopilotInput.h"
#include "input/ScriptedInput.h"
#include "render/Texture.h"
#include "support/FakeInput.h"
#include "support/LevelHarness.h"
#include "support/TempDir.h"

namespace {

// Everything a game changes in the level and the camera, and the GL objects that must stay.
struct Snapshot {
    struct Placement {
        glm::mat4 model, rotation, translation, base;
        GLuint vertexArray, positionBuffer;
    };
    std::vector<Placement> models;
    std::vector<GLuint> textures;
    std::vector<bool> targetDone;
    std::vector<std::uint64_t> blocksUnderPlayer;
    std::uint64_t blocksUnderPlayerEntries;
    bool gameWon, gameLost, falling, onBlock, colliding, collidingTarget, paused;
    float bankedDescent, pendingDescent, targetRange, gameTime;
    glm::vec3 lightPosition;
    int drawnCount, culledCount;
    Camera camera;

    explicit Snapshot(LevelHarness& harness) : camera(harness.camera()) {
        SceneCreator& l = harness.level();
        for (auto* list : {&l.floorSlabs, &l.blocks, &l.backdrops, &l.ducks, &l.duckBalls,
                           &l.puddles, &l.targets}) {
            for (const scene::Model* m : *list) {
                add(*m);
            }
        }
        add(*l.player);
        add(*l.lightMarker);
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

    void add(const scene::Model& m) {
        models.push_back({m.modelMatrix, m.rotationMatrix, m.translationMatrix, m.baseMatrix,
                          m.vertexArray, m.positionBuffer});
    }
};

void expectSame(const Snapshot& a, const Snapshot& b) {
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

// Plays a replay through the level as the main loop steps it, without drawing.
void play(LevelHarness& harness, const std::string& replayFile, float& clock) {
    ReplayScript script = parseReplay(readFile(replayFile));
    ASSERT_EQ(script.error, "");
    long frames = 0;
    for (const ReplayFrame& entry : script.frames) {
        frames += entry.repeat;
    }
    ScriptedInput input(std::move(script.frames));
    input::install(&input);
    for (; frames > 0 && !harness.level().gameLost; --frames) {
        const float now = input::frameStartTime(harness.window());
        harness.update(now - clock);
        clock = now;
        input::pollEvents(harness.window());
    }
    input::install(nullptr);
}

TEST(Restart, APlayedLevelResetInPlaceEqualsAFreshOne) {
    LevelHarness harness;
    const Snapshot fresh(harness);
    float clock = 0.0f;
    play(harness, "replays/land-on-targets.replay", clock);
    ASSERT_TRUE(harness.level().targetDone[0]) << "the replay played";
    harness.level().paused = true;
    harness.level().cullingEnabled = true;  // a render option the player chose

    harness.renderer.restart();
    expectSame(Snapshot(harness), fresh);
    EXPECT_TRUE(harness.level().cullingEnabled) << "the player's render options stay";
}

// A second game after a restart plays exactly as the first.
TEST(Restart, TheSameInputAfterARestartPlaysTheSameGame) {
    LevelHarness harness;
    float clock = 0.0f;
    play(harness, "replays/rest-on-block.replay", clock);
    const Snapshot first(harness);
    harness.renderer.restart();
    const float firstGameEnd = clock;
    clock = 0.0f;
    play(harness, "replays/rest-on-block.replay", clock);
    EXPECT_EQ(clock, firstGameEnd);
    expectSame(Snapshot(harness), first);
}

TEST(Restart, TheCameraKeepsTheModeThePlayerChose) {
    Camera camera;
    camera.mode = FreeMovable;
    camera.yaw = 12.0f;
    camera.position = glm::vec3(4.0f, 5.0f, 6.0f);
    camera.firstMouse = false;
    camera.reset();
    Camera fresh;
    EXPECT_EQ(camera.mode, FreeMovable);
    EXPECT_EQ(camera.yaw, fresh.yaw);
    EXPECT_EQ(camera.position, fresh.position);
    EXPECT_TRUE(camera.firstMouse) << "the next cursor reading only seeds, the view does not jump";
}

TEST(Restart, TheAutopilotHoldsNothingAndCountsNothingWhilePaused) {
    LevelHarness harness;
    FakeInput clock;
    AutopilotInput pilot(clock);
    pilot.attach(autopilotFlyingBy(harness.level(), harness.camera()));
    pilot.frameStartTime(harness.window());
    EXPECT_EQ(pilot.framesFlown(), 1);
    harness.level().paused = true;
    for (int frame = 0; frame < 3; ++frame) {
        pilot.frameStartTime(harness.window());
        for (int key : {GLFW_KEY_W, GLFW_KEY_A, GLFW_KEY_S, GLFW_KEY_D, GLFW_KEY_SPACE}) {
            EXPECT_EQ(pilot.getKey(harness.window(), key), GLFW_RELEASE) << key;
        }
    }
    EXPECT_EQ(pilot.framesFlown(), 1);
    harness.level().paused = false;
    pilot.restart(autopilotFlyingBy(harness.level(), harness.camera()));
    EXPECT_EQ(pilot.framesFlown(), 0);
    pilot.frameStartTime(harness.window());
    EXPECT_EQ(pilot.framesFlown(), 1);
    EXPECT_TRUE(pilot.driving()) << "it flies on after a restart";
}

}  // namespace
