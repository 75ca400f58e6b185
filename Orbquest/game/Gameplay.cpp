#include "game/SceneCreator.h"

#include <glm/gtc/matrix_transform.hpp>

#include "input/Input.h"
#include "game/GameRules.h"

namespace {

using Move = void (scene::Model::*)(float, glm::vec3);
using MoveAndSpin = void (scene::Model::*)(float, glm::vec3, float);

constexpr float kSpinY = -1.0f;  // everything that spins while moving turns about (0, -1, 0)
constexpr float kDuckBallLoopRate = 6.0f;  // radians per second of a duck ball's own loop
constexpr float kDuckBallLoopLift = 4.5f;  // units per second along the loop's local y
const glm::vec3 kUp(0.0f, 1.0f, 0.0f);
const glm::vec3 kDown(0.0f, -1.0f, 0.0f);

}  // namespace

// The world moves against the player's travel; the targets (and, for the ground keys, the
// puddles) spin while they move.
struct SceneCreator::KeyAction {
    int key;
    Move roll;
    MoveAndSpin targetMove;
    Move worldMove;
    MoveAndSpin puddleSpinMove;  // null: the puddles take worldMove
};

const SceneCreator::KeyAction SceneCreator::keyActions[] = {
    {GLFW_KEY_W, &scene::Model::rollForward, &scene::Model::moveBackwardAndSpin,
     &scene::Model::moveBackward, &scene::Model::moveBackwardAndSpin},
    {GLFW_KEY_A, &scene::Model::rollLeft, &scene::Model::moveRightAndSpin, &scene::Model::moveRight,
     &scene::Model::moveRightAndSpin},
    {GLFW_KEY_S, &scene::Model::rollBackward, &scene::Model::moveForwardAndSpin,
     &scene::Model::moveForward, &scene::Model::moveForwardAndSpin},
    {GLFW_KEY_D, &scene::Model::rollRight, &scene::Model::moveLeftAndSpin, &scene::Model::moveLeft,
     &scene::Model::moveLeftAndSpin},
    // Space lifts the player: the world sinks and the ball rolls as under W.
    {GLFW_KEY_SPACE, &scene::Model::rollForward, &scene::Model::moveDownAndSpin,
     &scene::Model::moveDown, nullptr},
};

namespace {

void moveAll(std::vector<scene::Model*>& models, Move move, float amount, glm::vec3 direction) {
    for (scene::Model* model : models) {
        (model->*move)(amount, direction);
    }
}

void moveAndSpinAll(std::vector<scene::Model*>& models, MoveAndSpin move, float amount,
                    glm::vec3 direction) {
    for (scene::Model* model : models) {
        (model->*move)(amount, direction, kSpinY);
    }
}

}  // namespace

void SceneCreator::update(float deltaTime, GLFWwindow* window, glm::vec3 front) {
    checkBounds(deltaTime);
    processInput(deltaTime, window, front);

    // The animations replace the matrices directly; the next movement operation rebuilds them
    // from its own accumulated state, so they only accumulate while nothing moves.
    for (scene::Model* target : targets) {
        target->update(deltaTime, glm::rotate(target->modelMatrix, deltaTime, kDown));
    }
    const glm::mat4 duckSpin = glm::rotate(glm::mat4(1.0f), deltaTime, kUp);
    for (scene::Model* duck : ducks) {
        duck->update(deltaTime, duck->modelMatrix * duckSpin);
    }
    for (scene::Model* puddle : puddles) {
        puddle->update(deltaTime, glm::rotate(puddle->modelMatrix, deltaTime, kDown));
    }
    const glm::mat4 loopTurn =
        glm::rotate(glm::mat4(1.0f), kDuckBallLoopRate * deltaTime, glm::vec3(1, 0, 0));
    const glm::mat4 loopLift =
        glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, kDuckBallLoopLift * deltaTime, 0.0f));
    for (scene::Model* ball : duckBalls) {
        ball->update(deltaTime, ball->modelMatrix * loopLift * loopTurn);
    }
    // Each ball also circles the vertical line through its own duck.
    for (size_t i = 0; i < duckBalls.size(); ++i) {
        glm::mat4 duckCentre(1.0f);
        duckCentre[3] = glm::vec4(positionOf(ducks[i]->modelMatrix), 1.0f);
        const glm::mat4 circle = duckCentre * duckSpin * glm::inverse(duckCentre);
        duckBalls[i]->update(deltaTime, circle * duckBalls[i]->modelMatrix);
    }

    if (pendingDescent > 0.0f) {
        for (size_t i = 0; i < targets.size(); ++i) {
            targets[i]->moveUpAndSpin(deltaTime, front, kSpinY);
            checkTargetHit(static_cast<int>(i));
            checkLanding(static_cast<int>(i));
        }
        for (auto* list : {&floorSlabs, &backdrops, &blocks, &ducks, &puddles, &duckBalls}) {
            moveAll(*list, &scene::Model::moveUp, deltaTime, front);
        }
        pendingDescent -= rules::kDescentSpendRate * deltaTime;
    }
}

