#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

const char* const kFirst = "Invalid Argument! Required an integer for the first parameter!";
const char* const kSecond = "Invalid Argument! Required an integer for the second parameter!";
const char* const kThird = "Invalid Argument! Could not parse the third parameter as an integer!";
const char* const kFourth = "Invalid Argument! Required an integer for the fourth parameter!";

struct ParameterCase {
    const char* name;
    std::vector<std::string> args;  // without the program path
    int width;
    int height;
    bool fullScreen;
    int refreshRate;
    bool announcesProgram;
    const char* error;
};

const ParameterCase kParameterCases[] = {
    {"NoneKeepsTheDefaults", {}, 1024, 768, false, 60, false, ""},
    {"OneAloneIsIgnored", {"800"}, 1024, 768, false, 60, false, ""},
    {"OneBadAloneIsIgnoredToo", {"abc"}, 1024, 768, false, 60, false, ""},
    {"WidthAndHeight", {"800", "600"}, 800, 600, false, 60, true, ""},
    {"TrailingLettersEndTheNumber", {"800px", "600"}, 800, 600, false, 60, true, ""},
    {"LeadingBlanksAreSkipped", {" 640", "\t480"}, 640, 480, false, 60, true, ""},
    {"NoRangeCheck", {"0", "-5"}, 0, -5, false, 60, true, ""},
    {"FullScreenAndRefresh", {"800", "600", "1", "75"}, 800, 600, true, 75, true, ""},
    {"WindowedExplicitly", {"800", "600", "0"}, 800, 600, false, 60, true, ""},
    {"PastTheFourthIgnored",
     {"800", "600", "0", "50", "junk", "more"},
     800,
     600,
     false,
     50,
     true,
     ""},
    {"BadWidth", {"abc", "600"}, 0, 0, false, 0, true, kFirst},
    {"BadWidthWinsOverBadHeight", {"abc", "xyz", "7"}, 0, 0, false, 0, true, kFirst},
    {"BadHeight", {"800", "x600"}, 0, 0, false, 0, true, kSecond},
    {"FullScreenTwo", {"800", "600", "2"}, 0, 0, false, 0, true, kThird},
    {"FullScreenWord", {"800", "600", "true"}, 0, 0, false, 0, true, kThird},
    {"FullScreenBadBeforeBadRefresh", {"800", "600", "yes", "x"}, 0, 0, false, 0, true, kThird},
    {"BadRefresh", {"800", "600", "1", "fast"}, 0, 0, false, 0, true, kFourth},
    {"EmptyParameter", {"", "600"}, 0, 0, false, 0, true, kFirst},
};

class CommandLineParameters : public testing::TestWithParam<ParameterCase> {};

