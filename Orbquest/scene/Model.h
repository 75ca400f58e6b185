#pragma once

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <string>

#include "scene/SceneObject.h"

class Shader;

namespace scene {

// World units per second of 'amount' that the move operations carry an object: along the
// steering direction (per unit of its horizontal length), up, and down.
constexpr float kMoveSpeed = 3.0f;
constexpr float kRiseSpeed = 1.5f;
constexpr float kSinkSpeed = 6.0f;

// A triangle mesh imported from a model file, expanded into plain per-attribute vertex buffers
// and drawn with one glDrawArrays. It also carries the matrices the movement operations
// accumulate and the eight corners the frustum test transforms.
class Model : public SceneObject {
  public:
    glm::mat4 modelMatrix{1.0f};   // the world matrix every pass and gameplay test reads
    glm::vec4 boundingCorners[8];  // model space, the same ±1.6 cube for every model
    float* positions = nullptr;    // 3 floats per vertex
    float* normals = nullptr;      // 3 floats per vertex
    float* uvs = nullptr;          // 2 floats per vertex
    GLuint vertexCount = 0;        // 3 × faceCount
    GLuint faceCount = 0;
    GLuint vertexArray = 0;
    GLuint positionBuffer = 0;          // 0 when the mesh has no positions
    GLuint normalBuffer = 0;            // 0 when the mesh has no normals
    GLuint uvBuffer = 0;                // 0 when the mesh has no first texture-coordinate set
    Shader* shader = nullptr;           // not owned; its attribute locations shape the vertex array
    glm::mat4 rotationMatrix{1.0f};     // accumulated by the roll and spin operations
    glm::mat4 translationMatrix{1.0f};  // accumulated by the move operations
    glm::mat4 baseMatrix{1.0f};         // the placement given to init

    Model(const glm::mat4& matrix, Shader* shader, const std::string& path);
    ~Model() override;

    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    void init(float deltaTime, glm::mat4 matrix) override;
    // Back to the placement init gave, as if never moved, rolled or spun; the mesh and its
    // buffers stay.
    void resetPlacement();
    void update(float deltaTime, glm::mat4 matrix) override;
    void draw() override;

    // Movement operations. 'amount' is the frame time in seconds; 'direction' is the camera's
    // viewing direction, of which only the horizontal part steers (unnormalised); spinY is the
    // y of the spin axis (the game passes -1).
    void rollForward(float amount, glm::vec3 direction);
    void rollLeft(float amount, glm::vec3 direction);
    void rollBackward(float amount, glm::vec3 direction);
    void rollRight(float amount, glm::vec3 direction);

    void moveForward(float amount, glm::vec3 direction);
    void moveLeft(float amount, glm::vec3 direction);
    void moveBackward(float amount, glm::vec3 direction);
    void moveRight(float amount, glm::vec3 direction);
    void moveUp(float amount, glm::vec3 direction);
    void moveDown(float amount, glm::vec3 direction);

    void moveForwardAndSpin(float amount, glm::vec3 direction, float spinY);
    void moveLeftAndSpin(float amount, glm::vec3 direction, float spinY);
    void moveBackwardAndSpin(float amount, glm::vec3 direction, float spinY);
    void moveRightAndSpin(float amount, glm::vec3 direction, float spinY);
    void moveUpAndSpin(float amount, glm::vec3 direction, float spinY);
    void moveDownAndSpin(float amount, glm::vec3 direction, float spinY);
};

}  // namespace scene
