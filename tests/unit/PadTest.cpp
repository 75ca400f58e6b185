#include <gtest/gtest.h>

#include <set>
#include <string>

#include "input/Input.h"
#include "input/Pad.h"
#include "input/PadPresses.h"
#include "settings/GameSettings.h"
#include "support/FakeInput.h"

namespace {

constexpr int kMovementKeys[] = {GLFW_KEY_W, GLFW_KEY_A, GLFW_KEY_S, GLFW_KEY_D, GLFW_KEY_SPACE};
constexpr float kDeadZone = 0.25f;

std::uint32_t bit(int button) {
    return 1u << button;
}

struct PadCase {
    const char* what;
    PadState pad;
    std::set<int> keys;  // the movement keys the game sees down
};

// No keyboard key is held: whatever the game sees down, the pad holds.
TEST(Pad, HoldsTheMovementKeysPastTheDeadZoneAndByItsButtons) {
    const PadCase cases[] = {
        {"at rest", {}, {}},
        {"left stick within the dead zone", {0.24f, -0.24f, 0.0f, 0.0f, 0}, {}},
        {"left stick just past it, up", {0.0f, -0.26f, 0.0f, 0.0f, 0}, {GLFW_KEY_W}},
        {"left stick down and left", {-0.9f, 0.9f, 0.0f, 0.0f, 0}, {GLFW_KEY_A, GLFW_KEY_S}},
        {"left stick right", {1.0f, 0.1f, 0.0f, 0.0f, 0}, {GLFW_KEY_D}},
        {"the right stick moves no key", {0.0f, 0.0f, 1.0f, -1.0f, 0}, {}},
        {"d-pad up and right",
         {0.0f, 0.0f, 0.0f, 0.0f,
          bit(GLFW_GAMEPAD_BUTTON_DPAD_UP) | bit(GLFW_GAMEPAD_BUTTON_DPAD_RIGHT)},
         {GLFW_KEY_W, GLFW_KEY_D}},
        {"d-pad down and left",
         {0.0f, 0.0f, 0.0f, 0.0f,
          bit(GLFW_GAMEPAD_BUTTON_DPAD_DOWN) | bit(GLFW_GAMEPAD_BUTTON_DPAD_LEFT)},
         {GLFW_KEY_S, GLFW_KEY_A}},
        {"A lifts", {0.0f, 0.0f, 0.0f, 0.0f, bit(GLFW_GAMEPAD_BUTTON_A)}, {GLFW_KEY_SPACE}},
        {"B, Start and Back hold no movement key",
         {0.0f, 0.0f, 0.0f, 0.0f,
          bit(GLFW_GAMEPAD_BUTTON_B) | bit(GLFW_GAMEPAD_BUTTON_START) |
              bit(GLFW_GAMEPAD_BUTTON_BACK)},
         {}},
    };
    FakeInput fake;
    input::setPadDeadZone(kDeadZone);
    for (const PadCase& c : cases) {
        SCOPED_TRACE(c.what);
        fake.pad = c.pad;
        for (int key : kMovementKeys) {
            EXPECT_EQ(input::getKey(nullptr, key), c.keys.count(key) ? GLFW_PRESS : GLFW_RELEASE)
                << "key " << key;
        }
        EXPECT_EQ(padInUse(c.pad, kDeadZone),
                  !c.keys.empty() || c.pad.buttons != 0 || c.pad.rightX != 0.0f)
            << "the player is touching the pad";
    }
    input::setPadDeadZone(kDefaultPadDeadZone);
}

TEST(Pad, AKeyHeldOnTheKeyboardStaysDownWhateverThePad) {
    FakeInput fake;
    fake.hold(GLFW_KEY_W);
    fake.pad.leftY = 1.0f;  // the stick says back
    EXPECT_EQ(input::getKey(nullptr, GLFW_KEY_W), GLFW_PRESS);
    EXPECT_EQ(input::getKey(nullptr, GLFW_KEY_S), GLFW_PRESS);
    EXPECT_EQ(input::getKey(nullptr, GLFW_KEY_I), GLFW_RELEASE) << "the pad holds no other key";
}

TEST(Pad, TheCameraStickGrowsFromTheDeadZoneToFullOnEitherSide) {
    EXPECT_EQ(stickPastDeadZone(0.0f, kDeadZone), 0.0f);
    EXPECT_EQ(stickPastDeadZone(kDeadZone, kDeadZone), 0.0f);
    EXPECT_EQ(stickPastDeadZone(-kDeadZone, kDeadZone), 0.0f);
    EXPECT_FLOAT_EQ(stickPastDeadZone(1.0f, kDeadZone), 1.0f);
    EXPECT_FLOAT_EQ(stickPastDeadZone(-1.0f, kDeadZone), -1.0f);
    float previous = 0.0f;
    for (float value = kDeadZone + 0.05f; value <= 1.0f; value += 0.05f) {
        const float rate = stickPastDeadZone(value, kDeadZone);
        EXPECT_GT(rate, previous) << value;
        EXPECT_FLOAT_EQ(stickPastDeadZone(-value, kDeadZone), -rate) << value;
        previous = rate;
    }
    EXPECT_LT(stickPastDeadZone(0.5f, kDeadZone), 0.5f) << "finer than the stick near its rest";
    EXPECT_EQ(stickPastDeadZone(0.5f, 0.0f), 0.25f);
}

TEST(PadPresses, AButtonCountsOnceInTheFrameItGoesDown) {
    const std::uint32_t start = bit(GLFW_GAMEPAD_BUTTON_START);
    const std::uint32_t back = bit(GLFW_GAMEPAD_BUTTON_BACK);
    // Frame by frame: the buttons down, and whether Start and Back count as pressed.
    const struct {
        std::uint32_t buttons;
        bool start;
        bool back;
    } frames[] = {
        {0, false, false},           {start, true, false},        {start, false, false},
        {start | back, false, true}, {back, false, false},        {0, false, false},
        {start, true, false},        {start | back, false, true},
    };
    PadPresses presses;
    int frame = 0;
    for (const auto& f : frames) {
        PadState pad;
        pad.buttons = f.buttons;
        presses.next(pad);
        EXPECT_EQ(presses.pressed(GLFW_GAMEPAD_BUTTON_START), f.start) << "frame " << frame;
        EXPECT_EQ(presses.pressed(GLFW_GAMEPAD_BUTTON_BACK), f.back) << "frame " << frame;
        ++frame;
    }
}

}  // namespace
