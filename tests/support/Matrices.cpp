#include "support/Matrices.h"

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

glm::mat4 T(glm::vec3 offset) {
    return glm::translate(glm::mat4(1.0f), offset);
}

glm::mat4 T(float x, float y, float z) {
    return T(glm::vec3(x, y, z));
}

void expectMatrixNear(const glm::mat4& actual, const glm::mat4& expected, float tolerance,
                      const std::string& what) {
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            EXPECT_NEAR(actual[c][r], expected[c][r], tolerance)
                << what << (what.empty() ? "" : " ") << "column " << c << " row " << r;
        }
    }
}
