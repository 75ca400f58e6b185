#include "game/LevelLayout.h"

#include <glm/gtc/matrix_transform.hpp>

#include <string>

#include "base/AssetPaths.h"
#include "game/SceneCreator.h"
#include "levels/LevelSet.h"

namespace {

const std::string kCubePath = assets::model("cube.dae");
const std::string kDuckPath = assets::model("duck.dae");
const std::string kSpherePath = assets::model("sphere.dae");

// The cube model spans x and y from -1 to 1 and z from 0 to 2, and every placement below is
// made for it: a slab scaled by 3 at y = -3.3 has its top at y = -0.3, where the player's ball
// (a unit sphere scaled by 0.3) touches the road, and runs from its z back to z + 12; a block
// turned by R90 and scaled by 0.5 hangs from its position down to one unit below, so a block at
// y = 0.7 stands on the road and a target of radius 0.3 at y = 1 sits on its top.
constexpr int kFloorSlabCount = 11;
constexpr float kFloorSlabSpacing = 12.0f;
constexpr int kGateCount = 10;
constexpr float kFirstGateZ = -12.5f;
constexpr float kGateSpacing = 10.0f;
constexpr int kBeamLength = 9;
constexpr int kStairSteps = 5;
constexpr int kStairColumns = 12;
constexpr int kDuckCount = 27;
constexpr float kDuckSpacing = 3.0f;
constexpr int kZigzagTargets = 26;
constexpr float kRoadParTime = 240.0f;  // seconds; the autopilot, flying flawlessly, needs 162

const glm::mat4 kIdentity(1.0f);

glm::mat4 T(const glm::vec3& position) {
    return glm::translate(kIdentity, position);
}
glm::mat4 S(const glm::vec3& size) {
    return glm::scale(kIdentity, size);
}
glm::mat4 S(float x, float y, float z) {
    return S(glm::vec3(x, y, z));
}
// A quarter turn about x, for the blocks.
glm::mat4 R90() {
    return glm::rotate(kIdentity, glm::radians(90.0f), glm::vec3(1, 0, 0));
}
// One radian (not a degree value) about -y, for the ducks and their balls.
glm::mat4 R1() {
    return glm::rotate(kIdentity, 1.0f, glm::vec3(0, -1, 0));
}

float gateZ(int gate) {
    return kFirstGateZ - kGateSpacing * static_cast<float>(gate);
}

// The road, as the level description every level is built from.
void addRoadFloor(levels::LevelDescription& road) {
    for (int i = 0; i < kFloorSlabCount; ++i) {
        const float z = -10.0f - kFloorSlabSpacing * static_cast<float>(i);
        road.floor.push_back({{-1.1f, -3.3f, z}, {6, 3, 6}});
    }
    // The ball's centre may pass the slabs' sides and far end by 0.3 and their near end by 0.2.
    road.ground.push_back({-7.4f, 5.2f, -130.3f, 2.2f});
}

void addRoadBlocks(std::vector<glm::vec3>& blocks) {
    auto addBlock = [&](float x, float y, float z) { blocks.emplace_back(x, y, z); };

    for (int gate = 0; gate < kGateCount; ++gate) {
        const float z = gateZ(gate);
        // Loose blocks on the ground before the gate.
        addBlock(-5.5f, 0.7f, z - 4.0f);
        addBlock(-4.5f, 0.7f, z - 4.0f);
        addBlock(-5.5f, 0.7f, z - 3.0f);
        // Left post, lintel and right post are laid as one walk up, across and down; the lintel
        // starts where the post ended, so that corner block is laid twice.
        float x = -6.6f;
        float y = 0.7f;
        for (int k = 0; k < 4; ++k) {
            addBlock(x, y, z);
            if (k < 3) {
                y += 1.0f;
            }
        }
        for (int k = 0; k < 11; ++k) {
            addBlock(x, y, z);
            x += 1.0f;
        }
        for (int k = 0; k < 4; ++k) {
            addBlock(x, y, z);
            y -= 1.0f;
        }
    }

    for (int k = 0; k < kBeamLength; ++k) {
        const float step = static_cast<float>(k);
        addBlock(3.0f - step, 3.7f, -13.5f - step);
    }

    for (int s = 0; s < kStairSteps; ++s) {
        const float step = static_cast<float>(s);
        for (int j = 0; j < kStairColumns; ++j) {
            const float x = -6.6f + static_cast<float>(j);
            addBlock(x, 0.7f + step, -118.0f - 2.0f * step);
            addBlock(x, 0.7f + step, -117.0f - 2.0f * step);
        }
    }
}

// Each duck with its puddle under it and its ball 0.5 to the right, 0.59 up and 0.3 nearer.
void addRoadDucks(std::vector<levels::Duck>& ducks) {
    for (int i = 0; i < kDuckCount; ++i) {
        const float z = -50.0f - kDuckSpacing * static_cast<float>(i);
        const float ballZ = -49.7f - kDuckSpacing * static_cast<float>(i);
        ducks.push_back({{-10.0f, 0.01f, z}, {-10.0f, -0.3f, z}, {-9.5f, 0.6f, ballZ}});
    }
}

void addRoadTargets(std::vector<glm::vec3>& targets) {
    auto addTarget = [&](float x, float y, float z) { targets.emplace_back(x, y, z); };

    // A zigzag along the road: the offset swings between +2.2 and -2.2 after each target.
    float offset = 0.0f;
    float z = -1.0f;
    for (int i = 0; i < kZigzagTargets; ++i) {
        addTarget(-1.0f + offset, 0.0f, z);
        offset = (i % 2 == 0) ? 2.2f : -2.2f;
        z -= 4.0f;
    }

    // These two coincide with two targets of the first gate below.
    addTarget(-5.5f, 1.0f, -15.5f);
    addTarget(-4.5f, 1.0f, -16.5f);

    for (int gate = 0; gate < kGateCount; ++gate) {
        const float zg = gateZ(gate);
        addTarget(-5.5f, 1.0f, zg - 4.0f);
        addTarget(-4.5f, 1.0f, zg - 4.0f);
        addTarget(-5.5f, 1.0f, zg - 3.0f);
        for (int k = 0; k < 6; ++k) {
            addTarget(-6.6f + 2.0f * static_cast<float>(k), 4.0f, zg);
        }
    }

    for (int s = 0; s < kStairSteps; ++s) {
        const float step = static_cast<float>(s);
        for (int j = 0; j < kStairColumns; ++j) {
            addTarget(-6.6f + static_cast<float>(j), 1.0f + step, -117.0f - 2.0f * step);
        }
    }
}

scene::Model* place(std::vector<scene::Model*>& list, const std::string& path, Shader* shader,
                    float deltaTime, const glm::mat4& placement) {
    auto* model = new scene::Model(kIdentity, shader, path);
    list.push_back(model);
    model->init(deltaTime, placement);
    return model;
}

}  // namespace

