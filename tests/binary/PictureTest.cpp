#include <gtest/gtest.h>

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <cmath>
#include <string>

#include "render/Camera.h"
#include "support/GameSession.h"
#include "support/Image.h"
#include "support/FullLook.h"
#include "support/Process.h"
#include "support/Rgb.h"
#include "support/TempDir.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// The start view of the camera, as the game sets it up before the first frame.
const glm::mat4 kView =
    glm::lookAt(glm::vec3(0.0f, 0.5f, 2.0f), glm::vec3(0.0f), glm::vec3(0.0f, 2.0f, 0.0f));
const glm::mat4 kProjection = cameraProjection(1024.0f / 768.0f);

// Pixel column and row (row 0 at the bottom, as FreeImage stores them) of a world point.
glm::ivec2 pixelOf(const glm::vec3& world) {
    const glm::vec4 clip = kProjection * kView * glm::vec4(world, 1.0f);
    const glm::vec3 ndc = glm::vec3(clip) / clip.w;
    return {static_cast<int>((ndc.x + 1.0f) * 0.5f * kWidth),
            static_cast<int>((ndc.y + 1.0f) * 0.5f * kHeight)};
}

class Screenshot {
  public:
    explicit Screenshot(const std::string& path) : image_(readImage(path)) {}

    bool loaded() const { return image_.loaded(); }
    int width() const { return image_.width; }
    int height() const { return image_.height; }

    // Mean colour of the square of side 2 * radius + 1 around a pixel; averaging keeps the
    // wood grain and texture seams from deciding a probe.
    Rgb mean(glm::ivec2 centre, int radius) const {
        Rgb sum;
        int count = 0;
        for (int y = centre.y - radius; y <= centre.y + radius; ++y) {
            for (int x = centre.x - radius; x <= centre.x + radius; ++x) {
                if (image_.contains(x, y)) {
                    const Rgb pixel = image_.rgb(x, y);
                    sum.r += pixel.r;
                    sum.g += pixel.g;
                    sum.b += pixel.b;
                    ++count;
                }
            }
        }
        if (count > 0) {
            sum.r /= count;
            sum.g /= count;
            sum.b /= count;
        }
        return sum;
    }

    Rgb mean(const glm::vec3& world, int radius) const { return mean(pixelOf(world), radius); }

  private:
    Image image_;
};

// One run of the real game for every probe: three frames of the untouched start view.
class Picture : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir();
        const std::string path = dir_->file("start.png");
        // A live cursor turns the orbit camera by however far the pointer jumps when the window
        // grabs it, so the frames take a fixed cursor from a replay and the view stays put.
        dir_->write("still.replay", "frames 3 dt 1/60 cursor 512 384\n");
        // The game's own picture, in its full look: the on-screen display stays hidden.
        run_ = new ProcessResult(
            runGame(withFullLook({"--frames", "3", "--replay", dir_->file("still.replay"),
                                  "--no-hud", "--screenshot", path})));
        shot_ = new Screenshot(path);
    }
    static void TearDownTestSuite() {
        delete shot_;
        delete run_;
        delete dir_;
    }

    void SetUp() override {
        ASSERT_EQ(run_->exitCode, 0) << run_->output;
        ASSERT_TRUE(shot_->loaded());
        ASSERT_EQ(shot_->width(), kWidth);
        ASSERT_EQ(shot_->height(), kHeight);
    }

    static const Screenshot& shot() { return *shot_; }

    static TempDir* dir_;
    static ProcessResult* run_;
    static Screenshot* shot_;
};

TempDir* Picture::dir_ = nullptr;
ProcessResult* Picture::run_ = nullptr;
Screenshot* Picture::shot_ = nullptr;

TEST_F(Picture, RunEndsCleanly) {
    EXPECT_EQ(run_->output.find("An GL-Error occured!"), std::string::npos) << run_->output;
}

TEST_F(Picture, ClearColourWhereNothingIsDrawn) {
    const Rgb corner = shot().mean(glm::ivec2(kWidth - 12, kHeight - 12), 8);
    EXPECT_NEAR(corner.r, 0.9 * 255, 1.5) << corner;
    EXPECT_NEAR(corner.g, 0.7 * 255, 1.5) << corner;
    EXPECT_NEAR(corner.b, 0.1 * 255, 1.5) << corner;
}

// Where the light, the player's ball and the first targets are at the start.
const glm::vec3 kLight(0.0f, 0.6f, 0.0f);
const glm::vec3 kFirstTarget(-1.0f, 0.0f, -1.0f);
const glm::vec3 kSecondTarget(1.2f, 0.0f, -5.0f);
constexpr float kBallRadius = 0.3f;
constexpr float kRoadTop = -0.3f;  // where the ball rests on the first floor slab

