#include "render/Camera.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>
#include <glm/gtc/matrix_transform.hpp>

#include "support/FakeInput.h"
#include "support/GlContext.h"

namespace {

// X refuses a zero-height window (BadValue ends the process), so a minimised client area
// cannot be produced for real; while one of these lives, glfwGetFramebufferSize reports it.
struct ReportedWindowSize {
    static ReportedWindowSize* active;
    int width;
    int height;
    ReportedWindowSize(int w, int h) : width(w), height(h) { active = this; }
    ~ReportedWindowSize() { active = nullptr; }
};
ReportedWindowSize* ReportedWindowSize::active = nullptr;

}  // namespace

// The test binary's definition wins over libglfw's for the game code linked into it; with no
// size set it forwards to the real one, so the other GL tests see the real window.
extern "C" void glfwGetFramebufferSize(GLFWwindow* window, int* width, int* height) {
    if (ReportedWindowSize::active) {
        *width = ReportedWindowSize::active->width;
        *height = ReportedWindowSize::active->height;
        return;
    }
    using GetWindowSize = void (*)(GLFWwindow*, int*, int*);
    static const auto real =
        reinterpret_cast<GetWindowSize>(dlsym(RTLD_NEXT, "glfwGetFramebufferSize"));
    if (!real) {
        std::abort();
    }
    real(window, width, height);
}

namespace {

const float kTolerance = 1e-4f;

void expectNear(const glm::vec3& actual, const glm::vec3& expected, float tolerance = kTolerance) {
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "component " << i;
    }
}

void expectNear(const glm::mat4& actual, const glm::mat4& expected) {
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            EXPECT_NEAR(actual[column][row], expected[column][row], kTolerance)
                << "[" << column << "][" << row << "]";
        }
    }
}

glm::mat4 expectedProjection(int width, int height) {
    return glm::perspective(kCameraFieldOfViewY,
                            static_cast<float>(width) / static_cast<float>(height), kCameraNear,
                            kCameraFar);
}

// Direction of yaw/pitch in degrees, as free look uses it.
glm::vec3 lookDirection(float yaw, float pitch) {
    const float y = glm::radians(yaw);
    const float p = glm::radians(pitch);
    return glm::vec3(std::cos(y) * std::cos(p), std::sin(p), std::sin(y) * std::cos(p));
}

class CameraTest : public testing::Test {
  protected:
    void SetUp() override {
        window = sharedGlContext();
        glfwGetWindowSize(window, &windowWidth, &windowHeight);
    }

    // One update with the cursor at (x, y); on a fresh camera it only seeds lastX/lastY.
    void seed(int mode, double x = 100.0, double y = 100.0) {
        camera.setMode(mode);
        input.cursorX = x;
        input.cursorY = y;
        camera.update(1.0f / 60.0f, window);
    }

    void moveCursorBy(double dx, double dy) {
        input.cursorX += dx;
        input.cursorY += dy;
    }

    GLFWwindow* window = nullptr;
    int windowWidth = 0;
    int windowHeight = 0;
    FakeInput input;
    Camera camera;
};

TEST_F(CameraTest, StartsBehindTheBallAndOrbitsTheOriginInStandardMode) {
    EXPECT_EQ(camera.getMode(), Standard);
    EXPECT_TRUE(camera.firstMouse);
    expectNear(camera.getPosition(), glm::vec3(0.0f, 0.5f, 2.0f), 0.0f);
    expectNear(camera.up, glm::vec3(0.0f, 2.0f, 0.0f), 0.0f);
    EXPECT_EQ(camera.getView(), glm::mat4(1.0f));
    EXPECT_EQ(camera.getProjection(), glm::mat4(1.0f));

    ASSERT_EQ(windowWidth, 64);
    ASSERT_EQ(windowHeight, 64);
    seed(Standard, 300.0, 200.0);
    EXPECT_EQ(camera.clientWidth, 64);
    EXPECT_EQ(camera.clientHeight, 64);
    EXPECT_FLOAT_EQ(camera.yaw, -90.0f);
    EXPECT_FLOAT_EQ(camera.pitch, 0.0f);
    expectNear(camera.getPosition(), glm::vec3(0.0f, 0.5f, 2.0f));
    expectNear(camera.getFront(), glm::vec3(0.0f, 0.0f, -1.0f));
    expectNear(camera.getView(), glm::lookAt(glm::vec3(0.0f, 0.5f, 2.0f), glm::vec3(0.0f),
                                             glm::vec3(0.0f, 1.0f, 0.0f)));
    expectNear(camera.getProjection(), expectedProjection(64, 64));
}

