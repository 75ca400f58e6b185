#pragma once

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <cstdint>
#include <tuple>
#include <vector>

#include "render/Camera.h"

class LevelHarness;

// Everything a game changes in the level and the camera, and the GL objects that must stay:
// taken from a harness, compared field by field and matrix by matrix.
struct LevelSnapshot {
    struct Placement {
        glm::mat4 model, rotation, translation, base;
        GLuint vertexArray, positionBuffer;
        bool operator==(const Placement& o) const {
            return std::tie(model, rotation, translation, base, vertexArray, positionBuffer) ==
                   std::tie(o.model, o.rotation, o.translation, o.base, o.vertexArray,
                            o.positionBuffer);
        }
    };
    std::vector<Placement> models;  // every list in order, then the player and the light marker
    std::vector<GLuint> textures;
    std::vector<bool> targetDone;
    std::vector<std::uint64_t> blocksUnderPlayer;
    std::uint64_t blocksUnderPlayerEntries;
    bool gameWon, gameLost, falling, onBlock, colliding, collidingTarget, paused;
    float bankedDescent, pendingDescent, targetRange, gameTime;
    glm::vec3 lightPosition;
    int drawnCount, culledCount;
    Camera camera;

    explicit LevelSnapshot(LevelHarness& harness);
};

// Reports every difference as a test failure.
void expectSameLevel(const LevelSnapshot& a, const LevelSnapshot& b);
