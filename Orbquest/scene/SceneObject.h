#pragma once

#include <glm/glm.hpp>

namespace scene {

// Anything the level places in the world.
class SceneObject {
  public:
    glm::mat4 initialMatrix;  // the matrix given at construction

    explicit SceneObject(const glm::mat4& matrix) : initialMatrix(matrix) {}
    virtual ~SceneObject() = default;

    // Places the object; called once right after construction.
    virtual void init(float deltaTime, glm::mat4 matrix) = 0;
    // Replaces the current world matrix.
    virtual void update(float deltaTime, glm::mat4 matrix) = 0;
    // Issues the draw call; the caller has made the program current and set every uniform.
    virtual void draw() = 0;
};

}  // namespace scene
