#include <gtest/gtest.h>

#include <map>
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
    "Software renderer (llvmpipe): drawing without multisampling and with fast shadows for "
    "speed; --samples 4 --shadow-quality soft restores the full look\n";
const char* const kFastShadowsLine =
    "Software renderer (llvmpipe): drawing with fast shadows for speed; --shadow-quality soft "
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
    {"gpu 4 samples fast shadows", kGpu, {"--samples", "4", "--shadow-quality", "fast"}},
};

struct Outcome {
    ProcessResult result;
    std::string picture;  // the PNG file's bytes
};

class RenderQualityBinary : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        TempDir dir;
        dir.write("still.replay", "frames 3 dt 1/60 cursor 512 384\n");
        outcomes_ = new std::map<std::string, Outcome>();
        for (const QualityRun& run : kRuns) {
            const std::string picture = dir.file("picture.png");
            std::vector<std::string> args{"env",
                                          std::string("ORBQUEST_GL_RENDERER=") + run.renderer,
                                          ORBQUEST_BINARY,
                                          "--frames",
                                          "3",
                                          "--replay",
                                          dir.file("still.replay"),
                                          "--screenshot",
                                          picture};
            args.insert(args.end(), run.options.begin(), run.options.end());
            const ProcessResult result = runProcess(args, ORBQUEST_SOURCE_DIR, 300);
            (*outcomes_)[run.name] = {result, readFile(picture)};
        }
    }
    static void TearDownTestSuite() {
        delete outcomes_;
        outcomes_ = nullptr;
    }

    static const Outcome& outcome(const std::string& name) {
        const Outcome& found = outcomes_->at(name);
        EXPECT_EQ(found.result.exitCode, 0) << name << ": " << found.result.output;
        EXPECT_FALSE(found.picture.empty()) << name;
        return found;
    }

    static std::map<std::string, Outcome>* outcomes_;
};

std::map<std::string, Outcome>* RenderQualityBinary::outcomes_ = nullptr;

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
    EXPECT_EQ(countOccurrences(chosen.result.output, kAnnouncementStart), 1u)
        << chosen.result.output;
    EXPECT_NE(chosen.result.output.find(kFastShadowsLine), std::string::npos)
        << chosen.result.output;
    EXPECT_TRUE(chosen.picture == outcome("gpu 4 samples fast shadows").picture)
        << "--samples 4 did not draw with four samples";
    EXPECT_FALSE(chosen.picture == outcome("software default").picture);
}

}  // namespace
