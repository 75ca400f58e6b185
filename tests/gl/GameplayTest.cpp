#include <gtest/gtest.h>

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "support/FakeInput.h"
#include "support/LevelHarness.h"
#include "support/Matrices.h"
#include "support/Printed.h"

namespace {

// A power of two, so the per-frame steps below add up without rounding.
constexpr float kDt = 1.0f / 64.0f;
constexpr float kWalkStep = 3.0f * kDt;  // W/A/S/D, with the camera level
constexpr float kRiseStep = 1.5f * kDt;  // while a descent is pending

// Moves a model to 'position' as if the level had been built with it there.
void place(scene::Model* model, glm::vec3 position) {
    glm::mat4 placement = model->baseMatrix;
    placement[3] = glm::vec4(position, 1.0f);
    model->translationMatrix = glm::mat4(1.0f);
    model->rotationMatrix = glm::mat4(1.0f);
    model->init(0.0f, placement);
}

// One level stepped frame by frame with keys held through the input layer.
struct Session {
    FakeInput input;  // installed before the harness, which reads keys through it
    LevelHarness harness;
    SceneCreator& level = harness.level();

    void frames(int count) {
        for (int i = 0; i < count; ++i) {
            harness.update(kDt);
        }
    }
    void holdFor(std::initializer_list<int> keys, int count) {
        for (int key : keys) {
            input.hold(key);
        }
        frames(count);
        for (int key : keys) {
            input.release(key);
        }
    }
    // Runs frames until 'done' holds; false if it did not within 'limit' frames.
    bool framesUntil(const std::function<bool()>& done, int limit) {
        for (int i = 0; i < limit && !done(); ++i) {
            harness.update(kDt);
        }
        return done();
    }
    glm::vec3 slab() const { return positionOf(level.floorSlabs[0]); }
};

TEST(Gameplay, WithoutKeysOrContactsOnlyTheAnimationsRun) {
    Session s;
    const int count = 40;
    s.frames(count);
    const glm::mat4 turnDown = glm::rotate(glm::mat4(1.0f), count * kDt, glm::vec3(0, -1, 0));
    const glm::mat4 turnUp = glm::rotate(glm::mat4(1.0f), count * kDt, glm::vec3(0, 1, 0));
    for (scene::Model* target : s.level.targets) {
        expectMatrixNear(target->modelMatrix, target->baseMatrix * turnDown, 1e-5f);
    }
    for (scene::Model* puddle : s.level.puddles) {
        expectMatrixNear(puddle->modelMatrix, puddle->baseMatrix * turnDown, 1e-4f);
    }
    for (scene::Model* duck : s.level.ducks) {
        expectMatrixNear(duck->modelMatrix, duck->baseMatrix * turnUp, 1e-5f);
    }
    for (auto* list : {&s.level.floorSlabs, &s.level.blocks, &s.level.backdrops}) {
        for (scene::Model* model : *list) {
            EXPECT_EQ(model->modelMatrix, model->baseMatrix);
        }
    }
    EXPECT_EQ(s.level.player->modelMatrix, s.level.player->baseMatrix);
    EXPECT_FALSE(s.level.gameLost);
    EXPECT_FALSE(s.level.falling);
    EXPECT_EQ(s.level.pendingDescent, 0.0f);
}

TEST(Gameplay, DuckBallsCircleTheirOwnDucks) {
    Session s;
    // One full turn around the duck takes 2π seconds; the ball's own small loop (radius 0.075)
    // rides on that circle.
    const int count = static_cast<int>(std::lround(glm::two_pi<float>() / kDt));
    const size_t balls = s.level.duckBalls.size();
    ASSERT_EQ(balls, s.level.ducks.size());
    std::vector<float> startDistance(balls);
    std::vector<float> previousAngle(balls);
    std::vector<float> turned(balls, 0.0f);
    auto offset = [&](size_t i) {
        const glm::vec3 d = positionOf(s.level.duckBalls[i]) - positionOf(s.level.ducks[i]);
        return glm::vec2(d.x, -d.z);  // angles grow the way a turn about +y goes
    };
    for (size_t i = 0; i < balls; ++i) {
        startDistance[i] = glm::length(offset(i));
        previousAngle[i] = std::atan2(offset(i).y, offset(i).x);
    }

    for (int frame = 0; frame < count; ++frame) {
        s.harness.update(kDt);
        for (size_t i = 0; i < balls; ++i) {
            ASSERT_NEAR(glm::length(offset(i)), startDistance[i], 0.16f)
                << "ball " << i << " at frame " << frame;
            const float angle = std::atan2(offset(i).y, offset(i).x);
            turned[i] += std::remainder(angle - previousAngle[i], glm::two_pi<float>());
            previousAngle[i] = angle;
        }
    }
    for (size_t i = 0; i < balls; ++i) {
        EXPECT_NEAR(turned[i], count * kDt, 0.3f) << "ball " << i;
    }
}

// The camera's front steers, and only its horizontal part, unnormalised: looking 60° down
// halves the travel.
TEST(Gameplay, WalkingForwardOneSecondMovesTheWholeLevelTowardsTheViewer) {
    struct Case {
        const char* name;
        double cursorDown;  // pixels; 0.1° of pitch each
        float travel;
    };
    for (const Case& c : {Case{"level camera", 0.0, 3.0f}, Case{"pitched 60° down", 600.0, 1.5f}}) {
        SCOPED_TRACE(c.name);
        Session s;
        if (c.cursorDown != 0.0) {
            s.harness.camera().setMode(FreeMovable);
            s.harness.camera().setFirstMouse(true);
            s.harness.update(kDt);  // seeds the cursor position
            s.input.cursorY += c.cursorDown;
            s.harness.update(kDt);  // turns the camera; front follows on the next update
        }
        std::vector<std::vector<glm::vec3>> before;
        auto lists = {&s.level.floorSlabs, &s.level.backdrops, &s.level.blocks, &s.level.ducks,
                      &s.level.puddles,    &s.level.duckBalls, &s.level.targets};
        for (auto* list : lists) {
            before.emplace_back();
            for (scene::Model* model : *list)
                before.back().push_back(positionOf(model));
        }

        s.input.hold(GLFW_KEY_W);
        for (int i = 0; i < 64; ++i) {
            s.harness.update(kDt);
        }
        if (c.cursorDown != 0.0) {
            ASSERT_NEAR(s.harness.camera().getFront().y, -std::sin(glm::radians(60.0f)), 1e-3f);
        }

        size_t listIndex = 0;
        for (auto* list : lists) {
            // A duck ball's own loop and circle carry on for the last frame.
            const float tolerance = list == &s.level.duckBalls ? 0.02f : 1e-3f;
            for (size_t i = 0; i < list->size(); ++i) {
                const glm::vec3 moved = positionOf((*list)[i]) - before[listIndex][i];
                EXPECT_NEAR(moved.x, 0.0f, tolerance) << "list " << listIndex << " item " << i;
                EXPECT_NEAR(moved.y, 0.0f, tolerance) << "list " << listIndex << " item " << i;
                EXPECT_NEAR(moved.z, c.travel, tolerance) << "list " << listIndex << " item " << i;
            }
            ++listIndex;
        }
        EXPECT_EQ(positionOf(s.level.player), glm::vec3(0.0f));
        EXPECT_NE(s.level.player->modelMatrix, s.level.player->baseMatrix) << "the ball rolls";
        EXPECT_FALSE(s.level.gameLost);
    }
}

// W and S cancel out, but every target is checked right after each key's move, W first: a
// target that W alone brings into the hit band loses the game, one that only S would bring
// there does not.
TEST(Gameplay, OpposedKeysCancelButTargetsAreCheckedAfterEachMove) {
    struct Case {
        float targetZ;
        bool loses;
    };
    for (const Case& c : {Case{-0.5f - kWalkStep / 2, true}, Case{0.5f + kWalkStep / 2, false}}) {
        SCOPED_TRACE(testing::Message() << "target at z " << c.targetZ);
        Session s;
        place(s.level.targets[0], {0.0f, 0.0f, c.targetZ});
        const glm::vec3 slabBefore = positionOf(s.level.floorSlabs[0]);

        s.input.hold(GLFW_KEY_W);
        s.input.hold(GLFW_KEY_S);
        s.harness.update(kDt);

        EXPECT_EQ(s.level.gameLost, c.loses);
        EXPECT_NEAR(positionOf(s.level.targets[0]).z, c.targetZ, 1e-5f);
        EXPECT_NEAR(glm::distance(positionOf(s.level.floorSlabs[0]), slabBefore), 0.0f, 1e-5f);
    }
}

// Space sinks the world by 6·dt and leaves 2·dt pending, which the following frames spend at
// 0.5·dt each while raising it 1.5·dt: exactly back, or one rise step off where the frame time
// does not add up exactly.
TEST(Gameplay, OneFrameOfSpaceComesBackToWithinOneDescentStep) {
    struct Case {
        float dt;
        float tolerance;
    };
    for (const Case& c : {Case{kDt, 1e-4f}, Case{1.0f / 60.0f, 1.5f / 60.0f + 1e-4f}}) {
        SCOPED_TRACE(testing::Message() << "frame time " << c.dt);
        Session s;
        const float start = s.slab().y;
        s.input.hold(GLFW_KEY_SPACE);
        s.harness.update(c.dt);
        s.input.release(GLFW_KEY_SPACE);
        EXPECT_NEAR(s.slab().y, start - 4.5f * c.dt, 1e-5f);
        for (int i = 0; i < 20; ++i) {
            s.harness.update(c.dt);
        }
        EXPECT_LE(s.level.pendingDescent, 0.0f);
        EXPECT_NEAR(s.slab().y, start, c.tolerance);
    }
}

TEST(Gameplay, RollingIntoATargetAtRoadHeightLosesUnlessItIsDone) {
    for (bool done : {false, true}) {
        SCOPED_TRACE(done ? "done target" : "target not done");
        Session s;
        place(s.level.targets[0], {0.0f, 0.0f, -1.5f});
        s.level.targetDone[0] = done;

        s.input.hold(GLFW_KEY_W);
        for (int i = 0; i < 40 && !s.level.gameLost; ++i) {
            s.harness.update(kDt);
        }
        EXPECT_EQ(s.level.gameLost, !done);
        if (!done) {
            // Lost on the very move that brought it within reach.
            EXPECT_NEAR(positionOf(s.level.targets[0]).z, -0.5f, kWalkStep);
        }
        EXPECT_EQ(s.harness.colourPassOutput(), done ? "" : "You lost! Try again!\n");
    }
}

// Jump, roll forward in the air until the target is below, then come down on it.
TEST(Gameplay, LandingOnATargetFromAboveMarksItDone) {
    Session s;
    place(s.level.targets[0], {0.0f, 0.0f, -1.5f});
    s.holdFor({GLFW_KEY_SPACE}, 40);
    s.holdFor({GLFW_KEY_W}, 32);
    ASSERT_LT(positionOf(s.level.targets[0]).y, -1.0f) << "still well above the target";
    ASSERT_FALSE(s.level.targetDone[0]);

    ASSERT_TRUE(s.framesUntil([&] { return s.level.targetDone[0] || s.level.gameLost; }, 200));
    const float heightWhenDone = positionOf(s.level.targets[0]).y;
    EXPECT_FALSE(s.level.gameLost);
    EXPECT_GT(heightWhenDone, -0.6f);
    EXPECT_LT(heightWhenDone, -0.15f);

    // Coming all the way down onto the done target does not lose.
    s.frames(150);
    EXPECT_TRUE(s.level.targetDone[0]);
    EXPECT_FALSE(s.level.gameLost);
    EXPECT_NEAR(s.slab().y, -3.3f, kRiseStep);
}

TEST(Gameplay, WalkingBackOffTheRoadFallsAndLosesAfterAboutFourSeconds) {
    Session s;
    s.input.hold(GLFW_KEY_S);
    ASSERT_TRUE(s.framesUntil([&] { return s.level.falling; }, 100));
    const float walked = -10.0f - s.slab().z;
    EXPECT_GE(walked, 2.2f - 1e-4f);
    EXPECT_LT(walked, 2.2f + kWalkStep);

    // Keys do nothing any more, whichever are held.
    s.input.hold(GLFW_KEY_W);
    s.input.hold(GLFW_KEY_A);
    s.input.hold(GLFW_KEY_SPACE);
    const glm::vec3 fallStart = s.slab();
    const glm::mat4 ball = s.level.player->modelMatrix;
    int fallFrames = 1;  // the frame that found the player off the road
    while (!s.level.gameLost && fallFrames < 1000) {
        s.harness.update(kDt);
        ++fallFrames;
        ASSERT_EQ(s.slab().x, fallStart.x);
        ASSERT_EQ(s.slab().z, fallStart.z);
        ASSERT_EQ(s.level.player->modelMatrix, ball);
    }
    EXPECT_NEAR(fallFrames * kDt, 4.2f, 0.1f);
    EXPECT_EQ(s.harness.colourPassOutput(), "You lost! Try again!\n");
}

TEST(Gameplay, NoFallStartsWhileLiftedMoreThanATenth) {
    Session s;
    // Off the back of the road, high in the air.
    s.holdFor({GLFW_KEY_SPACE, GLFW_KEY_S}, 60);
    ASSERT_LT(s.slab().z, -12.2f);
    EXPECT_FALSE(s.level.falling);

    float heightSeen = s.slab().y;
    ASSERT_TRUE(s.framesUntil(
        [&] {
            if (!s.level.falling)
                heightSeen = s.slab().y;
            return s.level.falling;
        },
        400));
    // The frame that started the fall saw the road no more than 0.1 below its usual height;
    // the one before still saw it lower.
    EXPECT_GE(heightSeen, -3.4f);
    EXPECT_LT(heightSeen - kRiseStep, -3.4f);
}

// A loose block on the road, jumped onto from the front.
TEST(Gameplay, RestingOnABlockHoldsTheHeightAndLeavingItReleasesTheBankedDescent) {
    Session s;
    scene::Model* block = s.level.blocks[0];
    place(block, {0.0f, 0.7f, -1.5f});
    s.holdFor({GLFW_KEY_SPACE}, 40);
    s.holdFor({GLFW_KEY_W}, 32);
    ASSERT_TRUE(s.framesUntil([&] { return s.level.onBlock; }, 200));
    const glm::vec3 restingAt = positionOf(block);
    EXPECT_GE(restingAt.y, -0.325f);
    EXPECT_LE(restingAt.y, -0.28f);

    s.frames(60);
    EXPECT_TRUE(s.level.onBlock);
    EXPECT_EQ(positionOf(block), restingAt);
    EXPECT_EQ(s.level.pendingDescent, 0.0f);
    const float banked = s.level.bankedDescent;
    EXPECT_GT(banked, 0.1f);

    // Jump forward off it: once the block no longer carries the player, everything banked
    // comes back and the player goes all the way down to the road.
    s.holdFor({GLFW_KEY_SPACE, GLFW_KEY_W}, 24);
    EXPECT_FALSE(s.level.onBlock);
    EXPECT_EQ(s.level.bankedDescent, 0.0f);
    EXPECT_GT(s.level.pendingDescent, banked);
    ASSERT_TRUE(s.framesUntil([&] { return s.level.pendingDescent <= 0.0f; }, 1000));
    EXPECT_NEAR(s.slab().y, -3.3f, kRiseStep);
    EXPECT_FALSE(s.level.gameLost);
}

TEST(Gameplay, LandingOnTheLastTargetPrintsTheWonLineInTheSameFrame) {
    Session s;
    std::fill(s.level.targetDone.begin(), s.level.targetDone.end(), true);
    s.level.targetDone[5] = false;
    place(s.level.targets[5], {0.0f, -0.4f, -0.5f - kWalkStep / 2});
    s.harness.update(kDt);
    EXPECT_EQ(s.harness.colourPassOutput(), "");

    s.input.hold(GLFW_KEY_W);
    EXPECT_EQ(printedBy([&] { s.harness.frame(kDt); }), "Congratulations, you won the game!\n");
    EXPECT_TRUE(s.level.targetDone[5]);
    EXPECT_TRUE(s.level.gameWon);
    EXPECT_FALSE(s.level.gameLost);
}

// Keys held for a span of game time, played at a given frame time.
struct Phase {
    std::vector<int> keys;
    float seconds;
};

void play(Session& s, const std::vector<Phase>& phases, float frameTime) {
    for (const Phase& phase : phases) {
        for (int key : phase.keys) {
            s.input.hold(key);
        }
        for (long i = std::lround(phase.seconds / frameTime); i > 0; --i) {
            s.harness.update(frameTime);
        }
        for (int key : phase.keys) {
            s.input.release(key);
        }
    }
}

// Every model matrix of the level, in list order.
std::vector<glm::mat4> matricesOf(const SceneCreator& level) {
    std::vector<glm::mat4> all{level.player->modelMatrix};
    for (auto* list : {&level.floorSlabs, &level.blocks, &level.backdrops, &level.ducks,
                       &level.duckBalls, &level.puddles, &level.targets}) {
        for (const scene::Model* model : *list) {
            all.push_back(model->modelMatrix);
        }
    }
    return all;
}

// A long frame is played as equal steps of at most 1/60 s: an eighth of a second is exactly
// eight frames of 1/64 s, so the thin resting band under the ball still catches the block.
TEST(GameplayFrameRate, AJumpOntoABlockEndsTheSameAtAnyFrameRate) {
    const std::vector<Phase> jump = {{{GLFW_KEY_SPACE}, 0.625f}, {{GLFW_KEY_W}, 0.5f}, {{}, 4.0f}};
    Session fast;
    place(fast.level.blocks[0], {0.0f, 0.7f, -1.5f});
    play(fast, jump, 1.0f / 64.0f);
    Session slow;
    place(slow.level.blocks[0], {0.0f, 0.7f, -1.5f});
    play(slow, jump, 1.0f / 8.0f);

    EXPECT_TRUE(slow.level.onBlock);
    EXPECT_FALSE(slow.level.gameLost);
    EXPECT_NEAR(positionOf(slow.level.blocks[0]).y, -0.3f, 0.025f);
    EXPECT_TRUE(matricesOf(fast.level) == matricesOf(slow.level));
    EXPECT_EQ(fast.level.bankedDescent, slow.level.bankedDescent);
    EXPECT_EQ(fast.level.pendingDescent, slow.level.pendingDescent);
    EXPECT_EQ(fast.level.onBlock, slow.level.onBlock);
}

// Coming down at 1.5 units a second, a frame of 0.45 s would carry the target from below the
// landing band (0.45 deep) straight into the band that loses.
TEST(GameplayFrameRate, LandingOnATargetWorksAtAFewFramesASecond) {
    for (float frameTime : {0.3f, 0.45f}) {
        SCOPED_TRACE(testing::Message() << "frame time " << frameTime);
        Session s;
        place(s.level.targets[0], {0.0f, 0.0f, -2.7f});
        play(s, {{{GLFW_KEY_SPACE}, 0.9f}, {{GLFW_KEY_W}, 0.9f}, {{}, 3.6f}}, frameTime);
        EXPECT_TRUE(s.level.targetDone[0]);
        EXPECT_FALSE(s.level.gameLost);
        EXPECT_LE(s.level.pendingDescent, 0.0f);
    }
}

TEST(GameplayFrameRate, LongFramesTakeEqualStepsOfAtMostASixtieth) {
    const struct {
        float deltaTime;
        int steps;
    } cases[] = {{0.0f, 1},   {1.0f / 64.0f, 1}, {1.0f / 60.0f, 1}, {0.017f, 2},
                 {0.125f, 8}, {0.3f, 18},        {10.0f, 600},      {std::nanf(""), 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(levelStepCount(c.deltaTime), c.steps) << "frame time " << c.deltaTime;
    }
}

}  // namespace