bool isBrown(const Rgb& c) {
    return c.r > c.g && c.g > c.b && c.g < 0.7 * c.r && c.r > 40 && c.r < 200;
}

TEST_F(Picture, TheFirstTargetsAreRedFaces) {
    for (const glm::vec3& target : {kFirstTarget, kSecondTarget}) {
        // Pixels well inside the ball's outline; the eyes and tears take some of them.
        const glm::ivec2 centre = pixelOf(target);
        const int radius = static_cast<int>(
            0.6f * glm::length(glm::vec2(pixelOf(target + glm::vec3(kBallRadius, 0, 0)) - centre)));
        ASSERT_GT(radius, 5);
        int red = 0;
        int total = 0;
        for (int dy = -radius; dy <= radius; ++dy) {
            for (int dx = -radius; dx <= radius; ++dx) {
                if (dx * dx + dy * dy > radius * radius) {
                    continue;
                }
                const Rgb c = shot().mean(centre + glm::ivec2(dx, dy), 0);
                // Lit wood has red about twice its green; a red face has well over that.
                red += c.r > 40 && c.r > 2.2 * c.g && c.r > 2.2 * c.b;
                ++total;
            }
        }
        EXPECT_GT(red, total / 2) << "target at " << target.x << ", " << target.z << ": " << red
                                  << " of " << total << " pixels red";
    }
}

// The light hangs just above the player's ball: the top cap shows the yellow face lit, the
// side towards the camera stays in the dark.
TEST_F(Picture, PlayersBallIsYellowAndLitFromAbove) {
    const float angle = glm::radians(30.0f);
    const glm::vec3 cap = kBallRadius * glm::vec3(0.0f, std::cos(angle), std::sin(angle));
    const Rgb lit = shot().mean(cap, 2);
    EXPECT_GT(lit.r, 150) << lit;
    EXPECT_GT(lit.g, 0.6 * lit.r) << "yellow, not red: " << lit;
    EXPECT_LT(lit.b, 0.7 * lit.g) << lit;

    const Rgb facingCamera = shot().mean(glm::vec3(0.0f, 0.0f, kBallRadius), 2);
    EXPECT_LT(facingCamera.luminance(), lit.luminance() / 3) << facingCamera << " vs " << lit;
}

// The first target's shadow on the road lies where the ray from the light through the target's
// centre meets the road's top, beyond the target as seen from the light.
TEST_F(Picture, FirstTargetCastsItsShadowOnTheLitWood) {
    const float t = (kRoadTop - kLight.y) / (kFirstTarget.y - kLight.y);
    const glm::vec3 shadowCentre = kLight + t * (kFirstTarget - kLight);
    ASSERT_NEAR(shadowCentre.x, -1.5f, 1e-4f);
    // Outside both the target's shadow and the ball's own, which lies under the ball.
    const glm::vec3 beside(-1.5f, kRoadTop, -0.2f);
    const glm::vec3 nearTheMiddle(1.0f, kRoadTop, -1.5f);

    const Rgb shadow = shot().mean(shadowCentre, 6);
    const Rgb woodBeside = shot().mean(beside, 6);
    const Rgb woodMiddle = shot().mean(nearTheMiddle, 6);
    EXPECT_TRUE(isBrown(woodBeside)) << woodBeside;
    EXPECT_TRUE(isBrown(woodMiddle)) << woodMiddle;
    EXPECT_LT(shadow.luminance(), 0.35 * woodBeside.luminance()) << shadow << " vs " << woodBeside;
}

// The benchmark's baseline: the window only shows the clear colour, and the run ends cleanly.
TEST(EmptyFramesPicture, ShowsOnlyTheClearColour) {
    TempDir dir;
    const std::string path = dir.file("empty.png");
    const ProcessResult run =
        runGame(withFullLook({"--empty-frames", "--frames", "2", "--screenshot", path}));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output, "Welcome to >>Orbquest<<\n");
    const Screenshot shot(path);
    ASSERT_TRUE(shot.loaded());
    ASSERT_EQ(shot.width(), kWidth);
    for (const glm::vec3& world :
         {glm::vec3(0.0f), kFirstTarget, glm::vec3(1.0f, kRoadTop, -1.5f)}) {
        const Rgb c = shot.mean(world, 4);
        EXPECT_NEAR(c.r, 0.9 * 255, 1.5) << c;
        EXPECT_NEAR(c.g, 0.7 * 255, 1.5) << c;
        EXPECT_NEAR(c.b, 0.1 * 255, 1.5) << c;
    }
}

}  // namespace
