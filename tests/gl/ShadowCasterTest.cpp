#include <gtest/gtest.h>

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <string>
#include <vector>

#include "app/Settings.h"
#include "base/AssetPaths.h"
#include "game/Material.h"
#include "render/SceneRenderer.h"
#include "render/Shader.h"
#include "render/ShadowMap.h"
#include "render/Texture.h"
#include "scene/Model.h"
#include "support/GlContext.h"
#include "support/Rgb.h"

// The game's two shader programs and passes on a small stage: a point light, an occluder two
// units from it and a receiver further out on the same side, one case per side of the light.
// Each picture is taken twice, with and without the occluder in the shadow pass, and only the
// receiver is drawn in the colour pass, so what changes at its centre is the occluder's shadow.
// Every case runs with each shadow quality's scene program.
namespace {

const std::string kSpherePath = assets::model("sphere.dae");  // unit sphere
const std::string kTexturePath = assets::image("wood-2.png");

constexpr int kPictureSize = 64;           // pixels per side of the offscreen picture
constexpr int kProbeRadius = 4;            // the probe is the centre 9 x 9 pixels
const glm::vec3 kLight(0.0f, 0.6f, 0.0f);  // where the game's light hangs
constexpr float kOccluderRadius = 0.3f;
constexpr float kReceiverHalfThickness = 0.1f;
constexpr float kReceiverHalfWidth = 4.0f;
constexpr float kCameraToReceiver = 2.0f;  // the camera looks at the receiver from the light's side

const ShadowQuality kQualities[] = {ShadowQuality::Soft, ShadowQuality::Fast, ShadowQuality::Hard,
                                    ShadowQuality::Soft};  // soft again after the others

constexpr int kQualityCount = 3;

struct ShadowCase {
    const char* name;
    glm::vec3 direction;     // from the light, along one axis
    float occluderDistance;  // from the light to the occluder's centre
    float receiverDistance;  // from the light to the receiver's near face
    bool shadowed;
};

// An offscreen colour and depth target of kPictureSize square, owned by the test.
class Picture {
  public:
    Picture() {
        glGenFramebuffers(1, &framebuffer_);
        glGenRenderbuffers(2, renderbuffers_);
        glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers_[0]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, kPictureSize, kPictureSize);
        glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers_[1]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, kPictureSize, kPictureSize);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                                  renderbuffers_[0]);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                                  renderbuffers_[1]);
        complete_ = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }
    ~Picture() {
        glDeleteFramebuffers(1, &framebuffer_);
        glDeleteRenderbuffers(2, renderbuffers_);
    }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    bool complete() const { return complete_; }
    void bind() const { glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_); }

    // Mean colour of the probe square at the centre; expects the picture bound.
    Rgb centre() const {
        std::vector<unsigned char> pixels(kPictureSize * kPictureSize * 4);
        glReadPixels(0, 0, kPictureSize, kPictureSize, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        Rgb sum;
        int count = 0;
        const int middle = kPictureSize / 2;
        for (int y = middle - kProbeRadius; y <= middle + kProbeRadius; ++y) {
            for (int x = middle - kProbeRadius; x <= middle + kProbeRadius; ++x) {
                const unsigned char* p = &pixels[(y * kPictureSize + x) * 4];
                sum.r += p[0];
                sum.g += p[1];
                sum.b += p[2];
                ++count;
            }
        }
        sum.r /= count;
        sum.g /= count;
        sum.b /= count;
        return sum;
    }

  private:
    GLuint framebuffer_ = 0;
    GLuint renderbuffers_[2] = {0, 0};
    bool complete_ = false;
};

class ShadowCaster : public testing::TestWithParam<ShadowCase> {
  protected:
    static void SetUpTestSuite() {
        sharedGlContext();
        resetSettings();
        depth_ = newDepthShader();
        for (ShadowQuality shadows : kQualities) {
            Shader*& program = scenes_[static_cast<int>(shadows)];
            if (!program) {
                program = newSceneShader(shadows);
            }
        }
        scenes_[0]->use();  // the models take their attribute locations from it (all alike)
        occluder_ = new scene::Model(glm::mat4(1.0f), scenes_[0], kSpherePath);
        receiver_ = new scene::Model(glm::mat4(1.0f), scenes_[0], kSpherePath);
        texture_ = new Texture(kTexturePath);
        picture_ = new Picture();
        createShadowFramebuffer();
        // The game's fixed state that matters here: depth test and back-face culling.
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
    }

    static void TearDownTestSuite() {
        deleteShadowFramebuffer();
        delete picture_;
        delete texture_;
        delete receiver_;
        delete occluder_;
        for (Shader*& program : scenes_) {
            delete program;
            program = nullptr;
        }
        delete depth_;
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        resetSettings();
    }

    void SetUp() override {
        const ShadowCase& c = GetParam();
        const glm::vec3 d = c.direction;
        occluder_->modelMatrix = glm::translate(glm::mat4(1.0f), kLight + c.occluderDistance * d) *
                                 glm::scale(glm::mat4(1.0f), glm::vec3(kOccluderRadius));
        // A plate across the direction: thin along it, wide across it.
        const glm::vec3 across = glm::vec3(kReceiverHalfWidth) -
                                 (kReceiverHalfWidth - kReceiverHalfThickness) * glm::abs(d);
        receiver_->modelMatrix =
            glm::translate(glm::mat4(1.0f),
                           kLight + (c.receiverDistance + kReceiverHalfThickness) * d) *
            glm::scale(glm::mat4(1.0f), across);
    }

