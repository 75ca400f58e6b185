#include "app/MainLoop.h"

#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "input/ScriptedInput.h"
#include "app/Settings.h"
#include "support/LevelHarness.h"
#include "support/Printed.h"
#include "support/Process.h"

namespace {

// Plays a script and raises a GL error during the event poll of one chosen frame, inside the
// frame as a faulty callback would.
class ScriptWithGlFault : public ScriptedInput {
  public:
    ScriptWithGlFault(std::vector<ReplayFrame> frames, int faultyFrame)
        : ScriptedInput(std::move(frames)), faultyFrame_(faultyFrame) {}

    void pollEvents(GLFWwindow* window) override {
        ScriptedInput::pollEvents(window);
        if (polls_++ == faultyFrame_) {
            glEnable(0xFFFF);  // GL_INVALID_ENUM
        }
    }

  private:
    int faultyFrame_;
    int polls_ = 0;
};

// Frame 0 holds and presses F2 and F7, but its poll runs before any callback is registered;
// frame 1 presses them again. Frame times of 1/32 s add up exactly.
const char* const kScript =
    "dt 1/32 keys F2 F7 press F2 release F2 press F7 release F7\n"
    "dt 1/32 press F2 release F2 press F7 release F7\n"
    "frames 59 dt 1/32\n";
constexpr int kFrames = 61;
constexpr int kFaultyFrame = 45;

// The real main loop on the whole level: the lines come at the frames they belong to.
TEST(MainLoop, FrameTimeCullingAndGlErrorLinesComeAtTheirFrames) {
    ReplayScript script = parseReplay(kScript);
    ASSERT_EQ(script.error, "");
    ScriptWithGlFault input(std::move(script.frames), kFaultyFrame);
    const input::ScopedInstall installed(input);
    LevelHarness harness;
    Options options;
    options.frames = kFrames;

    const std::string output =
        printedBy([&] { runMainLoop(harness.window(), options, nullptr, nullptr); });
    glfwSetKeyCallback(harness.window(), nullptr);
    glfwSetFramebufferSizeCallback(harness.window(), nullptr);

    // Every frame from 2 on prints its culling line; the counts do not matter here.
    std::vector<std::string> lines;
    for (const std::string& line : splitLines(output)) {
        const bool counts =
            line.rfind("Drawn: ", 0) == 0 && line.find("| Culled: ") != std::string::npos;
        lines.push_back(counts ? "Drawn" : line);
    }
    const std::string frameTime = "Frametime: 31.25ms -- 32fps";
    std::vector<std::string> expected{"", "", "Culling-Info: On"};  // F2's and F7's lines
    expected.insert(expected.end(), 29, "Drawn");                   // frames 2 to 30
    expected.push_back(frameTime);                                  // frame 30
    expected.insert(expected.end(), kFaultyFrame - 30, "Drawn");    // frames 31 to 45
    expected.push_back("An GL-Error occured!");                     // frame 45, after its poll
    expected.insert(expected.end(), kFrames - 1 - kFaultyFrame, "Drawn");  // frames 46 to 60
    expected.push_back(frameTime);                                         // frame 60
    EXPECT_EQ(lines, expected) << output;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "the check clears the flag";
}

}  // namespace
