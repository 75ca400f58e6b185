#include <gtest/gtest.h>

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "game/SceneCreator.h"
#include "render/Camera.h"
#include "render/Shader.h"
#include "render/Texture.h"
#include "support/LevelHarness.h"
#include "support/TempDir.h"

namespace {

// Each draw as the GPU saw it: the "model" matrix and the "diffuseTexture" unit at the time of
// the draw call.
struct Draw {
    glm::mat4 model;
    int unit;
};

// A program that writes one record per draw call into a storage buffer: every draw of the
// level starts at vertex 0, so the invocation for vertex 0 is the draw. Nothing is rasterised.
class DrawRecorder {
  public:
    DrawRecorder() {
        dir_.write("record.vert", R"(#version 430 core
uniform mat4 model;
uniform int diffuseTexture;
struct Draw { mat4 model; ivec4 info; };
layout(std430, binding = 0) buffer Draws { uint count; uint pad[3]; Draw draws[]; };
void main()
{
    if (gl_VertexID == 0) {
        uint i = atomicAdd(count, 1u);
        if (i < uint(draws.length())) {
            draws[i].model = model;
            draws[i].info = ivec4(diffuseTexture, 0, 0, 0);
        }
    }
    gl_Position = vec4(0.0, 0.0, 0.0, 1.0);
}
)");
        dir_.write("record.frag", R"(#version 430 core
out vec4 colour;
void main() { colour = vec4(1.0); }
)");
        shader_ = std::make_unique<Shader>(dir_.file("record.vert"), dir_.file("record.frag"));
        glGenBuffers(1, &buffer_);
        glBindBuffer(GL_SHADER_STORAGE_BUFFER, buffer_);
        glBufferData(GL_SHADER_STORAGE_BUFFER, kHeader + kCapacity * kRecord, nullptr,
                     GL_DYNAMIC_READ);
        glBindBuffer(GL_SHADER_STORAGE_BUFFER, 0);
    }
    ~DrawRecorder() {
        glBindBufferBase(GL_SHADER_STORAGE_BUFFER, 0, 0);
        glDeleteBuffers(1, &buffer_);
    }

    Shader* shader() { return shader_.get(); }
    GLint modelLocation() const { return glGetUniformLocation(shader_->programHandle, "model"); }

    template <typename Pass>
    std::vector<Draw> record(Pass pass) {
        const GLuint zero[4] = {0, 0, 0, 0};
        glBindBuffer(GL_SHADER_STORAGE_BUFFER, buffer_);
        glBufferSubData(GL_SHADER_STORAGE_BUFFER, 0, sizeof zero, zero);
        glBindBufferBase(GL_SHADER_STORAGE_BUFFER, 0, buffer_);
        shader_->use();
        glEnable(GL_RASTERIZER_DISCARD);
        pass();
        glDisable(GL_RASTERIZER_DISCARD);
        glMemoryBarrier(GL_BUFFER_UPDATE_BARRIER_BIT);

        GLuint count = 0;
        glGetBufferSubData(GL_SHADER_STORAGE_BUFFER, 0, sizeof count, &count);
        std::vector<unsigned char> bytes(static_cast<size_t>(std::min<GLuint>(count, kCapacity)) *
                                         kRecord);
        glGetBufferSubData(GL_SHADER_STORAGE_BUFFER, kHeader, static_cast<GLsizeiptr>(bytes.size()),
                           bytes.data());
        std::vector<Draw> draws(bytes.size() / kRecord);
        for (size_t i = 0; i < draws.size(); ++i) {
            std::memcpy(&draws[i].model, &bytes[i * kRecord], sizeof(glm::mat4));
            std::memcpy(&draws[i].unit, &bytes[i * kRecord + sizeof(glm::mat4)], sizeof(int));
        }
        if (count > kCapacity) {
            ADD_FAILURE() << count << " draws overflowed the recorder";
        }
        return draws;
    }

  private:
    static constexpr GLsizeiptr kHeader = 16;
    static constexpr GLsizeiptr kRecord = 80;  // std430: mat4 then ivec4
    static constexpr GLuint kCapacity = 2048;