struct CursorCase {
    int mode;
    double dx;
    double dy;  // screen pixels, positive is down
    float yawChange;
    float pitchChange;
};

class CameraCursorTest : public CameraTest, public testing::WithParamInterface<CursorCase> {};

TEST_P(CameraCursorTest, TurnsByATenthOfADegreePerPixel) {
    const CursorCase& c = GetParam();
    seed(c.mode);
    moveCursorBy(c.dx, c.dy);
    camera.update(1.0f / 60.0f, window);
    EXPECT_NEAR(camera.yaw, -90.0f + c.yawChange, kTolerance);
    EXPECT_NEAR(camera.pitch, c.pitchChange, kTolerance);
}

INSTANTIATE_TEST_SUITE_P(CameraModes, CameraCursorTest,
                         testing::Values(CursorCase{Standard, 10.0, 0.0, -1.0f, 0.0f},
                                         CursorCase{FreeMovable, 10.0, 0.0, 1.0f, 0.0f},
                                         CursorCase{Standard, -30.0, 0.0, 3.0f, 0.0f},
                                         CursorCase{FreeMovable, -30.0, 0.0, -3.0f, 0.0f},
                                         CursorCase{Standard, 0.0, -10.0, 0.0f, 0.0f},
                                         CursorCase{FreeMovable, 0.0, -10.0, 0.0f, 1.0f},
                                         CursorCase{FreeMovable, 0.0, 25.0, 0.0f, -2.5f},
                                         CursorCase{Off, 10.0, -10.0, 0.0f, 0.0f}));

