#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/Image.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace {

// The game started with its configuration folder in 'dir' (settings.ini lies in orbquest/).
ProcessResult runWithConfig(const TempDir& dir, const std::vector<std::string>& gameArgs) {
    std::vector<std::string> args{"/usr/bin/env", "XDG_CONFIG_HOME=" + dir.path(), ORBQUEST_BINARY};
    args.insert(args.end(), gameArgs.begin(), gameArgs.end());
    return runProcess(args, ORBQUEST_SOURCE_DIR, 300);
}

// Three frames: the first cursor reading only seeds the camera, the second moves it right.
std::string cursorReplay(int pixels) {
    return "frames 1 dt 1/60 cursor 0 0\nframes 2 dt 1/60 cursor " + std::to_string(pixels) +
           " 0\n";
}

// The picture after a replay of a cursor move, with this settings file (none if empty).
Image viewAfter(int pixels, const std::string& settings) {
    TempDir dir;
    if (!settings.empty()) {
        dir.write("orbquest/settings.ini", settings);
    }
    dir.write("turn.replay", cursorReplay(pixels));
    const ProcessResult run =
        runWithConfig(dir, {"--replay", dir.file("turn.replay"), "--frames", "3", "--screenshot",
                            dir.file("view.png"), "--samples", "0", "--shadow-quality", "hard",
                            "--no-hud", "200", "150"});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output.find("Settings file"), std::string::npos) << run.output;
    return readImage(dir.file("view.png"));
}

size_t differingTexels(const Image& a, const Image& b) {
    size_t count = 0;
    for (size_t i = 0; i < a.texels.size() && i < b.texels.size(); ++i) {
        count += a.texels[i] != b.texels[i];
    }
    return count;
}

TEST(SettingsBinary, HalvedMouseSensitivityTurnsTheSameCursorMovesHalfAsFar) {
    const Image halved = viewAfter(240, "[orbquest]\nmouse_sensitivity = 0.5\n");
    const Image halfTheMove = viewAfter(120, "");
    const Image fullTurn = viewAfter(240, "[orbquest]\nmouse_sensitivity = 1\n");
    ASSERT_TRUE(halved.loaded() && halfTheMove.loaded() && fullTurn.loaded());
    ASSERT_EQ(halved.size(), (std::pair<int, int>(200, 150)));
    EXPECT_EQ(differingTexels(halved, halfTheMove), 0u) << "the same view, turned 12 degrees";
    EXPECT_GT(differingTexels(halved, fullTurn), halved.texels.size() / 10)
        << "24 degrees looks elsewhere";
}

TEST(SettingsBinary, BadLinesAreNamedAndSaveSettingsWritesTheFileWithTheCommandLine) {
    TempDir dir;
    const std::string path = dir.file("orbquest/settings.ini");
    dir.write("orbquest/settings.ini",
              "# mine\n[orbquest]\nvolume = loud\nmouse_sensitivity = 0.25\nhud = off\n");
    const ProcessResult saved = runWithConfig(dir, {"--save-settings", "--mute", "800", "600"});
    EXPECT_EQ(saved.exitCode, 0);
    EXPECT_EQ(saved.output, "Settings file " + path +
                                ", line 3: volume is \"loud\", not a whole number from 0 to 100; "
                                "the default stays\nExecuting: " ORBQUEST_BINARY
                                "\nSettings saved to " +
                                path + "\n");
    const std::string text = readFile(path);
    for (const char* line : {"width = 800\n", "height = 600\n", "mute = on\n", "volume = 100\n",
                             "mouse_sensitivity = 0.25\n", "hud = off\n", "fullscreen = off\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
    }
    EXPECT_EQ(text.find("# mine"), std::string::npos) << "comments are not kept";

    const ProcessResult again = runWithConfig(dir, {"--save-settings"});
    EXPECT_EQ(again.output, "Settings saved to " + path + "\n") << "the saved file reads clean";
    EXPECT_EQ(readFile(path), text);
}

TEST(SettingsBinary, AnUnreadableFileGivesOneLineAndTheGameStarts) {
    TempDir dir;
    dir.write("orbquest/settings.ini/inside", "a folder where the file should be");
    const ProcessResult run =
        runWithConfig(dir, {"--frames", "2", "--samples", "0", "--shadow-quality", "hard"});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(countOccurrences(run.output, "Settings file "), 1u) << run.output;
    EXPECT_NE(run.output.find("settings.ini not read: it is a folder; the game starts with the "
                              "default settings\n"),
              std::string::npos)
        << run.output;
}

}  // namespace
