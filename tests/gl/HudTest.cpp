#include <gtest/gtest.h>

#include <GL/glew.h>

#include <algorithm>
#include <string>
#include <vector>

#include "hud/Hud.h"
#include "support/GlContext.h"

namespace {

GLint integer(GLenum name) {
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

// The colour pass after the display must find the GL state it set up itself; the pictures
// (where the display draws, and that hidden it changes no pixel) are the binary tests'.
TEST(Hud, LeavesEveryGlStateItTouchesAsItFoundIt) {
    sharedGlContext();
    glUseProgram(0);  // an earlier test's program may be deleted by now
    glGetError();
    Hud hud;
    std::string error;
    ASSERT_TRUE(hud.init(error)) << error;
    GLuint framebuffer = 0, colour = 0, vertexArray = 0, buffer = 0, texture = 0;
    glGenFramebuffers(1, &framebuffer);
    glGenRenderbuffers(1, &colour);
    glBindRenderbuffer(GL_RENDERBUFFER, colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, 320, 240);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    HudState state;
    state.endLines = {"Congratulations, you won the game!"};
    auto picture = [&] {
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        hud.draw(state, 320, 240);
        std::vector<unsigned char> pixels(4 * 320 * 240);
        glReadPixels(0, 0, 320, 240, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    };
    const std::vector<unsigned char> filled = picture();
    ASSERT_LT(std::count(filled.begin(), filled.end(), 0), static_cast<long>(filled.size()));
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

    const std::vector<unsigned char> drawnInWireFrame = picture();
    EXPECT_TRUE(drawnInWireFrame == filled) << "the text is drawn filled in any polygon mode";

    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), static_cast<GLint>(vertexArray));
    EXPECT_EQ(integer(GL_ARRAY_BUFFER_BINDING), static_cast<GLint>(buffer));
    EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE3);
    glActiveTexture(GL_TEXTURE0 + kHudTextureUnit);
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(texture));
    EXPECT_EQ(integer(GL_CURRENT_PROGRAM), 0);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST) && glIsEnabled(GL_CULL_FACE) && glIsEnabled(GL_BLEND));
    EXPECT_EQ(integer(GL_BLEND_SRC_RGB), GL_SRC_ALPHA);
    EXPECT_EQ(integer(GL_BLEND_DST_ALPHA), GL_ONE_MINUS_SRC_ALPHA);
    GLint mode[2] = {0, 0}, viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_POLYGON_MODE, mode);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(mode[0], GL_LINE);
    EXPECT_EQ(viewport[2], 100);
    EXPECT_EQ(viewport[3], 50);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glBindVertexArray(0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteTextures(1, &texture);
    glDeleteBuffers(1, &buffer);
    glDeleteVertexArrays(1, &vertexArray);
    glDeleteRenderbuffers(1, &colour);
    glDeleteFramebuffers(1, &framebuffer);
    glActiveTexture(GL_TEXTURE0);
}

}  // namespace
