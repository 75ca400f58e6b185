#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/Callbacks.h"
#include "app/Settings.h"
#include "render/Texture.h"
#include "support/HelpText.h"
#include "support/FakeInput.h"
#include "support/LevelHarness.h"
#include "support/Printed.h"

namespace {

constexpr float kDt = 1.0f / 64.0f;

std::string filterName(GLint filter) {
    switch (filter) {
        case GL_NEAREST:
            return "NEAREST";
        case GL_LINEAR:
            return "LINEAR";
        case GL_NEAREST_MIPMAP_NEAREST:
            return "NEAREST_MIPMAP_NEAREST";
        case GL_NEAREST_MIPMAP_LINEAR:
            return "NEAREST_MIPMAP_LINEAR";
        case GL_LINEAR_MIPMAP_NEAREST:
            return "LINEAR_MIPMAP_NEAREST";
        case GL_LINEAR_MIPMAP_LINEAR:
            return "LINEAR_MIPMAP_LINEAR";
        default:
            return std::to_string(filter);
    }
}

// The key callback as the main loop registers it, fed with key events through the input layer,
// on a level that has drawn one frame (so texture k of the level is bound on unit k and the
// scene program is current, as between two frames of the game).
class Hotkeys : public testing::Test {
  protected:
    FakeInput input;
    LevelHarness harness;
    SceneCreator& level = harness.level();

    void SetUp() override {
        input::setKeyCallback(harness.window(), keyCallback);
        harness.update(kDt);
        harness.colourPass();
    }

    void TearDown() override {
        // The GL context and its window outlive this test.
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glfwSetInputMode(harness.window(), GLFW_CURSOR, GLFW_CURSOR_NORMAL);
    }

    // Delivers the queued events and returns what the callback printed.
    std::string poll() {
        return printedBy([&] { input::pollEvents(harness.window()); });
    }

    // A short press: down and up within one poll.
    std::string press(int key) {
        input.queuePress(key);
        input.queueRelease(key);
        return poll();
    }

    // "min/mag" when all seven level textures sit on their units and agree, else what differs.
    std::string levelTextureFilters() {
        Texture* const textures[] = {level.woodTexture,        level.bubblesTexture,
                                     level.smileTexture,       level.colourTexture,
                                     level.yellowSmileTexture, level.redCryTexture,
                                     level.greenSmileTexture};
        std::string agreed;
        for (int unit = 0; unit < 7; ++unit) {
            glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
            GLint bound = 0;
            glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
            if (static_cast<GLuint>(bound) != textures[unit]->textureHandle) {
                return "unit " + std::to_string(unit) + " holds another texture";
            }
            GLint minFilter = 0;
            GLint magFilter = 0;
            glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
            glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
            const std::string filters = filterName(minFilter) + "/" + filterName(magFilter);
            if (unit > 0 && filters != agreed) {
                return "unit " + std::to_string(unit) + " has " + filters + ", unit 0 " + agreed;
            }
            agreed = filters;
        }
        return agreed;
    }

    std::string polygonMode() {
        GLint modes[2] = {0, 0};
        glGetIntegerv(GL_POLYGON_MODE, modes);
        return modes[0] == GL_LINE ? "line" : modes[0] == GL_FILL ? "fill" : "other";
    }

    std::string cameraAndCursor() {
        static const char* const modes[] = {"Standard", "FreeMovable", "Off"};
        const int cursor = glfwGetInputMode(harness.window(), GLFW_CURSOR);
        return std::string(modes[harness.camera().getMode()]) + ", cursor " +
               (cursor == GLFW_CURSOR_DISABLED ? "disabled"
                : cursor == GLFW_CURSOR_NORMAL ? "normal"
                                               : "other");
    }