TEST_F(CameraTest, AFirstReadingOnlySeedsTheCursorInEitherTurningMode) {
    struct {
        int mode;
        float yawAfterTenPixelsRight;
    } cases[] = {{Standard, -91.0f}, {FreeMovable, -89.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        camera = Camera();
        seed(c.mode, 500.0, 400.0);  // lastX/lastY start at 0, hundreds of pixels away
        EXPECT_FALSE(camera.firstMouse);
        EXPECT_FLOAT_EQ(camera.lastX, 500.0f);
        EXPECT_FLOAT_EQ(camera.lastY, 400.0f);
        EXPECT_FLOAT_EQ(camera.yaw, -90.0f);
        EXPECT_FLOAT_EQ(camera.pitch, 0.0f);

        // Set again (as on a switch of mode), the next reading seeds instead of jumping.
        camera.setFirstMouse(true);
        seed(c.mode, 800.0, 100.0);
        EXPECT_FLOAT_EQ(camera.yaw, -90.0f);
        EXPECT_FLOAT_EQ(camera.pitch, 0.0f);

        moveCursorBy(10.0, 0.0);
        camera.update(1.0f / 60.0f, window);
        EXPECT_NEAR(camera.yaw, c.yawAfterTenPixelsRight, kTolerance);
    }
}

TEST_F(CameraTest, OffModeDoesNotReadTheCursor) {
    seed(FreeMovable, 100.0, 100.0);
    camera.setMode(Off);
    input.cursorX = 900.0;
    input.cursorY = -700.0;
    for (int frame = 0; frame < 3; ++frame) {
        camera.update(1.0f / 60.0f, window);
    }
    EXPECT_DOUBLE_EQ(camera.cursorX, 100.0);
    EXPECT_DOUBLE_EQ(camera.cursorY, 100.0);
    EXPECT_FLOAT_EQ(camera.lastX, 100.0f);
    EXPECT_FLOAT_EQ(camera.yaw, -90.0f);
    EXPECT_FLOAT_EQ(camera.pitch, 0.0f);
    expectNear(camera.freeLookFront, glm::vec3(0.0f, 0.0f, -1.0f));
    expectNear(camera.getView(),
               glm::lookAt(glm::vec3(0.0f, 0.5f, 2.0f), glm::vec3(0.0f, 0.5f, 1.0f), camera.up));
}

TEST_F(CameraTest, FreeLookPitchStopsAtEightyNineDegreesButYawIsNeverWrapped) {
    struct {
        double dy;
        float limit;
    } cases[] = {{-2000.0, 89.0f}, {2000.0, -89.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.limit);
        camera = Camera();
        seed(FreeMovable);
        moveCursorBy(0.0, c.dy);
        camera.update(1.0f / 60.0f, window);
        EXPECT_EQ(camera.pitch, c.limit);
        expectNear(camera.freeLookFront, lookDirection(-90.0f, c.limit));

        // The clamp is kept, so turning back starts from the limit and not from beyond it.
        moveCursorBy(0.0, c.dy > 0 ? -10.0 : 10.0);
        camera.update(1.0f / 60.0f, window);
        EXPECT_NEAR(camera.pitch, c.limit > 0 ? 88.0f : -88.0f, kTolerance);
    }

    moveCursorBy(5000.0, 0.0);
    camera.update(1.0f / 60.0f, window);
    EXPECT_NEAR(camera.yaw, 410.0f, 1e-3f);
}

// The player's turn settings: the mouse's factor, the vertical axis the other way, and the
// right stick's rate; they survive a new game.
TEST_F(CameraTest, MouseSensitivityAndInvertedYScaleAndFlipTheCursorsTurn) {
    const struct {
        float sensitivity;
        bool invertY;
        float yawChange;
        float pitchChange;
    } cases[] = {{1.0f, false, 2.0f, 1.0f}, {0.5f, false, 1.0f, 0.5f}, {0.5f, true, 1.0f, -0.5f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sensitivity);
        camera = Camera();
        camera.sensitivity = kCameraTurnPerPixel * c.sensitivity;
        camera.invertY = c.invertY;
        seed(FreeMovable);
        moveCursorBy(20.0, -10.0);
        camera.update(1.0f / 60.0f, window);
        EXPECT_NEAR(camera.yaw, -90.0f + c.yawChange, kTolerance);
        EXPECT_NEAR(camera.pitch, c.pitchChange, kTolerance);
        camera.reset();
        EXPECT_EQ(camera.sensitivity, kCameraTurnPerPixel * c.sensitivity);
        EXPECT_EQ(camera.invertY, c.invertY);
    }
}

TEST_F(CameraTest, TheRightStickTurnsPastTheDeadZoneFasterTheFurtherItIsPushed) {
    input::setPadDeadZone(0.2f);
    camera.padTurnSpeed = 90.0f;
    const struct {
        int mode;
        float rightX;
        float rightY;
        float yawPerSecond;
        float pitchPerSecond;
    } cases[] = {
        {Standard, 0.2f, 0.0f, 0.0f, 0.0f},      {Standard, 1.0f, 0.0f, -90.0f, 0.0f},
        {FreeMovable, 1.0f, 0.0f, 90.0f, 0.0f},  {FreeMovable, -0.6f, 0.0f, -22.5f, 0.0f},
        {FreeMovable, 0.0f, -1.0f, 0.0f, 90.0f}, {Standard, 0.0f, -1.0f, 0.0f, 0.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mode << " " << c.rightX << " " << c.rightY);
        camera.yaw = -90.0f;
        camera.pitch = 0.0f;
        input.pad = PadState();
        seed(c.mode);
        input.pad.rightX = c.rightX;
        input.pad.rightY = c.rightY;
        for (int frame = 0; frame < 30; ++frame) {
            camera.update(1.0f / 60.0f, window);
        }
        EXPECT_NEAR(camera.yaw, -90.0f + c.yawPerSecond / 2.0f, 1e-3f);
        EXPECT_NEAR(camera.pitch, c.pitchPerSecond / 2.0f, 1e-3f);
    }
    input::setPadDeadZone(kDefaultPadDeadZone);
}

struct FlightCase {
    int mode;
    int frames;
    float deltaTime;
};

class CameraFlightTest : public CameraTest, public testing::WithParamInterface<FlightCase> {};

TEST_P(CameraFlightTest, HoldingIForOneSecondFliesTenUnitsWhateverTheFrameRate) {
    const FlightCase& c = GetParam();
    seed(c.mode);
    const glm::vec3 start = camera.getPosition();
    const glm::vec3 direction = camera.freeLookFront;
    ASSERT_NEAR(glm::length(direction), 1.0f, kTolerance);

    input.hold(GLFW_KEY_I);
    for (int frame = 0; frame < c.frames; ++frame) {
        camera.update(c.deltaTime, window);
    }
    input.release(GLFW_KEY_I);
    expectNear(camera.getPosition(), start + 10.0f * direction, 1e-3f);

    // The move reaches the view only in the update after it.
    const glm::vec3 flown = camera.getPosition();
    EXPECT_NE(camera.getView(), glm::lookAt(flown, flown + direction, camera.up));
    camera.update(c.deltaTime, window);
    expectNear(camera.getView(), glm::lookAt(flown, flown + direction, camera.up));
}

INSTANTIATE_TEST_SUITE_P(CameraFrameRates, CameraFlightTest,
                         testing::Values(FlightCase{FreeMovable, 60, 1.0f / 60.0f},
                                         FlightCase{FreeMovable, 1, 1.0f},
                                         FlightCase{Off, 144, 1.0f / 144.0f},
                                         FlightCase{Off, 1, 1.0f}));

TEST_F(CameraTest, EachMovementKeyFliesAlongItsOwnAxisOfTheFreeLook) {
    // Looking down -z with up +y, right is +x.
    struct {
        std::vector<int> keys;
        glm::vec3 move;
    } cases[] = {
        {{GLFW_KEY_I}, {0.0f, 0.0f, -5.0f}},
        {{GLFW_KEY_J}, {-5.0f, 0.0f, 0.0f}},
        {{GLFW_KEY_K}, {0.0f, 0.0f, 5.0f}},
        {{GLFW_KEY_L}, {5.0f, 0.0f, 0.0f}},
        // Every held key applies, not only the first one found.
        {{GLFW_KEY_I, GLFW_KEY_J}, {-5.0f, 0.0f, -5.0f}},
        {{GLFW_KEY_J, GLFW_KEY_K}, {-5.0f, 0.0f, 5.0f}},
        {{GLFW_KEY_K, GLFW_KEY_L}, {5.0f, 0.0f, 5.0f}},
        {{GLFW_KEY_I, GLFW_KEY_J, GLFW_KEY_K, GLFW_KEY_L}, {0.0f, 0.0f, 0.0f}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.keys));
        camera = Camera();
        seed(FreeMovable);
        const glm::vec3 start = camera.getPosition();
        for (int key : c.keys) {
            input.hold(key);
        }
        camera.update(0.5f, window);
        input.keysDown.clear();
        expectNear(camera.getPosition(), start + c.move);
    }
}

