#pragma once

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <cstdint>
#include <vector>

#include "levels/FallLimits.h"
#include "levels/LevelDescription.h"
#include "scene/Model.h"

class Shader;
class Texture;
struct GLFWwindow;

// The level: every model, the seven textures, the game state and the culling options. Other
// parts of the game read and write these fields directly.
//
// The player's ball never leaves the world origin: travel, lifting and falling move every other
// object the opposite way, so an object's position relative to the player is simply the
// translation of its model matrix.
class SceneCreator {
  public:
    std::vector<scene::Model*> floorSlabs;  // element 0 is the reference for the fall rule
    std::vector<scene::Model*> blocks;      // gates, beam and stairs; the player can stand on them
    std::vector<scene::Model*> backdrops;
    std::vector<scene::Model*> ducks;
    std::vector<scene::Model*> duckBalls;  // element i circles element i of ducks
    std::vector<scene::Model*> puddles;    // element i lies under element i of ducks
    std::vector<scene::Model*> targets;
    std::vector<bool> targetDone;  // same index as targets
    bool gameWon = false;
    bool gameLost = false;
    float bankedDescent = 0.0f;   // descent set aside while the player rests on a block
    float pendingDescent = 0.0f;  // descent still to come; the level rises while it is positive
    float targetRange = 0.5f;     // half-width of the square in which a target is under the player
    scene::Model* player = nullptr;
    scene::Model* lightMarker = nullptr;
    glm::vec3 lightPosition{0.0f};
    bool showLightMarker = false;
    Texture* woodTexture = nullptr;
    Texture* bubblesTexture = nullptr;
    Texture* smileTexture = nullptr;
    Texture* colourTexture = nullptr;
    Texture* yellowSmileTexture = nullptr;
    Texture* redCryTexture = nullptr;
    Texture* greenSmileTexture = nullptr;
    bool falling = false;  // the player has left the road; the keys do nothing any more
    bool cullingEnabled = false;
    bool cullingInfo = false;
    int drawnCount = 0;   // objects drawn by the current colour pass
    int culledCount = 0;  // objects the current colour pass skipped
    // False while frames are fast-forwarded: the colour pass then only counts, checks for the
    // win and prints its lines, without binding or drawing anything.
    bool drawModels = true;
    // False for a second picture of a frame whose lines were already printed.
    bool reportLines = true;
    // The blocks the player has rested on, as entries per block index (the resting rule counts
    // entries with their duplicates); held as counts so memory stays bounded by the blocks.
    std::vector<std::uint64_t> blocksUnderPlayer;
    std::uint64_t blocksUnderPlayerEntries = 0;  // all entries, duplicates included
    bool onBlock = false;
    bool colliding = false;
    bool collidingTarget = false;
    // Seconds of game time: the frame times of every frame the level was updated in. It stops
    // while the game is paused and starts again from 0 on a restart.
    float gameTime = 0.0f;
    // The level's ground and fall heights, as limits on floor slab 0's position.
    levels::FallLimits fallLimits;
    // While set the main loop neither updates the level nor turns the camera; both passes
    // still draw.
    bool paused = false;

    // Builds the whole level with 'shader' (current, not owned) for every model: the road, or
    // the level described (which needs at least one floor slab).
    SceneCreator(float deltaTime, Shader* shader);
    SceneCreator(const levels::LevelDescription& level, float deltaTime, Shader* shader);
    virtual ~SceneCreator();

    SceneCreator(const SceneCreator&) = delete;
    SceneCreator& operator=(const SceneCreator&) = delete;

    // The colour pass: textures, materials, optional culling, then the win check and the
    // end-of-game and culling lines.
    virtual void draw(GLint modelLocation, Shader* shader, glm::mat4 view, glm::mat4 projection);
    // The per-frame world update: bounds, player control, animations, descent.
    virtual void update(float deltaTime, GLFWwindow* window, glm::vec3 front);
    // Contacts and the W, A, S, D and Space keys.
    virtual void processInput(float deltaTime, GLFWwindow* window, glm::vec3 front);

    // The shadow pass: every object into the depth cube map, uncounted.
    void drawDepth(GLint modelLocation, Shader* shader, glm::mat4 view, glm::mat4 projection);

    // Shared by both passes.
    void bindTexture(Texture* texture, Shader* shader, int unit);
    void drawCounted(scene::Model* model, GLint modelLocation);
    void drawUncounted(scene::Model* model, GLint modelLocation);
    bool isInFrustum(scene::Model* model, glm::mat4 view, glm::mat4 projection);
    void setWarmMaterial(Shader* shader);
    void setGreyMaterial(Shader* shader);

    // A new game on the same level: every model back where it was built, every game flag and
    // counter as constructed, the clock at 0. Nothing is loaded or created again; the render
    // options the hotkeys switch (culling, its counts, the light marker) stay as they are.
    void reset();

    // Number of models the level owns, the player and the light marker included.
    size_t modelCount() const;

  private:
    friend struct SceneCreatorInspector;  // lets the tests call the rules one by one

    void buildFloorSlabs(const levels::LevelDescription& level, float deltaTime, Shader* shader);
    void buildBlocks(const levels::LevelDescription& level, float deltaTime, Shader* shader);
    void buildBackdrop(const levels::LevelDescription& level, float deltaTime, Shader* shader);
    void buildDucks(const levels::LevelDescription& level, float deltaTime, Shader* shader);
    void buildPuddles(const levels::LevelDescription& level, float deltaTime, Shader* shader);
    void buildDuckBalls(const levels::LevelDescription& level, float deltaTime, Shader* shader);
    void buildPlayer(float deltaTime, Shader* shader);
    void buildTargets(const levels::LevelDescription& level, float deltaTime, Shader* shader);
    void buildLightMarker(float deltaTime, Shader* shader);
    void resetGameState();

    // Draws by the per-object rule of the colour pass: counted, or culled and counted as such.
    void drawOrCull(scene::Model* model, GLint modelLocation, const glm::mat4& view,
                    const glm::mat4& projection);
    void drawOrCullAll(const std::vector<scene::Model*>& models, GLint modelLocation,
                       const glm::mat4& view, const glm::mat4& projection);
    void drawTargets(bool done, GLint modelLocation, const glm::mat4& view,
                     const glm::mat4& projection);

    // Game rules. Positions are relative to the player's ball, which stays at the origin.
    static glm::vec3 positionOf(glm::mat4 matrix);
    void checkTargetHit(int i);
    void checkLanding(int i);
    void checkBounds(float deltaTime);
    bool restsOnBlock(int i);
    bool touchesBlock(int i);
    bool touchesTarget(int i);
    void pushBack(float amount, glm::vec3 direction);

    struct KeyAction;  // what one of W, A, S, D and Space does to each kind of object
    static const KeyAction keyActions[];  // in the order the keys are tested

    void settleOnBlocks();
    void applyKey(const KeyAction& action, float deltaTime, glm::vec3 front);
};
