#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "render/RenderQuality.h"
#include "settings/SettingsFile.h"
#include "support/TempDir.h"

namespace {

const std::string kPath = "/home/ann/.config/orbquest/settings.ini";

SettingsRead parsed(const std::string& lines) {
    return parseSettings("[orbquest]\n" + lines, kPath);
}

struct KeyCase {
    const char* line;
    bool (*holds)(const GameSettings& settings);
};

TEST(SettingsFile, ReadsEveryKey) {
    const KeyCase cases[] = {
        {"width = 1280", [](const GameSettings& s) { return s.windowWidth == 1280; }},
        {"height = 720", [](const GameSettings& s) { return s.windowHeight == 720; }},
        {"fullscreen = on", [](const GameSettings& s) { return s.fullScreen; }},
        {"mouse_sensitivity = 0.5",
         [](const GameSettings& s) { return s.mouseSensitivity == 0.5f; }},
        {"invert_y = yes", [](const GameSettings& s) { return s.invertY; }},
        {"pad_dead_zone = 0.1", [](const GameSettings& s) { return s.padDeadZone == 0.1f; }},
        {"pad_camera_speed = 200",
         [](const GameSettings& s) { return s.padCameraSpeed == 200.0f; }},
        {"volume = 35", [](const GameSettings& s) { return s.volume == 35; }},
        {"mute = true", [](const GameSettings& s) { return s.mute; }},
        {"samples = 0", [](const GameSettings& s) { return s.samples == 0; }},
        {"shadow_quality = hard", [](const GameSettings& s) { return s.shadowQuality == "hard"; }},
        {"hud = off", [](const GameSettings& s) { return !s.hud; }},
    };
    const GameSettings defaults;
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.line);
        const SettingsRead read = parsed(std::string(c.line) + "\n");
        EXPECT_EQ(read.problems, std::vector<std::string>());
        EXPECT_TRUE(c.holds(read.settings));
        EXPECT_FALSE(c.holds(defaults)) << "the case must differ from the default";
    }
}

TEST(SettingsFile, ABadValueOrUnknownKeyIsNamedWithItsLineAndTheRestCounts) {
    const SettingsRead read = parsed(
        "width = wide\n"           // line 2
        "height = 600\n"           // line 3
        "; a comment\n"            // line 4
        "volume = 101\n"           // line 5
        "colour = blue\n"          // line 6
        "samples = 3\n"            // line 7
        "shadow_quality = Soft\n"  // line 8
        "mouse_sensitivity = 0\n"  // line 9
        "hud = maybe\n");          // line 10
    ASSERT_EQ(read.problems.size(), 7u);
    const std::string file = "Settings file " + kPath + ", line ";
    EXPECT_EQ(read.problems[0], file +
                                    "2: width is \"wide\", not a whole number of pixels from 1 to "
                                    "16384; the default stays");
    EXPECT_EQ(read.problems[1],
              file + "5: volume is \"101\", not a whole number from 0 to 100; the default stays");
    EXPECT_EQ(read.problems[2].rfind(file + "6: unknown key \"colour\" (known: width, height,", 0),
              0u)
        << read.problems[2];
    EXPECT_NE(read.problems[3].find("7: samples is \"3\", not 0, 2, 4 or 8"), std::string::npos);
    EXPECT_NE(read.problems[4].find("8: shadow_quality is \"Soft\", not soft, fast or hard"),
              std::string::npos);
    EXPECT_NE(read.problems[5].find("9: mouse_sensitivity"), std::string::npos);
    EXPECT_NE(read.problems[6].find("10: hud is \"maybe\", not on or off"), std::string::npos);
    const GameSettings defaults;
    EXPECT_EQ(read.settings.windowWidth, defaults.windowWidth);
    EXPECT_EQ(read.settings.windowHeight, 600);
    EXPECT_EQ(read.settings.volume, defaults.volume);
    EXPECT_EQ(read.settings.samples, defaults.samples);
    EXPECT_EQ(read.settings.hud, defaults.hud);
}

TEST(SettingsFile, OtherSectionsAndLinesThatAreNoPairsAreNamed) {
    const SettingsRead read = parseSettings(
        "width = 800\n[video]\nheight = 600\n[orbquest]\nthis is no pair\nhud = off\n", kPath);
    ASSERT_EQ(read.problems.size(), 2u);
    EXPECT_NE(read.problems[0].find("line 3: a section [video]"), std::string::npos);
    EXPECT_NE(read.problems[1].find("line 5: not \"key = value\""), std::string::npos);
    EXPECT_EQ(read.settings.windowWidth, 800) << "keys before any section count";
    EXPECT_EQ(read.settings.windowHeight, kDefaultWindowHeight);
    EXPECT_FALSE(read.settings.hud);
}