void SceneCreator::processInput(float deltaTime, GLFWwindow* window, glm::vec3 front) {
    settleOnBlocks();

    for (size_t i = 0; i < blocks.size(); ++i) {
        if (touchesBlock(static_cast<int>(i))) {
            colliding = true;
        }
    }
    // Block contacts are pushed back in the frame that finds them, target contacts (found
    // below) in the next one. A target push carries the player forward, a block push back.
    if (colliding) {
        pushBack(deltaTime, collidingTarget ? -front : front);
    }
    for (size_t i = 0; i < targets.size(); ++i) {
        if (touchesTarget(static_cast<int>(i))) {
            colliding = true;
            collidingTarget = true;
        }
    }

    if (falling) {
        return;
    }
    for (const KeyAction& action : keyActions) {
        if (input::getKey(window, action.key) != GLFW_RELEASE) {
            applyKey(action, deltaTime, front);
        }
    }
}

// Resting on a block sets the pending descent aside; once at most one of the recorded
// entries still carries the player, the banked descent is handed back.
void SceneCreator::settleOnBlocks() {
    for (size_t i = 0; i < blocks.size(); ++i) {
        if (restsOnBlock(static_cast<int>(i))) {
            bankedDescent += pendingDescent;
            pendingDescent = 0.0f;
            onBlock = true;
            ++blocksUnderPlayer[i];
            ++blocksUnderPlayerEntries;
        }
    }
    if (!onBlock) {
        return;
    }
    std::uint64_t entriesNotCarrying = 0;
    for (size_t i = 0; i < blocksUnderPlayer.size(); ++i) {
        if (blocksUnderPlayer[i] > 0 && !restsOnBlock(static_cast<int>(i))) {
            entriesNotCarrying += blocksUnderPlayer[i];
        }
    }
    if (entriesNotCarrying + 1 >= blocksUnderPlayerEntries) {
        pendingDescent += bankedDescent;
        bankedDescent = 0.0f;
        onBlock = false;
    }
}

void SceneCreator::applyKey(const KeyAction& action, float deltaTime, glm::vec3 front) {
    (player->*action.roll)(deltaTime, front);
    // Every moved target is checked at once, so the order of the targets matters.
    for (size_t i = 0; i < targets.size(); ++i) {
        (targets[i]->*action.targetMove)(deltaTime, front, kSpinY);
        checkTargetHit(static_cast<int>(i));
        checkLanding(static_cast<int>(i));
    }
    moveAll(floorSlabs, action.worldMove, deltaTime, front);
    moveAll(backdrops, action.worldMove, deltaTime, front);
    moveAll(blocks, action.worldMove, deltaTime, front);
    moveAll(ducks, action.worldMove, deltaTime, front);
    if (action.puddleSpinMove) {
        moveAndSpinAll(puddles, action.puddleSpinMove, deltaTime, front);
    } else {
        moveAll(puddles, action.worldMove, deltaTime, front);
    }
    moveAll(duckBalls, action.worldMove, deltaTime, front);
    if (action.key == GLFW_KEY_SPACE) {
        pendingDescent += rules::kSpaceDescentRate * deltaTime;
    }
}

// Moves the whole level one frame's worth along 'direction': with the camera's front this
// carries the player back, against the view.
void SceneCreator::pushBack(float amount, glm::vec3 direction) {
    colliding = false;
    collidingTarget = false;
    moveAll(targets, &scene::Model::moveForward, amount, direction);
    moveAll(floorSlabs, &scene::Model::moveForward, amount, direction);
    moveAll(backdrops, &scene::Model::moveForward, amount, direction);
    moveAll(blocks, &scene::Model::moveForward, amount, direction);
    moveAll(ducks, &scene::Model::moveForward, amount, direction);
    moveAndSpinAll(puddles, &scene::Model::moveForwardAndSpin, amount, direction);
    moveAll(duckBalls, &scene::Model::moveForward, amount, direction);
}
