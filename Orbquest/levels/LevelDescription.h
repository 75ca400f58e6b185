#pragma once

#include <glm/glm.hpp>

#include <string>
#include <vector>

// A level as plain data: what the game builds its models from and what a level file holds.
// Positions are in world units with the ball starting at the origin, y up, the view at the start
// along -z. Every model keeps the shape its kind always has; only floor slabs and backdrops take
// a size.
namespace levels {

// The cube model placed at 'position' and scaled by 'size': it then spans x and y by ±size
// around the position and z from the position's to 2 size.z beyond it.
struct Slab {
    glm::vec3 position{0.0f};
    glm::vec3 size{1.0f};
};

// Where the ball's centre may be while it is at ground height; off every rectangle it falls.
struct GroundRectangle {
    float minX = 0.0f;
    float maxX = 0.0f;
    float minZ = 0.0f;
    float maxZ = 0.0f;
};

// A duck with the puddle under it and the small ball that circles it, each placed explicitly.
struct Duck {
    glm::vec3 duck{0.0f};
    glm::vec3 puddle{0.0f};
    glm::vec3 ball{0.0f};
};

struct LevelDescription {
    std::string name;         // the level's word in the set, in replays and in the records
    std::string title;        // what a list of levels shows
    float parTime = 0.0f;     // seconds a player who knows the keys should win it in
    std::vector<Slab> floor;  // element 0 is the reference the fall rule reads
    std::vector<GroundRectangle> ground;
    std::vector<glm::vec3> blocks;   // the middle of each block's top face
    std::vector<glm::vec3> targets;  // each target's centre
    std::vector<Duck> ducks;
    std::vector<Slab> backdrops;
};

// Exact: every number compared as the float it is.
bool operator==(const LevelDescription& a, const LevelDescription& b);
inline bool operator!=(const LevelDescription& a, const LevelDescription& b) {
    return !(a == b);
}

}  // namespace levels
