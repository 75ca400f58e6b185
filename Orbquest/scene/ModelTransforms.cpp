#include <glm/gtc/matrix_transform.hpp>

#include "scene/Model.h"

namespace scene {

namespace {

// Per unit of 'amount' (seconds): radians for rolls and spins.
constexpr float kRollSpeed = 3.5f;
constexpr float kSpinSpeed = 1.0f;

const glm::mat4 kIdentity(1.0f);

// The horizontal part of the viewing direction, and that part turned a quarter to the right
// (cross(direction, up) with up = +y). Neither is normalised: the steering keeps its length.
glm::vec3 ahead(glm::vec3 d) {
    return glm::vec3(d.x, 0.0f, d.z);
}
glm::vec3 rightOf(glm::vec3 d) {
    return glm::vec3(-d.z, 0.0f, d.x);
}

// The new rotation goes on the left, i.e. about the world axes rather than the rolled ones.
void turn(glm::mat4& rotation, float angle, glm::vec3 axis) {
    rotation = glm::rotate(kIdentity, angle, axis) * rotation;
}

void shift(glm::mat4& translation, glm::vec3 along, float amount) {
    translation = glm::translate(translation, (along * amount) * kMoveSpeed);
}

void spin(glm::mat4& rotation, float amount, float spinY) {
    turn(rotation, kSpinSpeed * amount, glm::vec3(0.0f, spinY, 0.0f));
}

const glm::vec3 kUpStep(0.0f, kRiseSpeed / kMoveSpeed, 0.0f);
const glm::vec3 kDownStep(0.0f, -kSinkSpeed / kMoveSpeed, 0.0f);

}  // namespace

void Model::rollForward(float amount, glm::vec3 direction) {
    turn(rotationMatrix, kRollSpeed * amount, -rightOf(direction));
    modelMatrix = baseMatrix * rotationMatrix;
}

void Model::rollLeft(float amount, glm::vec3 direction) {
    turn(rotationMatrix, kRollSpeed * amount, -ahead(direction));
    modelMatrix = baseMatrix * rotationMatrix;
}

void Model::rollBackward(float amount, glm::vec3 direction) {
    turn(rotationMatrix, kRollSpeed * amount, rightOf(direction));
    modelMatrix = baseMatrix * rotationMatrix;
}

void Model::rollRight(float amount, glm::vec3 direction) {
    turn(rotationMatrix, kRollSpeed * amount, ahead(direction));
    modelMatrix = baseMatrix * rotationMatrix;
}

void Model::moveForward(float amount, glm::vec3 direction) {
    shift(translationMatrix, ahead(direction), amount);
    modelMatrix = translationMatrix * baseMatrix;
}

void Model::moveLeft(float amount, glm::vec3 direction) {
    shift(translationMatrix, -rightOf(direction), amount);
    modelMatrix = translationMatrix * rotationMatrix * baseMatrix;
}

void Model::moveBackward(float amount, glm::vec3 direction) {
    shift(translationMatrix, -ahead(direction), amount);
    modelMatrix = translationMatrix * baseMatrix;
}

void Model::moveRight(float amount, glm::vec3 direction) {
    shift(translationMatrix, rightOf(direction), amount);
    modelMatrix = translationMatrix * rotationMatrix * baseMatrix;
}

void Model::moveUp(float amount, glm::vec3 /*direction*/) {
    shift(translationMatrix, kUpStep, amount);
    modelMatrix = translationMatrix * baseMatrix;
}

void Model::moveDown(float amount, glm::vec3 /*direction*/) {
    shift(translationMatrix, kDownStep, amount);
    modelMatrix = translationMatrix * baseMatrix;
}

void Model::moveForwardAndSpin(float amount, glm::vec3 direction, float spinY) {
    spin(rotationMatrix, amount, spinY);
    shift(translationMatrix, ahead(direction), amount);
    modelMatrix = translationMatrix * baseMatrix * rotationMatrix;
}

void Model::moveLeftAndSpin(float amount, glm::vec3 direction, float spinY) {
    spin(rotationMatrix, amount, spinY);
    shift(translationMatrix, -rightOf(direction), amount);
    modelMatrix = translationMatrix * baseMatrix * rotationMatrix;
}

void Model::moveBackwardAndSpin(float amount, glm::vec3 direction, float spinY) {
    spin(rotationMatrix, amount, spinY);
    shift(translationMatrix, -ahead(direction), amount);
    modelMatrix = translationMatrix * baseMatrix * rotationMatrix;
}

void Model::moveRightAndSpin(float amount, glm::vec3 direction, float spinY) {
    spin(rotationMatrix, amount, spinY);
    shift(translationMatrix, rightOf(direction), amount);
    modelMatrix = translationMatrix * baseMatrix * rotationMatrix;
}

void Model::moveUpAndSpin(float amount, glm::vec3 /*direction*/, float spinY) {
    spin(rotationMatrix, amount, spinY);
    shift(translationMatrix, kUpStep, amount);
    modelMatrix = translationMatrix * baseMatrix * rotationMatrix;
}

void Model::moveDownAndSpin(float amount, glm::vec3 /*direction*/, float spinY) {
    spin(rotationMatrix, amount, spinY);
    shift(translationMatrix, kDownStep, amount);
    modelMatrix = translationMatrix * baseMatrix * rotationMatrix;
}

}  // namespace scene