    TempDir dir_;
    std::unique_ptr<Shader> shader_;
    GLuint buffer_ = 0;
};

// What a pass is expected to draw, in order.
std::vector<Draw> drawsOf(const std::vector<scene::Model*>& models, int unit) {
    std::vector<Draw> draws;
    for (const scene::Model* model : models) {
        draws.push_back({model->modelMatrix, unit});
    }
    return draws;
}

void append(std::vector<Draw>& to, const std::vector<Draw>& more) {
    to.insert(to.end(), more.begin(), more.end());
}

::testing::AssertionResult sameDraws(const std::vector<Draw>& actual,
                                     const std::vector<Draw>& expected) {
    if (actual.size() != expected.size()) {
        return ::testing::AssertionFailure()
               << actual.size() << " draws instead of " << expected.size();
    }
    for (size_t i = 0; i < actual.size(); ++i) {
        if (actual[i].model != expected[i].model || actual[i].unit != expected[i].unit) {
            const glm::vec4& a = actual[i].model[3];
            const glm::vec4& e = expected[i].model[3];
            return ::testing::AssertionFailure()
                   << "draw " << i << ": unit " << actual[i].unit << " at (" << a.x << ", " << a.y
                   << ", " << a.z << ") instead of unit " << expected[i].unit << " at (" << e.x
                   << ", " << e.y << ", " << e.z << ")";
        }
    }
    return ::testing::AssertionSuccess();
}

// Order does not matter in the depth pass, only that each model is drawn exactly once.
std::vector<std::vector<float>> sortedMatrices(const std::vector<Draw>& draws) {
    std::vector<std::vector<float>> matrices;
    for (const Draw& draw : draws) {
        const float* m = &draw.model[0][0];
        matrices.emplace_back(m, m + 16);
    }
    std::sort(matrices.begin(), matrices.end());
    return matrices;
}

// The camera's start view, and a narrow one of the same camera that leaves much of the level
// outside.
const glm::mat4 kStartView =
    glm::lookAt(glm::vec3(0.0f, 0.5f, 2.0f), glm::vec3(0.0f), glm::vec3(0.0f, 2.0f, 0.0f));
const glm::mat4 kStartProjection = cameraProjection(1024.0f / 768.0f);
const glm::mat4 kNarrowProjection =
    glm::perspective(0.5f, 1024.0f / 768.0f, kCameraNear, kCameraFar);

class SceneDrawing : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        harness_ = new LevelHarness();
        recorder_ = new DrawRecorder();
    }
    static void TearDownTestSuite() {
        delete recorder_;
        delete harness_;
    }

    void SetUp() override {
        SceneCreator& l = level();
        l.targetDone.assign(l.targets.size(), false);
        l.gameWon = false;
        l.gameLost = false;
        l.cullingEnabled = false;
        l.cullingInfo = false;
        l.showLightMarker = false;
        l.drawnCount = 0;
        l.culledCount = 0;
    }

    static SceneCreator& level() { return harness_->level(); }

    static std::vector<Draw> colourPass(const glm::mat4& projection = kStartProjection) {
        return recorder_->record([&] {
            level().draw(recorder_->modelLocation(), recorder_->shader(), kStartView, projection);
        });
    }
    static std::vector<Draw> depthPass(const glm::mat4& projection = kStartProjection) {
        return recorder_->record([&] {
            level().drawDepth(recorder_->modelLocation(), recorder_->shader(), kStartView,
                              projection);
        });
    }
    // The colour pass with its console lines.
    static std::string colourPassOutput() {
        testing::internal::CaptureStdout();
        colourPass();
        return testing::internal::GetCapturedStdout();
    }

    static std::vector<scene::Model*> everyModelButTheMarker() {
        SceneCreator& l = level();
        std::vector<scene::Model*> models;
        for (const auto* list : {&l.floorSlabs, &l.blocks, &l.backdrops, &l.ducks, &l.puddles,
                                 &l.duckBalls, &l.targets}) {
            models.insert(models.end(), list->begin(), list->end());
        }
        models.push_back(l.player);
        return models;
    }

    static LevelHarness* harness_;
    static DrawRecorder* recorder_;
};

LevelHarness* SceneDrawing::harness_ = nullptr;
DrawRecorder* SceneDrawing::recorder_ = nullptr;

