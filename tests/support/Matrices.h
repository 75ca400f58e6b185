#pragma once

#include <string>

#include <glm/glm.hpp>

#include "scene/Model.h"

// Where a model stands: the translation column of its model matrix.
inline glm::vec3 positionOf(const scene::Model* model) {
    return glm::vec3(model->modelMatrix[3]);
}

// A translation, as the expected matrices are written.
glm::mat4 T(glm::vec3 offset);
glm::mat4 T(float x, float y, float z);

// Every element within 'tolerance'; each one that is not names its column and row.
void expectMatrixNear(const glm::mat4& actual, const glm::mat4& expected, float tolerance,
                      const std::string& what = "");
