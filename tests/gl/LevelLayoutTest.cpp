#include <gtest/gtest.h>

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <tuple>
#include <limits>
#include <memory>
#include <set>
#include <vector>

#include "game/LevelLayout.h"
#include "game/SceneCreator.h"
#include "levels/LevelFile.h"
#include "render/SceneRenderer.h"
#include "render/Shader.h"
#include "render/Texture.h"
#include "support/GlContext.h"
#include "support/LevelHarness.h"
#include "support/Matrices.h"

namespace {

using ModelList = std::vector<scene::Model*> SceneCreator::*;

glm::mat4 S(float x, float y, float z) {
    return glm::scale(glm::mat4(1.0f), {x, y, z});
}
glm::mat4 S(float s) {
    return S(s, s, s);
}

::testing::AssertionResult near(const glm::vec3& actual, const glm::vec3& expected) {
    if (glm::all(glm::lessThan(glm::abs(actual - expected), glm::vec3(1e-4f)))) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "(" << actual.x << ", " << actual.y << ", " << actual.z << ") instead of ("
           << expected.x << ", " << expected.y << ", " << expected.z << ")";
}

// The level is only read here, so one build serves every test.
class LevelLayout : public testing::Test {
  protected:
    static void SetUpTestSuite() { harness_ = new LevelHarness(); }
    static void TearDownTestSuite() {
        delete harness_;
        harness_ = nullptr;
    }
    static SceneCreator& level() { return harness_->level(); }
    static scene::Model* at(ModelList list, size_t i) { return (level().*list).at(i); }