TEST_F(CameraTest, MovementKeysDoNothingWhileOrbiting) {
    seed(Standard);
    for (int key : {GLFW_KEY_I, GLFW_KEY_J, GLFW_KEY_K, GLFW_KEY_L}) {
        SCOPED_TRACE(key);
        input.hold(key);
        camera.update(0.5f, window);
        input.release(key);
        expectNear(camera.getPosition(), glm::vec3(0.0f, 0.5f, 2.0f));
    }
}

TEST_F(CameraTest, PositionAndFrontTrailTheAnglesByOneUpdateButFreeLookDoesNot) {
    seed(Standard);
    moveCursorBy(10.0, 0.0);
    camera.update(1.0f / 60.0f, window);
    ASSERT_NEAR(camera.yaw, -91.0f, kTolerance);
    expectNear(camera.getPosition(), glm::vec3(0.0f, 0.5f, 2.0f));
    expectNear(camera.getFront(), glm::vec3(0.0f, 0.0f, -1.0f));

    camera.update(1.0f / 60.0f, window);
    const float yaw = glm::radians(-91.0f);
    const glm::vec3 orbit(2.0f * std::cos(yaw), 0.5f, -2.0f * std::sin(yaw));
    expectNear(camera.getPosition(), orbit);
    expectNear(camera.getFront(), glm::normalize(glm::vec3(-orbit.x, 0.0f, -orbit.z)));
    expectNear(camera.getView(), glm::lookAt(orbit, glm::vec3(0.0f), camera.up));

    camera = Camera();
    seed(FreeMovable);
    moveCursorBy(10.0, -10.0);
    camera.update(1.0f / 60.0f, window);
    expectNear(camera.getFront(), lookDirection(-90.0f, 0.0f));
    expectNear(camera.freeLookFront, lookDirection(-89.0f, 1.0f));
    const glm::vec3 eye = camera.getPosition();
    expectNear(camera.getView(), glm::lookAt(eye, eye + lookDirection(-89.0f, 1.0f), camera.up));
    camera.update(1.0f / 60.0f, window);
    expectNear(camera.getFront(), lookDirection(-89.0f, 1.0f));
}