// Texture units of the colour pass.
constexpr int kWood = 0, kBubbles = 1, kSmile = 2, kColour = 3, kYellow = 4, kRed = 5, kGreen = 6;

TEST_F(SceneDrawing, ColourPassDrawsEveryModelOnceInOrderWithItsTexture) {
    for (bool lost : {false, true}) {
        SetUp();
        SceneCreator& l = level();
        l.gameLost = lost;
        l.targetDone[3] = true;
        l.targetDone[150] = true;

        std::vector<scene::Model*> red;
        std::vector<scene::Model*> green;
        for (size_t i = 0; i < l.targets.size(); ++i) {
            (l.targetDone[i] ? green : red).push_back(l.targets[i]);
        }
        std::vector<Draw> expected = drawsOf(l.floorSlabs, kWood);
        append(expected, drawsOf(l.blocks, kWood));
        append(expected, drawsOf(l.puddles, kBubbles));
        append(expected, drawsOf(red, kRed));
        // A lost game leaves the red crying face on the player.
        append(expected, drawsOf({l.player}, lost ? kRed : kYellow));
        append(expected, drawsOf(green, kGreen));
        append(expected, drawsOf(l.ducks, kColour));
        append(expected, drawsOf(l.duckBalls, kColour));
        append(expected, drawsOf(l.backdrops, kSmile));
        ASSERT_EQ(expected.size(), 621u);

        testing::internal::CaptureStdout();
        const std::vector<Draw> draws = colourPass();
        testing::internal::GetCapturedStdout();
        EXPECT_TRUE(sameDraws(draws, expected)) << (lost ? "lost" : "in play");
    }

    // The unit numbers name the level's textures.
    const struct {
        int unit;
        const Texture* texture;
    } units[] = {{kWood, level().woodTexture},          {kBubbles, level().bubblesTexture},
                 {kSmile, level().smileTexture},        {kColour, level().colourTexture},
                 {kYellow, level().yellowSmileTexture}, {kRed, level().redCryTexture},
                 {kGreen, level().greenSmileTexture}};
    for (const auto& u : units) {
        glActiveTexture(GL_TEXTURE0 + u.unit);
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(static_cast<GLuint>(bound), u.texture->textureHandle) << "unit " << u.unit;
    }
    glActiveTexture(GL_TEXTURE0);
}

// Marking one flag turns exactly the target of the same index green: the red walk skips it at
// its place in the list.
TEST_F(SceneDrawing, TargetDoneFlagsFollowTheTargetList) {
    for (int index : {0, 25, 26, 30, 117, 118, 177}) {
        SetUp();
        SceneCreator& l = level();
        l.targetDone[static_cast<size_t>(index)] = true;
        std::vector<scene::Model*> others = l.targets;
        others.erase(others.begin() + index);

        const std::vector<Draw> draws = colourPass();
        std::vector<Draw> red;
        std::vector<Draw> green;
        for (const Draw& draw : draws) {
            if (draw.unit == kRed) {
                red.push_back(draw);
            } else if (draw.unit == kGreen) {
                green.push_back(draw);
            }
        }
        EXPECT_TRUE(sameDraws(red, drawsOf(others, kRed))) << "target " << index;
        EXPECT_TRUE(sameDraws(green, drawsOf({l.targets[static_cast<size_t>(index)]}, kGreen)))
            << "target " << index;
    }
}

TEST_F(SceneDrawing, LightMarkerIsDrawnLastAndNotCounted) {
    level().showLightMarker = true;
    level().cullingInfo = true;
    testing::internal::CaptureStdout();
    const std::vector<Draw> draws = colourPass();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Drawn: 621| Culled: 0\n");
    ASSERT_EQ(draws.size(), 622u);
    EXPECT_EQ(draws.back().model, level().lightMarker->modelMatrix);
}

struct EndOfPassCase {
    const char* name;
    int targetsDone;  // the first this many
    bool lost;
    bool cullingInfo;
    bool won;
    const char* output;
};

void PrintTo(const EndOfPassCase& c, std::ostream* out) {
    *out << c.name;
}