    static LevelHarness* harness_;
};

LevelHarness* LevelLayout::harness_ = nullptr;

// The road written as a level file and read back builds the very same models, bit for bit, in
// the same order, with the same fall rule.
TEST_F(LevelLayout, TheRoadFromItsOwnFileIsTheSameModelForModel) {
    const levels::LevelRead read = levels::parseLevel(levels::formatLevel(roadLevel()), "road");
    ASSERT_EQ(read.error, "");
    SceneCreator fromFile(read.level, 0.0f, &harness_->sceneShader());
    for (ModelList list : {&SceneCreator::floorSlabs, &SceneCreator::blocks,
                           &SceneCreator::backdrops, &SceneCreator::ducks, &SceneCreator::puddles,
                           &SceneCreator::duckBalls, &SceneCreator::targets}) {
        const std::vector<scene::Model*>& built = level().*list;
        const std::vector<scene::Model*>& read = fromFile.*list;
        ASSERT_EQ(read.size(), built.size());
        for (size_t i = 0; i < built.size(); ++i) {
            EXPECT_EQ(std::memcmp(&read[i]->modelMatrix, &built[i]->modelMatrix, sizeof(glm::mat4)),
                      0)
                << i;
        }
    }
    EXPECT_EQ(fromFile.modelCount(), 622u);
    const levels::FallLimits& a = fromFile.fallLimits;
    const levels::FallLimits& b = level().fallLimits;
    ASSERT_EQ(a.ground.size(), 1u);
    EXPECT_EQ(std::memcmp(&a.ground[0], &b.ground[0], sizeof(levels::GroundLimits)), 0);
    EXPECT_EQ(std::tie(a.groundHeight, a.lostHeight), std::tie(b.groundHeight, b.lostHeight));
}

TEST_F(LevelLayout, ListSizesAndStartState) {
    const struct {
        const char* name;
        ModelList list;
        size_t size;
    } lists[] = {
        {"floorSlabs", &SceneCreator::floorSlabs, 11}, {"blocks", &SceneCreator::blocks, 349},
        {"backdrops", &SceneCreator::backdrops, 1},    {"ducks", &SceneCreator::ducks, 27},
        {"puddles", &SceneCreator::puddles, 27},       {"duckBalls", &SceneCreator::duckBalls, 27},
        {"targets", &SceneCreator::targets, 178},
    };
    for (const auto& l : lists) {
        EXPECT_EQ((level().*l.list).size(), l.size) << l.name;
    }
    ASSERT_NE(level().player, nullptr);
    ASSERT_NE(level().lightMarker, nullptr);
    EXPECT_EQ(level().modelCount(), 622u);

    EXPECT_EQ(level().targetDone, std::vector<bool>(178, false));
    EXPECT_TRUE(near(level().lightPosition, {0.0f, 0.6f, 0.0f}));
    EXPECT_FALSE(level().cullingEnabled);
    EXPECT_FALSE(level().cullingInfo);
    EXPECT_FALSE(level().showLightMarker);
    EXPECT_FALSE(level().gameWon);
    EXPECT_FALSE(level().gameLost);
}

TEST_F(LevelLayout, PlacementMatricesOfEachKindOfModel) {
    const glm::mat4 quarterTurnAboutX =
        glm::rotate(glm::mat4(1.0f), glm::radians(90.0f), glm::vec3(1, 0, 0));
    const glm::mat4 radianAboutMinusY = glm::rotate(glm::mat4(1.0f), 1.0f, glm::vec3(0, -1, 0));
    const struct {
        const char* name;
        const scene::Model* model;
        glm::mat4 expected;
    } cases[] = {
        {"first floor slab", at(&SceneCreator::floorSlabs, 0), T(-1.1f, -3.3f, -10) * S(6, 3, 6)},
        {"last floor slab", at(&SceneCreator::floorSlabs, 10), T(-1.1f, -3.3f, -130) * S(6, 3, 6)},
        {"first block", at(&SceneCreator::blocks, 0),
         T(-5.5f, 0.7f, -16.5f) * quarterTurnAboutX * S(0.5f)},
        {"last block", at(&SceneCreator::blocks, 348),
         T(4.4f, 4.7f, -125) * quarterTurnAboutX * S(0.5f)},
        {"backdrop", at(&SceneCreator::backdrops, 0), T(-1.1f, 16.7f, -148) * S(15, 15, 0.1f)},
        {"first duck", at(&SceneCreator::ducks, 0),
         T(-10, 0.01f, -50) * S(0.005f) * radianAboutMinusY},
        {"last duck", at(&SceneCreator::ducks, 26),
         T(-10, 0.01f, -128) * S(0.005f) * radianAboutMinusY},
        {"first puddle", at(&SceneCreator::puddles, 0), T(-10, -0.3f, -50) * S(1, 0.2f, 1)},
        {"first duck ball", at(&SceneCreator::duckBalls, 0),
         T(-9.5f, 0.6f, -49.7f) * S(0.1f) * radianAboutMinusY},
        {"last duck ball", at(&SceneCreator::duckBalls, 26),
         T(-9.5f, 0.6f, -127.7f) * S(0.1f) * radianAboutMinusY},
        {"first target", at(&SceneCreator::targets, 0), T(-1, 0, -1) * S(0.3f)},
        {"last target", at(&SceneCreator::targets, 177), T(4.4f, 5, -125) * S(0.3f)},
        {"player", level().player, S(0.3f)},
        {"light marker", level().lightMarker, T(0, 0.6f, 0) * S(0.2f)},
    };
    for (const auto& c : cases) {
        for (int column = 0; column < 4; ++column) {
            for (int row = 0; row < 4; ++row) {
                EXPECT_NEAR(c.model->modelMatrix[column][row], c.expected[column][row], 1e-5f)
                    << c.name << " [" << column << "][" << row << "]";
            }
        }
    }
}

TEST_F(LevelLayout, GatesHaveTheirTopLeftCornerLaidTwice) {
    for (int gate = 0; gate < 10; ++gate) {
        const float z = -12.5f - 10.0f * static_cast<float>(gate);
        const glm::vec3 left(-6.6f, 3.7f, z);
        const glm::vec3 right(4.4f, 3.7f, z);
        EXPECT_TRUE(near(positionOf(at(&SceneCreator::blocks, 22 * gate + 6)), left)) << gate;
        EXPECT_TRUE(near(positionOf(at(&SceneCreator::blocks, 22 * gate + 7)), left)) << gate;
        EXPECT_TRUE(near(positionOf(at(&SceneCreator::blocks, 22 * gate + 18)), right)) << gate;

        int lefts = 0;
        int rights = 0;
        for (int i = 22 * gate; i < 22 * gate + 22; ++i) {
            const glm::vec3 p = positionOf(at(&SceneCreator::blocks, i));
            lefts += near(p, left);
            rights += near(p, right);
        }
        EXPECT_EQ(lefts, 2) << gate;
        EXPECT_EQ(rights, 1) << gate;
    }
}

TEST_F(LevelLayout, BeamRunsDiagonallyAfterTheGates) {
    for (int k = 0; k < 9; ++k) {
        const float step = static_cast<float>(k);
        EXPECT_TRUE(near(positionOf(at(&SceneCreator::blocks, 220 + k)),
                         {3.0f - step, 3.7f, -13.5f - step}))
            << k;
    }
}

// Step by step, column by column, the deeper block of each column first; the stair targets
// sit on the nearer block of their column.
TEST_F(LevelLayout, StairsAndTheirTargets) {
    for (int s = 0; s < 5; ++s) {
        for (int j = 0; j < 12; ++j) {
            const float x = -6.6f + static_cast<float>(j);
            const float y = 0.7f + static_cast<float>(s);
            const float z = -118.0f - 2.0f * static_cast<float>(s);
            const int block = 229 + 24 * s + 2 * j;
            EXPECT_TRUE(near(positionOf(at(&SceneCreator::blocks, block)), {x, y, z}))
                << s << "," << j;
            EXPECT_TRUE(near(positionOf(at(&SceneCreator::blocks, block + 1)), {x, y, z + 1.0f}))
                << s << "," << j;
            EXPECT_TRUE(near(
                positionOf(at(&SceneCreator::targets, 118 + 12 * s + j)),
                positionOf(at(&SceneCreator::blocks, block + 1)) + glm::vec3(0.0f, 0.3f, 0.0f)))
                << s << "," << j;
        }
    }
    EXPECT_TRUE(near(positionOf(at(&SceneCreator::targets, 118)), {-6.6f, 1.0f, -117.0f}));
}

TEST_F(LevelLayout, ZigzagTargetsAndTheTwoThatCoincide) {
    for (int i = 0; i < 26; ++i) {
        const float x = i == 0 ? -1.0f : (i % 2 == 1 ? 1.2f : -3.2f);
        EXPECT_TRUE(near(positionOf(at(&SceneCreator::targets, i)),
                         {x, 0.0f, -1.0f - 4.0f * static_cast<float>(i)}))
            << i;
    }
    EXPECT_TRUE(near(positionOf(at(&SceneCreator::targets, 25)), {1.2f, 0.0f, -101.0f}));

    const struct {
        int first;
        int second;
        glm::vec3 position;
    } pairs[] = {{26, 30, {-5.5f, 1.0f, -15.5f}}, {27, 29, {-4.5f, 1.0f, -16.5f}}};
    for (const auto& p : pairs) {
        EXPECT_TRUE(near(positionOf(at(&SceneCreator::targets, p.first)), p.position)) << p.first;
        EXPECT_TRUE(near(positionOf(at(&SceneCreator::targets, p.second)), p.position)) << p.second;
    }
}

TEST_F(LevelLayout, FirstAndLastOfTheOtherLists) {
    const struct {
        const char* name;
        const scene::Model* model;
        glm::vec3 position;
    } cases[] = {
        {"first floor slab", at(&SceneCreator::floorSlabs, 0), {-1.1f, -3.3f, -10.0f}},
        {"last floor slab", at(&SceneCreator::floorSlabs, 10), {-1.1f, -3.3f, -130.0f}},
        {"first duck", at(&SceneCreator::ducks, 0), {-10.0f, 0.01f, -50.0f}},
        {"last duck", at(&SceneCreator::ducks, 26), {-10.0f, 0.01f, -128.0f}},
        {"first duck ball", at(&SceneCreator::duckBalls, 0), {-9.5f, 0.6f, -49.7f}},
        {"last duck ball", at(&SceneCreator::duckBalls, 26), {-9.5f, 0.6f, -127.7f}},
        {"light marker", level().lightMarker, {0.0f, 0.6f, 0.0f}},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(near(positionOf(c.model), c.position)) << c.name;
    }
}

// The scene shader turns normals with the cofactor of the model matrix, which points the
// right way only while no placement mirrors its model.
TEST_F(LevelLayout, NoPlacementMirrorsItsModel) {
    std::vector<const scene::Model*> models{level().player, level().lightMarker};
    for (ModelList list : {&SceneCreator::floorSlabs, &SceneCreator::blocks,
                           &SceneCreator::backdrops, &SceneCreator::ducks, &SceneCreator::duckBalls,
                           &SceneCreator::puddles, &SceneCreator::targets}) {
        models.insert(models.end(), (level().*list).begin(), (level().*list).end());
    }
    ASSERT_EQ(models.size(), level().modelCount());
    for (const scene::Model* model : models) {
        EXPECT_GT(glm::determinant(glm::mat3(model->modelMatrix)), 0.0f)
            << "at " << positionOf(model).x << ", " << positionOf(model).y << ", "
            << positionOf(model).z;
    }
}

// Every model and texture owns its GL objects, and the level's destructor releases all of
// them. A second delete of a model would show under the leak check's memory checker.
TEST(LevelLifetime, DestructionReleasesEveryGlObject) {
    sharedGlContext();
    std::unique_ptr<Shader> shader(newSceneShader());
    shader->use();
    auto level = std::make_unique<SceneCreator>(0.0f, shader.get());

    std::vector<GLuint> buffers;
    std::vector<GLuint> arrays;
    auto collect = [&](const scene::Model* model) {
        for (GLuint buffer : {model->positionBuffer, model->normalBuffer, model->uvBuffer}) {
            ASSERT_NE(buffer, 0u);
            buffers.push_back(buffer);
        }
        arrays.push_back(model->vertexArray);
    };
    for (const auto* list : {&level->floorSlabs, &level->blocks, &level->backdrops, &level->ducks,
                             &level->puddles, &level->duckBalls, &level->targets}) {
        for (const scene::Model* model : *list) {
            collect(model);
        }
    }
    collect(level->player);
    collect(level->lightMarker);
    std::vector<GLuint> textures;
    for (const Texture* texture :
         {level->woodTexture, level->bubblesTexture, level->smileTexture, level->colourTexture,
          level->yellowSmileTexture, level->redCryTexture, level->greenSmileTexture}) {
        ASSERT_NE(texture, nullptr);
        textures.push_back(texture->textureHandle);
    }

    ASSERT_EQ(arrays.size(), 622u);
    EXPECT_EQ(std::set<GLuint>(buffers.begin(), buffers.end()).size(), 3 * 622u);
    EXPECT_EQ(std::set<GLuint>(arrays.begin(), arrays.end()).size(), 622u);
    EXPECT_EQ(std::set<GLuint>(textures.begin(), textures.end()).size(), 7u);
    auto alive = [](const std::vector<GLuint>& names, GLboolean (*isName)(GLuint)) {
        return std::count_if(names.begin(), names.end(),
                             [isName](GLuint name) { return isName(name) == GL_TRUE; });
    };
    auto isBuffer = [](GLuint name) { return glIsBuffer(name); };
    auto isArray = [](GLuint name) { return glIsVertexArray(name); };
    auto isTexture = [](GLuint name) { return glIsTexture(name); };
    EXPECT_EQ(alive(buffers, isBuffer), 3 * 622);
    EXPECT_EQ(alive(arrays, isArray), 622);
    EXPECT_EQ(alive(textures, isTexture), 7);

    level.reset();

    EXPECT_EQ(alive(buffers, isBuffer), 0);
    EXPECT_EQ(alive(arrays, isArray), 0);
    EXPECT_EQ(alive(textures, isTexture), 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// World-space box of a model as placed, from its own mesh.
struct Box {
    glm::vec3 low{std::numeric_limits<float>::max()};
    glm::vec3 high{std::numeric_limits<float>::lowest()};
};

Box boxOf(const scene::Model* model) {
    Box box;
    for (GLuint v = 0; v < model->vertexCount; ++v) {
        const float* p = &model->positions[3 * v];
        const glm::vec3 world(model->baseMatrix * glm::vec4(p[0], p[1], p[2], 1.0f));
        box.low = glm::min(box.low, world);
        box.high = glm::max(box.high, world);
    }
    return box;
}

constexpr float kTouch = 1e-4f;

bool sameHeight(float a, float b) {
    return std::abs(a - b) < kTouch;
}

// Footprints on the ground overlap or share an edge or a corner.
bool footprintsTouch(const Box& a, const Box& b) {
    return a.low.x <= b.high.x + kTouch && b.low.x <= a.high.x + kTouch &&
           a.low.z <= b.high.z + kTouch && b.low.z <= a.high.z + kTouch;
}

bool footprintHolds(const Box& box, float x, float z) {
    return box.low.x <= x && x <= box.high.x && box.low.z <= z && z <= box.high.z;
}

// The road, the blocks and the targets fit together as the game rules read them: the ball
// rests on the road, blocks stand on the road or on and against blocks, targets sit on what
// is under them.
TEST_F(LevelLayout, EverythingStandsOnWhatIsUnderIt) {
    std::vector<Box> slabs;
    for (const scene::Model* slab : level().floorSlabs) {
        slabs.push_back(boxOf(slab));
    }
    const float roadTop = slabs.front().high.y;
    for (const Box& slab : slabs) {
        EXPECT_NEAR(slab.high.y, roadTop, kTouch);
    }
    EXPECT_NEAR(slabs.front().high.z, 2.0f, kTouch) << "the road's near end";
    EXPECT_NEAR(slabs.back().low.z, -130.0f, kTouch) << "the road's far end";
    const Box ball = boxOf(level().player);
    EXPECT_NEAR(ball.low.y, roadTop, kTouch) << "the ball rests on the road";
    EXPECT_TRUE(footprintHolds(slabs.front(), 0.0f, 0.0f));

    std::vector<Box> blocks;
    for (const scene::Model* block : level().blocks) {
        blocks.push_back(boxOf(block));
    }
    // A block is carried when it stands on the road, on a carried block, or level with and
    // against one (a lintel between its posts, a beam, the back row of a stair step).
    std::vector<bool> carried(blocks.size());
    for (size_t i = 0; i < blocks.size(); ++i) {
        carried[i] = sameHeight(blocks[i].low.y, roadTop);
    }
    for (bool grew = true; grew;) {
        grew = false;
        for (size_t i = 0; i < blocks.size(); ++i) {
            for (size_t j = 0; j < blocks.size() && !carried[i]; ++j) {
                carried[i] = carried[j] && footprintsTouch(blocks[i], blocks[j]) &&
                             (sameHeight(blocks[j].high.y, blocks[i].low.y) ||
                              sameHeight(blocks[j].low.y, blocks[i].low.y));
                grew = grew || carried[i];
            }
        }
    }
    for (size_t i = 0; i < blocks.size(); ++i) {
        EXPECT_TRUE(carried[i]) << "block " << i << " floats with its bottom at "
                                << blocks[i].low.y;
    }

    for (size_t i = 0; i < level().targets.size(); ++i) {
        const Box target = boxOf(level().targets[i]);
        const glm::vec3 centre = (target.low + target.high) * 0.5f;
        bool sits = sameHeight(target.low.y, roadTop);
        for (const Box& block : blocks) {
            sits = sits || (sameHeight(block.high.y, target.low.y) &&
                            footprintHolds(block, centre.x, centre.z));
        }
        EXPECT_TRUE(sits) << "target " << i << " floats with its bottom at " << target.low.y;
    }
}

}  // namespace
