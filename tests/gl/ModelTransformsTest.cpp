#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "render/SceneRenderer.h"
#include "render/Shader.h"
#include "scene/Model.h"
#include "support/GlContext.h"
#include "support/TempDir.h"

namespace {

using scene::Model;

const glm::mat4 kIdentity(1.0f);

glm::mat4 R(float angle, glm::vec3 axis) {
    return glm::rotate(kIdentity, angle, axis);
}
glm::mat4 T(glm::vec3 offset) {
    return glm::translate(kIdentity, offset);
}

void expectMatrixNear(const glm::mat4& actual, const glm::mat4& expected, const char* what) {
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            EXPECT_NEAR(actual[c][r], expected[c][r], 1e-5f)
                << what << " column " << c << " row " << r;
        }
    }
}

class ModelTransformsTest : public testing::Test {
  protected:
    void SetUp() override {
        sharedGlContext();
        dir.write("triangle.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
        shader.reset(newSceneShader());
        model = std::make_unique<Model>(kIdentity, shader.get(), dir.file("triangle.obj"));
    }

    TempDir dir;
    std::unique_ptr<Shader> shader;
    std::unique_ptr<Model> model;
};

// How an operation combines the three matrices into modelMatrix.
enum class Order { BaseRot, TransBase, TransRotBase, TransBaseRot };

struct Operation {
    const char* name;
    std::function<void(Model&, float amount, glm::vec3 direction, float spinY)> apply;
    Order order;
    // For direction (2, 5, -1): the horizontal part f = (2, 0, -1) and r = (1, 0, 2).
    glm::vec3 rollAxis;  // zero: no roll
    float spinY;         // zero: no spin
    glm::vec3 step;      // the base vector scaled by 3 * amount; zero: no move
};

const glm::vec3 kNone(0.0f);
const glm::vec3 kDirection(2.0f, 5.0f, -1.0f);
const glm::vec3 kAhead(2.0f, 0.0f, -1.0f);
const glm::vec3 kRight(1.0f, 0.0f, 2.0f);
const glm::vec3 kUp(0.0f, 0.5f, 0.0f);
const glm::vec3 kDown(0.0f, -2.0f, 0.0f);

#define MOVE(op) [](Model& m, float a, glm::vec3 d, float) { m.op(a, d); }
#define SPIN(op) [](Model& m, float a, glm::vec3 d, float s) { m.op(a, d, s); }

const Operation kOperations[] = {
    {"rollForward", MOVE(rollForward), Order::BaseRot, -kRight, 0, kNone},
    {"rollLeft", MOVE(rollLeft), Order::BaseRot, -kAhead, 0, kNone},
    {"rollBackward", MOVE(rollBackward), Order::BaseRot, kRight, 0, kNone},
    {"rollRight", MOVE(rollRight), Order::BaseRot, kAhead, 0, kNone},
    {"moveForward", MOVE(moveForward), Order::TransBase, kNone, 0, kAhead},
    {"moveLeft", MOVE(moveLeft), Order::TransRotBase, kNone, 0, -kRight},
    {"moveBackward", MOVE(moveBackward), Order::TransBase, kNone, 0, -kAhead},
    {"moveRight", MOVE(moveRight), Order::TransRotBase, kNone, 0, kRight},
    {"moveUp", MOVE(moveUp), Order::TransBase, kNone, 0, kUp},
    {"moveDown", MOVE(moveDown), Order::TransBase, kNone, 0, kDown},
    {"moveForwardAndSpin", SPIN(moveForwardAndSpin), Order::TransBaseRot, kNone, -1, kAhead},
    {"moveLeftAndSpin", SPIN(moveLeftAndSpin), Order::TransBaseRot, kNone, -1, -kRight},
    {"moveBackwardAndSpin", SPIN(moveBackwardAndSpin), Order::TransBaseRot, kNone, -1, -kAhead},
    {"moveRightAndSpin", SPIN(moveRightAndSpin), Order::TransBaseRot, kNone, -1, kRight},
    {"moveUpAndSpin", SPIN(moveUpAndSpin), Order::TransBaseRot, kNone, -1, kUp},
    {"moveDownAndSpin", SPIN(moveDownAndSpin), Order::TransBaseRot, kNone, -1, kDown},
};

#undef MOVE
#undef SPIN

// Starts every operation from a placement and accumulated state that commute with nothing, so
// a wrong product order or a rotation added on the wrong side changes the result.
TEST_F(ModelTransformsTest, EveryOperationUpdatesItsMatricesAndComposesInItsOwnOrder) {
    const glm::mat4 base = T({1.0f, 2.0f, 3.0f}) * glm::scale(kIdentity, {2.0f, 0.5f, 1.5f});
    const glm::mat4 rotation = R(0.7f, {1.0f, 1.0f, 0.0f}) * R(0.4f, {0.0f, 0.0f, 1.0f});
    const glm::mat4 translation = T({4.0f, -1.0f, 2.0f});

    for (const Operation& op : kOperations) {
        for (float amount : {0.0f, 0.25f}) {
            SCOPED_TRACE(std::string(op.name) + " amount " + std::to_string(amount));
            model->init(0.0f, base);
            model->rotationMatrix = rotation;
            model->translationMatrix = translation;
            model->update(0.0f, T({100.0f, 100.0f, 100.0f}));  // must be recomputed, even at 0

            op.apply(*model, amount, kDirection, -1.0f);

            glm::mat4 rot = rotation;
            if (op.rollAxis != kNone) {
                rot = R(3.5f * amount, op.rollAxis) * rotation;
            } else if (op.spinY != 0.0f) {
                rot = R(amount, {0.0f, op.spinY, 0.0f}) * rotation;
            }
            const glm::mat4 trans = T(3.0f * amount * op.step) * translation;
            glm::mat4 expected;
            switch (op.order) {
                case Order::BaseRot:
                    expected = base * rot;
                    break;
                case Order::TransBase:
                    expected = trans * base;
                    break;
                case Order::TransRotBase:
                    expected = trans * rot * base;
                    break;
                case Order::TransBaseRot:
                    expected = trans * base * rot;
                    break;
            }
            expectMatrixNear(model->rotationMatrix, rot, "rotationMatrix");
            expectMatrixNear(model->translationMatrix, trans, "translationMatrix");
            expectMatrixNear(model->baseMatrix, base, "baseMatrix");
            expectMatrixNear(model->modelMatrix, expected, "modelMatrix");
        }
    }
}

TEST_F(ModelTransformsTest, RollForwardTurnsTheTopTowardsTheViewingDirectionWhateverItsLength) {
    for (glm::vec3 direction : {glm::vec3(0, 0, -1), glm::vec3(0, 0, -5), glm::vec3(0, 3, -0.2f)}) {
        Model& m = *model;
        m.rotationMatrix = kIdentity;
        m.rollForward(0.2f, direction);
        expectMatrixNear(m.rotationMatrix, R(0.7f, {-1.0f, 0.0f, 0.0f}), "rotationMatrix");
        const glm::vec4 top = m.rotationMatrix * glm::vec4(0, 1, 0, 1);
        EXPECT_LT(top.z, -0.6f);  // sin(0.7) of the way forward
    }
}

TEST_F(ModelTransformsTest, MovesSteerWithTheUnnormalisedHorizontalPartOfTheDirection) {
    model->moveForward(0.5f, {0.0f, 0.8f, -0.6f});
    expectMatrixNear(model->translationMatrix, T({0.0f, 0.0f, -0.9f}), "forward");

    model->translationMatrix = kIdentity;
    model->moveRight(0.5f, {0.0f, 0.8f, -0.6f});
    expectMatrixNear(model->translationMatrix, T({0.9f, 0.0f, 0.0f}), "right");
}

TEST_F(ModelTransformsTest, UpAndDownIgnoreTheDirectionAndDifferInSpeed) {
    model->moveUp(1.0f, {3.0f, 0.0f, 7.0f});
    expectMatrixNear(model->translationMatrix, T({0.0f, 1.5f, 0.0f}), "up");
    model->moveDown(1.0f, {-2.0f, 1.0f, 0.5f});
    expectMatrixNear(model->translationMatrix, T({0.0f, -4.5f, 0.0f}), "up then down");
}

TEST_F(ModelTransformsTest, OppositeMovesCancelOut) {
    const glm::vec3 direction(0.3f, -0.2f, 0.9f);
    model->translationMatrix = T({1.0f, 2.0f, 3.0f});
    model->moveForward(0.37f, direction);
    model->moveRight(0.11f, direction);
    model->moveBackward(0.37f, direction);
    model->moveLeft(0.11f, direction);
    expectMatrixNear(model->translationMatrix, T({1.0f, 2.0f, 3.0f}), "translationMatrix");
}

TEST_F(ModelTransformsTest, SpinTurnsByTheAmountAboutTheGivenVerticalAxis) {
    model->moveForwardAndSpin(0.5f, {0.0f, 0.0f, -1.0f}, -1.0f);
    // About -y, a positive angle turns +x towards +z.
    const glm::vec4 x = model->rotationMatrix * glm::vec4(1, 0, 0, 0);
    EXPECT_NEAR(x.x, std::cos(0.5f), 1e-5f);
    EXPECT_NEAR(x.y, 0.0f, 1e-5f);
    EXPECT_NEAR(x.z, std::sin(0.5f), 1e-5f);
}

TEST_F(ModelTransformsTest, LaterRotationsTurnAboutWorldAxesNotRolledOnes) {
    const glm::vec3 direction(0.0f, 0.0f, -1.0f);
    const glm::mat4 forward = R(3.5f * 0.3f, {-1.0f, 0.0f, 0.0f});
    const glm::mat4 right = R(3.5f * 0.2f, {0.0f, 0.0f, -1.0f});

    model->rollForward(0.3f, direction);
    model->rollRight(0.2f, direction);
    expectMatrixNear(model->rotationMatrix, right * forward, "forward then right");

    model->rotationMatrix = kIdentity;
    model->rollRight(0.2f, direction);
    model->rollForward(0.3f, direction);
    expectMatrixNear(model->rotationMatrix, forward * right, "right then forward");
}

}  // namespace