    std::string transparencyUniform() {
        const GLuint program = harness.sceneShader().programHandle;
        GLfloat value = -1.0f;
        glGetUniformfv(program, glGetUniformLocation(program, "transparency"), &value);
        return std::to_string(value);
    }
};

TEST_F(Hotkeys, EachKeyPrintsItsLinesAndChangesWhatItControls) {
    struct Step {
        int key;
        std::string printed;
        std::string state;  // what 'observe' reports after the press
    };
    struct Case {
        const char* name;
        std::function<std::string()> observe;
        std::string before;
        std::vector<Step> presses;  // each sequence ends where it started
    };
    const std::string counted =
        "Drawn: " + std::to_string(level.modelCount() - 1) + "| Culled: 0\n";  // no light marker
    const Case cases[] = {
        {"help", [] { return std::string(); }, "", {{GLFW_KEY_F1, kHelpBlock, ""}}},
        {"frame time",
         [] { return std::string(showFrameTime ? "on" : "off"); },
         "off",
         {{GLFW_KEY_F2, "\n", "on"}, {GLFW_KEY_F2, "\n", "off"}}},
        {"wire frame",
         [&] { return polygonMode(); },
         "fill",
         {{GLFW_KEY_F3, "\nWireframe: On\n", "line"}, {GLFW_KEY_F3, "\nWireframe: Off\n", "fill"}}},
        {"sampling",
         [&] { return levelTextureFilters(); },
         "LINEAR_MIPMAP_LINEAR/LINEAR",
         {{GLFW_KEY_F4, "\nTextur-Sampling: Nearest Neighbor\nMip Mapping: Linear\n",
           "NEAREST_MIPMAP_LINEAR/NEAREST"},
          {GLFW_KEY_F4, "\nTextur-Sampling: Bilinear\nMip Mapping: Linear\n",
           "LINEAR_MIPMAP_LINEAR/LINEAR"}}},
        {"mip mapping",
         [&] { return levelTextureFilters(); },
         "LINEAR_MIPMAP_LINEAR/LINEAR",
         {{GLFW_KEY_F5, "\nTextur-Sampling: Bilinear\nMip Mapping: Off\n", "LINEAR/LINEAR"},
          {GLFW_KEY_F5, "\nTextur-Sampling: Bilinear\nMip Mapping: Nearest Neighbor\n",
           "LINEAR_MIPMAP_NEAREST/LINEAR"},
          {GLFW_KEY_F5, "\nTextur-Sampling: Bilinear\nMip Mapping: Linear\n",
           "LINEAR_MIPMAP_LINEAR/LINEAR"}}},
        {"mip mapping with nearest sampling",
         [&] { return levelTextureFilters(); },
         "LINEAR_MIPMAP_LINEAR/LINEAR",
         {{GLFW_KEY_F4, "\nTextur-Sampling: Nearest Neighbor\nMip Mapping: Linear\n",
           "NEAREST_MIPMAP_LINEAR/NEAREST"},
          {GLFW_KEY_F5, "\nTextur-Sampling: Nearest Neighbor\nMip Mapping: Off\n",
           "NEAREST/NEAREST"},
          {GLFW_KEY_F5, "\nTextur-Sampling: Nearest Neighbor\nMip Mapping: Nearest Neighbor\n",
           "NEAREST_MIPMAP_NEAREST/NEAREST"},
          {GLFW_KEY_F5, "\nTextur-Sampling: Nearest Neighbor\nMip Mapping: Linear\n",
           "NEAREST_MIPMAP_LINEAR/NEAREST"},
          {GLFW_KEY_F4, "\nTextur-Sampling: Bilinear\nMip Mapping: Linear\n",
           "LINEAR_MIPMAP_LINEAR/LINEAR"}}},
        {"camera",
         [&] { return cameraAndCursor(); },
         "Standard, cursor normal",
         {{GLFW_KEY_F6, "\nCamera: Free Movable\n", "FreeMovable, cursor disabled"},
          {GLFW_KEY_F6, "\nCamera: Off\n", "Off, cursor normal"},
          {GLFW_KEY_F6, "\nCamera: Standard\n", "Standard, cursor disabled"}}},
        {"culling info",
         [&] { return harness.colourPassOutput(); },
         "",
         {{GLFW_KEY_F7, "\nCulling-Info: On\n", counted},
          {GLFW_KEY_F7, "\nCulling-Info: Off\n", ""}}},
        {"culling",
         [&] { return std::string(level.cullingEnabled ? "on" : "off"); },
         "off",
         {{GLFW_KEY_F8, "\nViewfrustum-Culling: On\n", "on"},
          {GLFW_KEY_F8, "\nViewfrustum-Culling: Off\n", "off"}}},
        {"transparency",
         [&] { return transparencyUniform(); },
         std::to_string(1.0f),
         {{GLFW_KEY_F9, "\nTransparency: Off\n", std::to_string(0.0f)},
          {GLFW_KEY_F9, "\nTransparency: On\n", std::to_string(1.0f)}}},
        {"light marker",
         [&] { return std::string(level.showLightMarker ? "shown" : "hidden"); },
         "hidden",
         {{GLFW_KEY_1, "", "shown"}, {GLFW_KEY_1, "", "hidden"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.observe(), c.before);
        for (size_t i = 0; i < c.presses.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "press " << i + 1);
            EXPECT_EQ(press(c.presses[i].key), c.presses[i].printed);
            EXPECT_EQ(c.observe(), c.presses[i].state);
        }
    }
}

// The whole table runs for every event: a held key acts again on any other key's events, but
// not on its own release.
TEST_F(Hotkeys, AHeldKeyActsAgainOnOtherKeysEvents) {
    struct Event {
        bool press;
        int key;
        bool frameTimeAfter;
    };
    const Event events[] = {
        {true, GLFW_KEY_F2, true},
        {true, GLFW_KEY_W, false},
        {false, GLFW_KEY_W, true},
        {false, GLFW_KEY_F2, true},
    };
    for (const Event& e : events) {
        SCOPED_TRACE(testing::Message() << (e.press ? "press " : "release ") << e.key);
        const bool before = showFrameTime;
        (e.press ? input.queuePress(e.key) : input.queueRelease(e.key));
        EXPECT_EQ(poll(), e.frameTimeAfter != before ? "\n" : "");
        EXPECT_EQ(showFrameTime, e.frameTimeAfter);
    }
}

TEST_F(Hotkeys, ViewFrustumCullingChangesTheCountsOfTheColourPass) {
    // Turn the orbiting camera to look back along the road, away from nearly everything.
    input.cursorX += 1800.0;  // 0.1° per pixel
    harness.update(kDt);
    harness.update(kDt);
    const int all = static_cast<int>(level.modelCount()) - 1;  // the light marker is uncounted

    press(GLFW_KEY_F7);
    EXPECT_EQ(harness.colourPassOutput(), "Drawn: " + std::to_string(all) + "| Culled: 0\n");

    press(GLFW_KEY_F8);
    int drawn = -1;
    int culled = -1;
    const std::string counts = harness.colourPassOutput();
    ASSERT_EQ(std::sscanf(counts.c_str(), "Drawn: %d| Culled: %d\n", &drawn, &culled), 2) << counts;
    EXPECT_GT(drawn, 0);
    EXPECT_LT(drawn, all / 2);
    // Each object is drawn or culled; a culled target counts once per face texture.
    EXPECT_GE(drawn + culled, all);
    EXPECT_LE(drawn + culled, all + static_cast<int>(level.targets.size()));

    press(GLFW_KEY_F8);
    EXPECT_EQ(harness.colourPassOutput(), "Drawn: " + std::to_string(all) + "| Culled: 0\n");
}

}  // namespace