levels::LevelDescription roadLevel() {
    levels::LevelDescription road;
    road.name = levels::kRoadName;
    road.title = "The Road";
    road.parTime = kRoadParTime;
    addRoadFloor(road);
    addRoadBlocks(road.blocks);
    addRoadTargets(road.targets);
    addRoadDucks(road.ducks);
    road.backdrops.push_back({{-1.1f, 16.7f, -148.0f}, {15, 15, 0.1f}});
    return road;
}

// Every level is built the same way from its description, each kind of model in its shape.

void SceneCreator::buildFloorSlabs(const levels::LevelDescription& level, float deltaTime,
                                   Shader* shader) {
    for (const levels::Slab& slab : level.floor) {
        place(floorSlabs, kCubePath, shader, deltaTime, T(slab.position) * S(slab.size));
    }
}

void SceneCreator::buildBlocks(const levels::LevelDescription& level, float deltaTime,
                               Shader* shader) {
    const glm::mat4 shape = R90() * S(0.5f, 0.5f, 0.5f);
    for (const glm::vec3& block : level.blocks) {
        place(blocks, kCubePath, shader, deltaTime, T(block) * shape);
    }
}

void SceneCreator::buildBackdrop(const levels::LevelDescription& level, float deltaTime,
                                 Shader* shader) {
    for (const levels::Slab& panel : level.backdrops) {
        place(backdrops, kCubePath, shader, deltaTime, T(panel.position) * S(panel.size));
    }
}

void SceneCreator::buildDucks(const levels::LevelDescription& level, float deltaTime,
                              Shader* shader) {
    for (const levels::Duck& duck : level.ducks) {
        place(ducks, kDuckPath, shader, deltaTime, T(duck.duck) * S(0.005f, 0.005f, 0.005f) * R1());
    }
}

void SceneCreator::buildPuddles(const levels::LevelDescription& level, float deltaTime,
                                Shader* shader) {
    for (const levels::Duck& duck : level.ducks) {
        place(puddles, kSpherePath, shader, deltaTime, T(duck.puddle) * S(1, 0.2f, 1));
    }
}

void SceneCreator::buildDuckBalls(const levels::LevelDescription& level, float deltaTime,
                                  Shader* shader) {
    for (const levels::Duck& duck : level.ducks) {
        place(duckBalls, kSpherePath, shader, deltaTime, T(duck.ball) * S(0.1f, 0.1f, 0.1f) * R1());
    }
}

void SceneCreator::buildPlayer(float deltaTime, Shader* shader) {
    player = new scene::Model(kIdentity, shader, kSpherePath);
    player->init(deltaTime, S(0.3f, 0.3f, 0.3f));
}

void SceneCreator::buildTargets(const levels::LevelDescription& level, float deltaTime,
                                Shader* shader) {
    const glm::mat4 size = S(0.3f, 0.3f, 0.3f);
    for (const glm::vec3& target : level.targets) {
        place(targets, kSpherePath, shader, deltaTime, T(target) * size);
    }
}

void SceneCreator::buildLightMarker(float deltaTime, Shader* shader) {
    lightMarker = new scene::Model(kIdentity, shader, kSpherePath);
    lightMarker->init(deltaTime, T(lightPosition) * S(0.2f, 0.2f, 0.2f));
}