TEST_P(CommandLineParameters, ReadAsTheShellHandsThemOver) {
    const ParameterCase& c = GetParam();
    std::vector<std::string> args{"/path/to/orbquest"};
    args.insert(args.end(), c.args.begin(), c.args.end());

    const CommandLineValues values = readCommandLine(args);

    EXPECT_EQ(values.announcesProgram, c.announcesProgram);
    EXPECT_EQ(values.error, c.error);
    if (values.error.empty()) {
        EXPECT_EQ(values.windowWidth, c.width);
        EXPECT_EQ(values.windowHeight, c.height);
        EXPECT_EQ(values.fullScreen, c.fullScreen);
        EXPECT_EQ(values.refreshRate, c.refreshRate);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandLineParameters, testing::ValuesIn(kParameterCases),
                         [](const testing::TestParamInfo<ParameterCase>& info) {
                             return std::string(info.param.name);
                         });

OptionScan scan(std::vector<const char*> argv) {
    return extractOptions(static_cast<int>(argv.size()), argv.data());
}

TEST(CommandLineOptions, FlagsAreTakenOutBeforeThePositionalParameters) {
    const OptionScan result = scan({"orbquest", "--gl-debug", "800", "--frames", "5", "600"});
    EXPECT_EQ(result.error, "");
    EXPECT_TRUE(result.options.glDebug);
    EXPECT_EQ(result.options.frames, 5);
    EXPECT_EQ(result.positional, (std::vector<std::string>{"orbquest", "800", "600"}));
}

TEST(CommandLineOptions, EmptyFramesTakesNoValue) {
    EXPECT_FALSE(scan({"orbquest", "800", "600"}).options.emptyFrames);
    const OptionScan result = scan({"orbquest", "--empty-frames", "800", "600"});
    EXPECT_EQ(result.error, "");
    EXPECT_TRUE(result.options.emptyFrames);
    EXPECT_EQ(result.positional, (std::vector<std::string>{"orbquest", "800", "600"}));
}

TEST(CommandLineOptions, ASingleDashIsAPositionalParameter) {
    const OptionScan result = scan({"orbquest", "-800", "600"});
    EXPECT_EQ(result.positional, (std::vector<std::string>{"orbquest", "-800", "600"}));
}

TEST(CommandLineOptions, UnknownFlagIsAnError) {
    const OptionScan result = scan({"orbquest", "--fullscreen"});
    EXPECT_NE(result.error.find("Unknown option --fullscreen"), std::string::npos);
}

TEST(CommandLineOptions, FramesNeedsAPositiveCount) {
    for (const char* bad : {"0", "-3", "ten", "5x"}) {
        const OptionScan result = scan({"orbquest", "--frames", bad});
        EXPECT_NE(result.error.find("--frames"), std::string::npos) << bad;
    }
    EXPECT_NE(scan({"orbquest", "--frames"}).error.find("needs a value"), std::string::npos);
}

TEST(CommandLineOptions, FrameStatsTakesAFileAndIsOffWithout) {
    EXPECT_EQ(scan({"orbquest", "800", "600"}).options.frameStatsPath, "");
    const OptionScan result = scan({"orbquest", "--frame-stats", "times.csv", "800", "600"});
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(result.options.frameStatsPath, "times.csv");
    EXPECT_EQ(result.positional, (std::vector<std::string>{"orbquest", "800", "600"}));
    EXPECT_NE(scan({"orbquest", "--frame-stats"}).error.find("needs a value"), std::string::npos);
}

// Nothing chosen leaves the quality to the renderer; a bad value names the values allowed.
TEST(CommandLineOptions, SamplesAndShadowQuality) {
    const OptionScan none = scan({"orbquest", "800", "600"});
    EXPECT_FALSE(none.options.quality.samples.has_value());
    EXPECT_FALSE(none.options.quality.shadows.has_value());

    const OptionScan chosen =
        scan({"orbquest", "--samples", "0", "--shadow-quality", "hard", "800", "600"});
    EXPECT_EQ(chosen.error, "");
    EXPECT_EQ(chosen.options.quality.samples, 0);
    EXPECT_EQ(chosen.options.quality.shadows, ShadowQuality::Hard);
    EXPECT_EQ(chosen.positional, (std::vector<std::string>{"orbquest", "800", "600"}));
    for (const char* samples : {"2", "4", "8"}) {
        EXPECT_EQ(scan({"orbquest", "--samples", samples}).options.quality.samples,
                  std::stoi(samples));
    }
    EXPECT_EQ(scan({"orbquest", "--shadow-quality", "fast"}).options.quality.shadows,
              ShadowQuality::Fast);

    for (const char* bad : {"1", "16", "-4", "4x", " 4", ""}) {
        EXPECT_EQ(scan({"orbquest", "--samples", bad}).error,
                  std::string("Option --samples needs 0, 2, 4 or 8 samples, not \"") + bad + "\"")
            << bad;
    }
    EXPECT_EQ(scan({"orbquest", "--shadow-quality", "SOFT"}).error,
              "Option --shadow-quality needs soft, fast or hard, not \"SOFT\"");
    EXPECT_NE(scan({"orbquest", "--shadow-quality"}).error.find("needs a value"),
              std::string::npos);
}

// A recorded autopilot run takes a fixed frame time unless one is given; a replay brings its
// own frame times.
TEST(CommandLineOptions, AutopilotAndFrameTime) {
    const struct {
        std::vector<const char*> argv;
        float frameTime;
        const char* error;  // a part of the message, or "" for none
    } cases[] = {
        {{"orbquest", "--autopilot"}, 0.0f, ""},
        {{"orbquest", "--autopilot", "--record", "a.replay"}, 1.0f / 64.0f, ""},
        {{"orbquest", "--autopilot", "--record", "a.replay", "--frame-time", "0.1"}, 0.1f, ""},
        {{"orbquest", "--frame-time", "1/60"}, 1.0f / 60.0f, ""},
        {{"orbquest", "--autopilot", "--replay", "a.replay"}, 0.0f, ""},
        {{"orbquest", "--frame-time", "0"}, 0.0f, "--frame-time needs seconds"},
        {{"orbquest", "--frame-time", "1e-50"}, 0.0f, "--frame-time needs seconds"},
        {{"orbquest", "--frame-time", "11"}, 0.0f, "--frame-time needs seconds"},
        {{"orbquest", "--frame-time", "1/60", "--replay", "a"}, 1.0f / 60.0f, "own frame times"},
        {{"orbquest", "--autopilot", "--empty-frames"}, 0.0f, "--autopilot needs the level"},
    };
    for (const auto& c : cases) {
        const OptionScan result = scan(c.argv);
        SCOPED_TRACE(result.error);
        EXPECT_EQ(result.options.frameTime, c.frameTime);
        if (*c.error == '\0') {
            EXPECT_EQ(result.error, "");
            EXPECT_EQ(result.options.autopilot, std::string(c.argv[1]) == "--autopilot");
        } else {
            EXPECT_NE(result.error.find(c.error), std::string::npos);
        }
    }
}

TEST(CommandLineOptions, HelpNamesEveryFlagAndTheKeys) {
    EXPECT_TRUE(scan({"orbquest", "--help"}).options.help);
    EXPECT_FALSE(scan({"orbquest", "--help"}).options.version);
    EXPECT_TRUE(scan({"orbquest", "--version", "800", "600"}).options.version);
    const std::string usage = usageText();
    for (const char* word :
         {"--help",         "--version",   "--gl-debug",   "--frames",      "--empty-frames",
          "--fast-forward", "--autopilot", "--frame-time", "--frame-stats", "--mute",
          "--volume",       "--audio-out", "--no-hud",     "--samples",     "--shadow-quality",
          "width height",   "Escape",      "F1",           "F12",           "  M ",
          "  P  ",          "  R  ",       "  H  "}) {
        EXPECT_NE(usage.find(word), std::string::npos) << word;
    }
}

// Sound at full volume unless asked otherwise; --audio-out needs a level to hear.
TEST(CommandLineOptions, MuteVolumeAndAudioOut) {
    const struct {
        std::vector<const char*> argv;
        bool mute;
        int volume;
        const char* audioOut;
        const char* error;  // a part of the message, or "" for none
    } cases[] = {
        {{"orbquest"}, false, 100, "", ""},
        {{"orbquest", "--mute"}, true, 100, "", ""},
        {{"orbquest", "--volume", "0"}, false, 0, "", ""},
        {{"orbquest", "--volume", "35", "--mute"}, true, 35, "", ""},
        {{"orbquest", "--audio-out", "a.wav"}, false, 100, "a.wav", ""},
        {{"orbquest", "--volume", "101"}, false, 100, "", "--volume needs a whole number from 0"},
        {{"orbquest", "--volume", "-1"}, false, 100, "", "--volume needs a whole number from 0"},
        {{"orbquest", "--volume", "50%"}, false, 100, "", "not \"50%\""},
        {{"orbquest", "--volume"}, false, 100, "", "needs a value"},
        {{"orbquest", "--audio-out", "a.wav", "--empty-frames"},
         false,
         100,
         "a.wav",
         "--audio-out needs the level"},
    };
    for (const auto& c : cases) {
        const OptionScan result = scan(c.argv);
        SCOPED_TRACE(result.error);
        EXPECT_EQ(result.options.mute, c.mute);
        EXPECT_EQ(result.options.volume.value_or(kDefaultVolume), c.volume);
        EXPECT_EQ(result.options.audioOutPath, c.audioOut);
        if (*c.error == '\0') {
            EXPECT_EQ(result.error, "");
        } else {
            EXPECT_NE(result.error.find(c.error), std::string::npos);
        }
    }
}

TEST(CommandLineOptions, FastForwardNeedsAReplay) {
    EXPECT_EQ(scan({"orbquest", "--fast-forward", "800", "600"}).error,
              "--fast-forward needs --replay FILE: only a replay's frames can be fast-forwarded");
    const OptionScan result = scan({"orbquest", "--fast-forward", "--replay", "a.replay"});
    EXPECT_EQ(result.error, "");
    EXPECT_TRUE(result.options.fastForward);
}

TEST(CommandLineOptions, HostileValuesAreShownAsOnePrintableLine) {
    const std::string longValue(5000, '9');
    EXPECT_EQ(scan({"orbquest", "--frames", "1\n2"}).error,
              "Option --frames needs a positive whole number of frames, not \"1\\x0A2\"");
    EXPECT_EQ(scan({"orbquest", "--frames", longValue.c_str()}).error,
              "Option --frames needs a positive whole number of frames, not \"" +
                  std::string(40, '9') + "...\"");
    // Escaped bytes count as what they show: 40 characters at most, "\xNN" never cut in two.
    const std::string hostile = "--x" + std::string(50, '\xff');
    EXPECT_EQ(scan({"orbquest", hostile.c_str()}).error,
              "Unknown option --x\\xFF\\xFF\\xFF\\xFF\\xFF\\xFF\\xFF\\xFF\\xFF... (orbquest --help "
              "lists the options)");
}

}  // namespace