// Whatever is not a settings file at all gets one line and leaves every default.
TEST(SettingsFile, AFileThatCannotBeReadGivesOneLineAndTheDefaults) {
    TempDir dir;
    const std::string folder = dir.file("settings.ini");
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    const std::string nul = std::string("[orbquest]\nwidth = 800\n") + '\0' + "\n";
    const std::string longLine = "[orbquest]\nwidth = 800\n; " + std::string(200, 'x') + "\n";
    dir.write("nul.ini", nul);
    dir.write("long.ini", longLine);
    const struct {
        std::string path;
        std::string why;
    } cases[] = {
        {folder, "it is a folder"},
        {dir.file("nul.ini"), "it is not text"},
        {dir.file("long.ini"), "line 3 is longer than"},
    };
    for (const auto& c : cases) {
        const SettingsRead read = loadSettings(c.path);
        ASSERT_EQ(read.problems.size(), 1u) << c.path;
        EXPECT_EQ(read.problems[0].rfind("Settings file " + c.path + " not read: " + c.why, 0), 0u)
            << read.problems[0];
        EXPECT_EQ(read.settings.windowWidth, kDefaultWindowWidth);
    }
    const SettingsRead missing = loadSettings(dir.file("none.ini"));
    EXPECT_TRUE(missing.problems.empty()) << "a missing file is no message";
}

TEST(SettingsFile, WhatIsSavedReadsBackAndReplacesTheFileInANewFolder) {
    TempDir dir;
    const std::string path = dir.file("config/orbquest/settings.ini");
    GameSettings settings;
    settings.windowWidth = 1920;
    settings.windowHeight = 1080;
    settings.fullScreen = true;
    settings.mouseSensitivity = 0.3f;
    settings.invertY = true;
    settings.padDeadZone = 0.15f;
    settings.padCameraSpeed = 90.5f;
    settings.volume = 7;
    settings.mute = true;
    settings.samples = 2;
    settings.shadowQuality = "fast";
    settings.hud = false;
    std::string error;
    ASSERT_TRUE(saveSettings(path, settings, error)) << error;
    dir.write("config/orbquest/settings.ini", "width = 1\n");
    ASSERT_TRUE(saveSettings(path, settings, error)) << error;
    const SettingsRead back = loadSettings(path);
    EXPECT_TRUE(back.problems.empty());
    EXPECT_EQ(formatSettings(back.settings), formatSettings(settings));
    EXPECT_EQ(back.settings.mouseSensitivity, 0.3f);
    EXPECT_EQ(back.settings.padCameraSpeed, 90.5f);
    EXPECT_EQ(back.settings.shadowQuality, "fast");
    EXPECT_EQ(back.settings.samples, 2);

    // What the game chooses for itself stays the game's choice.
    const std::string text = formatSettings(GameSettings());
    EXPECT_EQ(text.find("samples"), std::string::npos) << text;
    EXPECT_EQ(text.find("shadow_quality"), std::string::npos) << text;
}

TEST(SettingsFile, TheShadowNamesAreTheOnesTheRendererKnows) {
    for (const char* name : kShadowQualityNames) {
        ShadowQuality quality = ShadowQuality::Hard;
        EXPECT_TRUE(shadowQualityNamed(name, quality)) << name;
        EXPECT_STREQ(shadowQualityName(quality), name);
    }
}

GameSettings withCommandLine(std::vector<const char*> argv, const GameSettings& file) {
    argv.insert(argv.begin(), "orbquest");
    return applyCommandLine(extractOptions(static_cast<int>(argv.size()), argv.data()), file);
}

TEST(SettingsFile, TheCommandLineWinsWhereItSaysAnything) {
    GameSettings file;
    file.windowWidth = 1280;
    file.windowHeight = 720;
    file.fullScreen = true;
    file.volume = 20;
    file.samples = 8;
    file.shadowQuality = "hard";
    file.mouseSensitivity = 0.5f;

    const GameSettings untouched = withCommandLine({}, file);
    EXPECT_EQ(formatSettings(untouched), formatSettings(file));

    const GameSettings one = withCommandLine({"640"}, file);
    EXPECT_EQ(one.windowWidth, 1280) << "one size alone is ignored";

    const GameSettings given = withCommandLine({"--volume", "90", "--mute", "--no-hud", "--samples",
                                                "0", "--shadow-quality", "soft", "800", "600"},
                                               file);
    EXPECT_EQ(given.windowWidth, 800);
    EXPECT_EQ(given.windowHeight, 600);
    EXPECT_TRUE(given.fullScreen) << "not given, so the file's";
    EXPECT_EQ(given.volume, 90);
    EXPECT_TRUE(given.mute);
    EXPECT_FALSE(given.hud);
    EXPECT_EQ(given.samples, 0);
    EXPECT_EQ(given.shadowQuality, "soft");
    EXPECT_EQ(given.mouseSensitivity, 0.5f);
    EXPECT_FALSE(withCommandLine({"800", "600", "0"}, file).fullScreen);
}

}  // namespace