const EndOfPassCase kEndOfPassCases[] = {
    {"InPlay", 0, false, false, false, ""},
    {"OneTargetLeft", 177, false, false, false, ""},
    {"EveryTargetDone", 178, false, false, true, "Congratulations, you won the game!\n"},
    {"Lost", 0, true, false, false, "You lost! Try again!\n"},
    {"WonLineBeforeLostLine", 178, true, false, true,
     "Congratulations, you won the game!\nYou lost! Try again!\n"},
    {"CullingLineLast", 178, true, true, true,
     "Congratulations, you won the game!\nYou lost! Try again!\nDrawn: 621| Culled: 0\n"},
    {"CullingLineAlone", 5, false, true, false, "Drawn: 621| Culled: 0\n"},
};

class SceneDrawingEndOfPass : public SceneDrawing,
                              public testing::WithParamInterface<EndOfPassCase> {};

TEST_P(SceneDrawingEndOfPass, WinCheckAndLines) {
    const EndOfPassCase& c = GetParam();
    SceneCreator& l = level();
    std::fill(l.targetDone.begin(), l.targetDone.begin() + c.targetsDone, true);
    l.gameLost = c.lost;
    l.cullingInfo = c.cullingInfo;

    EXPECT_EQ(colourPassOutput(), c.output);
    EXPECT_EQ(l.gameWon, c.won);
    EXPECT_EQ(l.drawnCount, 0);
    EXPECT_EQ(l.culledCount, 0);
    // The counters start again from zero: the next pass prints the same.
    EXPECT_EQ(colourPassOutput(), c.output);
}

INSTANTIATE_TEST_SUITE_P(Cases, SceneDrawingEndOfPass, testing::ValuesIn(kEndOfPassCases),
                         [](const testing::TestParamInfo<EndOfPassCase>& info) {
                             return std::string(info.param.name);
                         });

// With culling on, a target outside the view counts as culled in both target walks.
TEST_F(SceneDrawing, CullingDrawsWhatIsInViewAndCountsTheRest) {
    SceneCreator& l = level();
    l.cullingEnabled = true;
    l.cullingInfo = true;

    std::vector<scene::Model*> visible;
    for (scene::Model* model : everyModelButTheMarker()) {
        if (l.isInFrustum(model, kStartView, kNarrowProjection)) {
            visible.push_back(model);
        }
    }
    const auto outsideTargets =
        std::count_if(l.targets.begin(), l.targets.end(), [&](scene::Model* target) {
            return !l.isInFrustum(target, kStartView, kNarrowProjection);
        });
    ASSERT_GT(outsideTargets, 0);
    ASSERT_GT(visible.size(), 10u);
    ASSERT_LT(visible.size(), 600u);

    testing::internal::CaptureStdout();
    const std::vector<Draw> draws = colourPass(kNarrowProjection);
    const std::string output = testing::internal::GetCapturedStdout();

    const size_t drawn = visible.size();
    const size_t culled = 621 - drawn + static_cast<size_t>(outsideTargets);
    const std::string line =
        "Drawn: " + std::to_string(drawn) + "| Culled: " + std::to_string(culled) + "\n";
    EXPECT_EQ(output, line);
    EXPECT_EQ(sortedMatrices(draws), sortedMatrices(drawsOf(visible, 0)));

    // Both counters start from zero again for the next pass.
    EXPECT_EQ(l.drawnCount, 0);
    EXPECT_EQ(l.culledCount, 0);
    testing::internal::CaptureStdout();
    colourPass(kNarrowProjection);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), line);
}

TEST_F(SceneDrawing, DepthPassDrawsEveryModelOnceAndCountsNothing) {
    SceneCreator& l = level();
    l.drawnCount = 7;
    l.culledCount = 3;
    const std::vector<scene::Model*> models = everyModelButTheMarker();

    EXPECT_EQ(sortedMatrices(depthPass()), sortedMatrices(drawsOf(models, 0)));

    l.showLightMarker = true;
    std::vector<scene::Model*> withMarker = models;
    withMarker.push_back(l.lightMarker);
    EXPECT_EQ(sortedMatrices(depthPass()), sortedMatrices(drawsOf(withMarker, 0)));

    EXPECT_EQ(l.drawnCount, 7);
    EXPECT_EQ(l.culledCount, 3);
}