    // The receiver's centre as the camera sees it through the program of 'shadows', after a
    // shadow pass with the receiver and, if asked, the occluder.
    static Rgb receiverCentre(bool withOccluder, ShadowQuality shadows) {
        const ShadowCase& c = GetParam();
        beginShadowPass(depth_, kLight);
        const GLint depthModel = glGetUniformLocation(depth_->programHandle, "model");
        for (scene::Model* model : {receiver_, occluder_}) {
            if (model == receiver_ || withOccluder) {
                glUniformMatrix4fv(depthModel, 1, GL_FALSE, glm::value_ptr(model->modelMatrix));
                model->draw();
            }
        }
        glBindFramebuffer(GL_FRAMEBUFFER, 0);

        Shader* program = scenes_[static_cast<int>(shadows)];
        program->use();
        picture_->bind();
        beginColourPass(program, colourPassSettings(kPictureSize, kPictureSize), shadows);
        const glm::vec3 target = kLight + c.receiverDistance * c.direction;
        const glm::vec3 eye = target - kCameraToReceiver * c.direction;
        const glm::vec3 up = c.direction.y != 0.0f ? glm::vec3(0, 0, 1) : glm::vec3(0, 1, 0);
        const glm::mat4 view = glm::lookAt(eye, target, up);
        const glm::mat4 projection = glm::perspective(glm::radians(60.0f), 1.0f, 0.1f, 100.0f);
        setViewAndLight(program, projection * view, kLight);
        glUniform3fv(glGetUniformLocation(program->programHandle, "viewPos"), 1,
                     glm::value_ptr(eye));
        applyMaterial(program, kWarmMaterial);
        texture_->bind(0);
        glUniform1i(glGetUniformLocation(program->programHandle, "diffuseTexture"), 0);
        glUniformMatrix4fv(glGetUniformLocation(program->programHandle, "model"), 1, GL_FALSE,
                           glm::value_ptr(receiver_->modelMatrix));
        receiver_->draw();
        const Rgb centre = picture_->centre();
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        return centre;
    }

    static Shader* depth_;
    static Shader* scenes_[kQualityCount];  // by shadow quality
    static scene::Model* occluder_;
    static scene::Model* receiver_;
    static Texture* texture_;
    static Picture* picture_;
};

Shader* ShadowCaster::depth_ = nullptr;
Shader* ShadowCaster::scenes_[kQualityCount] = {nullptr, nullptr, nullptr};
scene::Model* ShadowCaster::occluder_ = nullptr;
scene::Model* ShadowCaster::receiver_ = nullptr;
Texture* ShadowCaster::texture_ = nullptr;
Picture* ShadowCaster::picture_ = nullptr;

TEST_P(ShadowCaster, OccluderDarkensTheReceiverOnlyWithinTheShadowRange) {
    ASSERT_TRUE(picture_->complete());
    for (ShadowQuality shadows : kQualities) {
        SCOPED_TRACE(shadowQualityName(shadows));
        const Rgb lit = receiverCentre(false, shadows);
        const Rgb withOccluder = receiverCentre(true, shadows);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

        // The unshadowed receiver faces the light: well lit, not just ambient.
        EXPECT_GT(lit.luminance(), 60.0) << lit;
        if (GetParam().shadowed) {
            EXPECT_LT(withOccluder.luminance(), 0.35 * lit.luminance())
                << withOccluder << " in the shadow vs " << lit << " lit";
        } else {
            EXPECT_NEAR(withOccluder.luminance(), lit.luminance(), 0.02 * lit.luminance() + 1.0)
                << withOccluder << " with the occluder vs " << lit << " without";
        }
    }
}

// Near: the occluder close to the light, the receiver well inside the shadow range. Inside:
// both just short of "far_plane", so a shadow pass that drops too much loses the occluder.
// Beyond: the receiver a fifth of a unit past "far_plane", where the light reaches everything.
constexpr float kNearOccluder = 2.0f;
constexpr float kNearReceiver = 5.0f;
constexpr float kInsideOccluder = kShadowFar - 1.5f;
constexpr float kInsideReceiver = kShadowFar - 0.5f;
constexpr float kBeyondReceiver = kShadowFar + 0.2f;

const ShadowCase kShadowCases[] = {
    {"PositiveX", {1, 0, 0}, kNearOccluder, kNearReceiver, true},
    {"NegativeX", {-1, 0, 0}, kNearOccluder, kNearReceiver, true},
    {"PositiveY", {0, 1, 0}, kNearOccluder, kNearReceiver, true},
    {"NegativeY", {0, -1, 0}, kNearOccluder, kNearReceiver, true},
    {"PositiveZ", {0, 0, 1}, kNearOccluder, kNearReceiver, true},
    {"NegativeZ", {0, 0, -1}, kNearOccluder, kNearReceiver, true},
    {"PositiveXJustInsideFar", {1, 0, 0}, kInsideOccluder, kInsideReceiver, true},
    {"NegativeYJustInsideFar", {0, -1, 0}, kInsideOccluder, kInsideReceiver, true},
    {"NegativeZJustInsideFar", {0, 0, -1}, kInsideOccluder, kInsideReceiver, true},
    {"PositiveXBeyondFar", {1, 0, 0}, kNearOccluder, kBeyondReceiver, false},
    {"NegativeYBeyondFar", {0, -1, 0}, kNearOccluder, kBeyondReceiver, false},
    {"NegativeZBeyondFar", {0, 0, -1}, kNearOccluder, kBeyondReceiver, false},
};

INSTANTIATE_TEST_SUITE_P(Sides, ShadowCaster, testing::ValuesIn(kShadowCases),
                         [](const testing::TestParamInfo<ShadowCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
