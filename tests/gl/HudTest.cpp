#include <gtest/gtest.h>

#include <GL/glew.h>

#include <algorithm>
#include <string>
#include <vector>

#include "hud/Hud.h"
#include "hud/HudLayout.h"
#include "render/GlSetup.h"
#include "support/GlContext.h"

namespace {

// An offscreen picture the display draws into, cleared to the sky; rows read back top first.
class Picture {
  public:
    Picture(int width, int height) : width_(width), height_(height) {
        sharedGlContext();
        glGenFramebuffers(1, &framebuffer_);
        glGenRenderbuffers(1, &colour_);
        glBindRenderbuffer(GL_RENDERBUFFER, colour_);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
        glViewport(0, 0, width, height);
        glClearColor(kClearColour[0], kClearColour[1], kClearColour[2], kClearColour[3]);
        glClear(GL_COLOR_BUFFER_BIT);
        sky_ = pixels();
    }
    ~Picture() {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteRenderbuffers(1, &colour_);
        glDeleteFramebuffers(1, &framebuffer_);
    }

    std::vector<unsigned char> pixels() const {
        std::vector<unsigned char> bottomUp(4 * static_cast<size_t>(width_) * height_);
        glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
        std::vector<unsigned char> topDown(bottomUp.size());
        const size_t row = 4 * static_cast<size_t>(width_);
        for (int y = 0; y < height_; ++y) {
            std::copy_n(&bottomUp[(height_ - 1 - y) * row], row, &topDown[y * row]);
        }
        return topDown;
    }

    // Pixels within the box (fractions of the picture) that are not the sky.
    int inked(float left, float top, float right, float bottom) const {
        const std::vector<unsigned char> all = pixels();
        int count = 0;
        for (int y = static_cast<int>(top * height_); y < static_cast<int>(bottom * height_); ++y) {
            for (int x = static_cast<int>(left * width_); x < static_cast<int>(right * width_);
                 ++x) {
                const size_t at = 4 * (static_cast<size_t>(y) * width_ + x);
                count += !std::equal(&all[at], &all[at + 3], &sky_[at]);
            }
        }
        return count;
    }

  private:
    int width_;
    int height_;
    GLuint framebuffer_ = 0;
    GLuint colour_ = 0;
    std::vector<unsigned char> sky_;  // the picture as cleared
};

class HudTest : public testing::Test {
  protected:
    void SetUp() override {
        sharedGlContext();
        std::string error;
        ASSERT_TRUE(hud.init(error)) << error;
    }

    static HudState pausedGame() {
        HudState state;
        state.targetsDone = 37;
        state.targetsTotal = 178;
        state.gameTime = 75.25f;
        state.bestTime = 162.375f;
        state.paused = true;
        return state;
    }

    Hud hud;
};

struct WindowSize {
    int width;
    int height;
};

class HudPicture : public HudTest, public testing::WithParamInterface<WindowSize> {};

// The corner, the centre and the key line each where they belong, and nothing elsewhere.
TEST_P(HudPicture, PartsAreDrawnWhereTheyBelongAndNothingElsewhere) {
    const WindowSize size = GetParam();
    Picture picture(size.width, size.height);
    hud.draw(pausedGame(), size.width, size.height);
    EXPECT_GT(picture.inked(0.0f, 0.0f, 0.35f, 0.2f), 0) << "top left: targets, time, best";
    EXPECT_GT(picture.inked(0.35f, 0.38f, 0.65f, 0.5f), 0) << "centre: Paused";
    EXPECT_GT(picture.inked(0.0f, 0.9f, 1.0f, 1.0f), 0) << "bottom: the keys";
    EXPECT_EQ(picture.inked(0.6f, 0.0f, 1.0f, 0.3f), 0) << "top right stays the game's";
    EXPECT_EQ(picture.inked(0.0f, 0.6f, 1.0f, 0.85f), 0) << "below the centre too";
}

INSTANTIATE_TEST_SUITE_P(Sizes, HudPicture,
                         testing::Values(WindowSize{320, 240}, WindowSize{1280, 720}));

TEST_F(HudTest, HiddenItDrawsNothing) {
    Picture picture(320, 240);
    hud.visible = false;
    hud.draw(pausedGame(), 320, 240);
    EXPECT_EQ(picture.inked(0.0f, 0.0f, 1.0f, 1.0f), 0);
}

// The colour pass after the display must find the GL state it set up itself.
TEST_F(HudTest, LeavesEveryGlStateItTouchesAsItFoundIt) {
    Picture picture(320, 240);
    GLuint vertexArray = 0;
    GLuint buffer = 0;
    GLuint texture = 0;
    glGenVertexArrays(1, &vertexArray);
    glGenBuffers(1, &buffer);
    glGenTextures(1, &texture);
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glActiveTexture(GL_TEXTURE0 + kHudTextureUnit);
    glBindTexture(GL_TEXTURE_2D, texture);
    glActiveTexture(GL_TEXTURE3);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);  // F3's wire frame
    glViewport(0, 0, 100, 50);
    glUseProgram(0);
    glGetError();

    HudState state = pausedGame();
    state.paused = false;
    state.endLines = {"Congratulations, you won the game!"};
    hud.draw(state, 320, 240);

    auto integer = [](GLenum name) {
        GLint value = -1;
        glGetIntegerv(name, &value);
        return value;
    };
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), static_cast<GLint>(vertexArray));
    EXPECT_EQ(integer(GL_ARRAY_BUFFER_BINDING), static_cast<GLint>(buffer));
    EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE3);
    glActiveTexture(GL_TEXTURE0 + kHudTextureUnit);
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(texture));
    EXPECT_EQ(integer(GL_CURRENT_PROGRAM), 0);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(integer(GL_BLEND_SRC_RGB), GL_SRC_ALPHA);
    EXPECT_EQ(integer(GL_BLEND_DST_ALPHA), GL_ONE_MINUS_SRC_ALPHA);
    GLint polygonMode[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    EXPECT_EQ(polygonMode[0], GL_LINE);
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 100);
    EXPECT_EQ(viewport[3], 50);
    EXPECT_GT(picture.inked(0.0f, 0.3f, 1.0f, 0.5f), 0) << "drew filled text in wire frame";

    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glBindVertexArray(0);
    glDeleteTextures(1, &texture);
    glDeleteBuffers(1, &buffer);
    glDeleteVertexArrays(1, &vertexArray);
    glActiveTexture(GL_TEXTURE0);
}

}  // namespace
