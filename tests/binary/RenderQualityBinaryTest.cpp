#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/FullLook.h"
#include "support/Process.h"
#include "support/TempDir.h"

// The real game, told which renderer it runs on through ORBQUEST_GL_RENDERER, so the choice
// is the same on any test machine; the pictures come from whatever driver runs the test.
namespace {

const char* const kSoftware = "llvmpipe (LLVM 15.0.6, 256 bits)";
const char* const kGpu = "NVIDIA GeForce RTX 3060/PCIe/SSE2";
const char* const kAnnouncementStart = "Software renderer (llvmpipe): ";
const char* const kLighterLine =
    "Software renderer (llvmpipe): drawing without multisampling for speed; --samples 4 "
    "restores it\n";

struct QualityRun {
    const char* name;
    const char* renderer;
    std::vector<std::string> options;
};

// Three frames of the start view each, the cursor held still so the view stays put.
const QualityRun kRuns[] = {
    {"gpu default", kGpu, {}},
    {"software full look", kSoftware, kFullLookArgs},
    {"software default", kSoftware, {}},
    {"software 4 samples", kSoftware, {"--samples", "4"}},
};

struct Outcome {
    ProcessResult result;
    std::string picture;  // the PNG file's bytes
};

// Each run is made the first time a test asks for it: ctest runs every test in a process of its
// own, so a test starts only the games it compares.
class RenderQualityBinary : public testing::Test {
  protected:
    const Outcome& outcome(const std::string& name) {
        auto made = outcomes_.find(name);
        if (made == outcomes_.end()) {
            made = outcomes_.emplace(name, run(runNamed(name))).first;
        }
        const Outcome& found = made->second;
        EXPECT_EQ(found.result.exitCode, 0) << name << ": " << found.result.output;
        EXPECT_FALSE(found.picture.empty()) << name;
        return found;
    }

  private:
    static const QualityRun& runNamed(const std::string& name) {
        for (const QualityRun& run : kRuns) {
            if (name == run.name) {
                return run;
            }
        }
        throw std::invalid_argument("no quality run is called " + name);
    }

    Outcome run(const QualityRun& run) {
        const std::string picture = dir_.file(std::string(run.name) + ".png");
        std::vector<std::string> args{"env",
                                      std::string("ORBQUEST_GL_RENDERER=") + run.renderer,
                                      ORBQUEST_BINARY,
                                      "--frames",
                                      "3",
                                      "--replay",
                                      replay_,
                                      "--screenshot",
                                      picture};
        args.insert(args.end(), run.options.begin(), run.options.end());
        const ProcessResult result = runProcess(args, ORBQUEST_SOURCE_DIR, 300);
        return {result, readFile(picture)};
    }

    void SetUp() override { dir_.write("still.replay", "frames 3 dt 1/60 cursor 512 384\n"); }

    TempDir dir_;
    const std::string replay_ = dir_.file("still.replay");
    std::map<std::string, Outcome> outcomes_;
};

TEST_F(RenderQualityBinary, AGpuDrawsTheFullLookWithoutAWord) {
    const Outcome& gpu = outcome("gpu default");
    EXPECT_EQ(gpu.result.output.find("Software renderer"), std::string::npos) << gpu.result.output;
    EXPECT_TRUE(gpu.picture == outcome("software full look").picture)
        << "a GPU's default picture is not the full look";
    EXPECT_EQ(outcome("software full look").result.output.find("Software renderer"),
              std::string::npos)
        << "the full look asked for needs no announcement";
}

TEST_F(RenderQualityBinary, ASoftwareRendererStartsLighterAndSaysSoOnceBeforeTheWelcome) {
    const std::string& output = outcome("software default").result.output;
    EXPECT_EQ(countOccurrences(output, kAnnouncementStart), 1u) << output;
    const size_t line = output.find(kLighterLine);
    ASSERT_NE(line, std::string::npos) << output;
    EXPECT_LT(line, output.find("Welcome to >>Orbquest<<")) << output;
    EXPECT_FALSE(outcome("software default").picture == outcome("software full look").picture)
        << "the lighter default drew the full look";
}

TEST_F(RenderQualityBinary, AnExplicitSampleCountWinsOverTheSoftwareDefault) {
    const Outcome& chosen = outcome("software 4 samples");
    EXPECT_EQ(countOccurrences(chosen.result.output, kAnnouncementStart), 0u)
        << chosen.result.output;
    EXPECT_TRUE(chosen.picture == outcome("software full look").picture)
        << "--samples 4 did not draw with four samples";
    EXPECT_FALSE(chosen.picture == outcome("software default").picture);
}

}  // namespace