// Culling in the shadow pass goes by the camera's view, so an object out of view casts none.
TEST_F(SceneDrawing, DepthPassCullsWithTheGivenFrustum) {
    SceneCreator& l = level();
    l.cullingEnabled = true;
    std::vector<scene::Model*> visible;
    for (scene::Model* model : everyModelButTheMarker()) {
        if (l.isInFrustum(model, kStartView, kNarrowProjection)) {
            visible.push_back(model);
        }
    }
    ASSERT_LT(visible.size(), 600u);
    EXPECT_EQ(sortedMatrices(depthPass(kNarrowProjection)), sortedMatrices(drawsOf(visible, 0)));
    EXPECT_EQ(l.drawnCount, 0);
    EXPECT_EQ(l.culledCount, 0);
}

struct FrustumCase {
    const char* name;
    glm::mat4 view;
    glm::mat4 projection;
    glm::mat4 model;  // the bounding cube spans ±1.6 in model units
    bool drawn;
};

void PrintTo(const FrustumCase& c, std::ostream* out) {
    *out << c.name;
}

glm::mat4 T(float x, float y, float z) {
    return glm::translate(glm::mat4(1.0f), {x, y, z});
}

const glm::mat4 kIdentity(1.0f);
// Clip space equal to world space, but with w = 1.6, so a corner of an untransformed cube
// lies exactly on a plane.
const glm::mat4 kWideClip = [] {
    glm::mat4 m(1.0f);
    m[3][3] = 1.6f;
    return m;
}();
const glm::mat4 kEye = glm::lookAt(glm::vec3(0.0f), glm::vec3(0, 0, -1), glm::vec3(0, 1, 0));
const glm::mat4 kPerspective = cameraProjection(4.0f / 3.0f);
const glm::mat4 kDiamond =
    T(2.2f, 2.2f, 0.0f) * glm::rotate(kIdentity, glm::radians(45.0f), glm::vec3(0, 0, 1));

const FrustumCase kFrustumCases[] = {
    {"Inside", kIdentity, kIdentity, glm::scale(kIdentity, glm::vec3(0.5f)), true},
    {"WhollyRight", kIdentity, kIdentity, T(5, 0, 0), false},
    {"WhollyLeft", kIdentity, kIdentity, T(-5, 0, 0), false},
    {"WhollyAbove", kIdentity, kIdentity, T(0, 5, 0), false},
    {"WhollyBelow", kIdentity, kIdentity, T(0, -5, 0), false},
    {"WhollyBeyondFar", kIdentity, kIdentity, T(0, 0, 5), false},
    {"WhollyBeforeNear", kIdentity, kIdentity, T(0, 0, -5), false},
    {"StraddlingOnePlane", kIdentity, kIdentity, T(2, 0, 0), true},
    {"StraddlingTwoPlanes", kIdentity, kIdentity, T(2, 2, 0), true},
    {"LargerThanTheView", kIdentity, kIdentity, glm::scale(kIdentity, glm::vec3(10.0f)), true},
    // Every corner is outside, but no plane has all eight beyond it: kept, conservatively.
    {"CornersOutsideDifferentPlanes", kIdentity, kIdentity, kDiamond, true},
    {"FourCornersOnAPlane", kIdentity, kWideClip, T(3.2f, 0, 0), true},
    {"JustBeyondAPlane", kIdentity, kWideClip, T(3.3f, 0, 0), false},
    {"InFrontOfTheCamera", kEye, kPerspective, T(0, 0, -10), true},
    {"WhollyBehindTheCamera", kEye, kPerspective, T(0, 0, 10), false},
    {"AroundTheCamera", kEye, kPerspective, kIdentity, true},
};

class FrustumTest : public SceneDrawing, public testing::WithParamInterface<FrustumCase> {};

TEST_P(FrustumTest, CullsOnlyWhatLiesWhollyBeyondOnePlane) {
    const FrustumCase& c = GetParam();
    scene::Model cube(kIdentity, &harness_->sceneShader(),
                      "Orbquest/Scene/Content/Models/cube.dae");
    cube.modelMatrix = c.model;
    EXPECT_EQ(level().isInFrustum(&cube, c.view, c.projection), c.drawn);
}

INSTANTIATE_TEST_SUITE_P(Cases, FrustumTest, testing::ValuesIn(kFrustumCases),
                         [](const testing::TestParamInfo<FrustumCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