TEST_F(CameraTest, OrbitKeepsAHeightFlownToAndShrinksWithThePitch) {
    seed(FreeMovable);
    moveCursorBy(0.0, -300.0);  // 30 degrees up
    camera.update(1.0f / 60.0f, window);
    ASSERT_NEAR(camera.pitch, 30.0f, kTolerance);
    input.hold(GLFW_KEY_I);
    camera.update(0.5f, window);  // 5 units along a 30 degree climb
    input.release(GLFW_KEY_I);
    ASSERT_NEAR(camera.getPosition().y, 3.0f, kTolerance);

    camera.setMode(Standard);
    camera.update(1.0f / 60.0f, window);
    const glm::vec3 eye = camera.getPosition();
    EXPECT_NEAR(eye.y, 3.0f, kTolerance);
    EXPECT_NEAR(std::hypot(eye.x, eye.z), 2.0f * std::cos(glm::radians(30.0f)), kTolerance);
    expectNear(camera.getView(), glm::lookAt(eye, glm::vec3(0.0f), camera.up));
}

TEST_F(CameraTest, ProjectionFollowsTheClientAspect) {
    seed(Standard);
    ReportedWindowSize wide(100, 64);
    camera.update(1.0f / 60.0f, window);
    EXPECT_EQ(camera.clientWidth, 100);
    EXPECT_EQ(camera.clientHeight, 64);
    expectNear(camera.getProjection(), expectedProjection(100, 64));
}

TEST_F(CameraTest, AZeroSizedClientAreaKeepsThePreviousProjection) {
    struct {
        int width;
        int height;
    } cases[] = {{64, 0}, {0, 64}, {0, 0}};
    seed(Standard);
    const glm::mat4 before = camera.getProjection();
    ASSERT_NE(before, glm::mat4(1.0f));
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        {
            ReportedWindowSize minimised(c.width, c.height);
            camera.update(1.0f / 60.0f, window);
            EXPECT_EQ(camera.clientWidth, c.width);
            EXPECT_EQ(camera.clientHeight, c.height);
            EXPECT_EQ(camera.getProjection(), before);
        }
        // Restored, the real window's projection is computed again.
        camera.projection = glm::mat4(1.0f);
        camera.update(1.0f / 60.0f, window);
        expectNear(camera.getProjection(), before);
    }
}

}  // namespace
