#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <regex>

#include "support/GameSession.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace {

TEST(GameStartup, HundredFramesRunCleanAndEndNormally) {
    const ProcessResult result = runGame({"--frames", "100"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.output.find("Welcome to >>Orbquest<<\n"), std::string::npos) << result.output;
    EXPECT_EQ(result.output.find("An GL-Error occured!"), std::string::npos) << result.output;
    EXPECT_EQ(result.output.find("Executing:"), std::string::npos) << "no parameters were given";
}

TEST(GameStartup, WindowTakesTheSizeFromTheCommandLine) {
    GameSession game({"800", "600"});
    ASSERT_TRUE(game.waitForWelcome()) << game.process().output();
    const std::string window = game.windowId();
    ASSERT_FALSE(window.empty());
    EXPECT_EQ(windowSize(window), std::make_pair(800, 600));
    EXPECT_EQ(game.process().output().rfind(std::string("Executing: ") + ORBQUEST_BINARY + "\n", 0),
              0u)
        << game.process().output();
    game.keyDown("Escape");
    EXPECT_EQ(game.process().wait(60), 0);
    game.keyUp("Escape");
}

// Escape is judged by its state after a frame's event poll, so it is held like a player would.
TEST(GameStartup, EscapeKeyEndsTheGame) {
    GameSession game({});
    ASSERT_TRUE(game.waitForWelcome()) << game.process().output();
    ASSERT_FALSE(game.windowId().empty());
    game.keyDown("Escape");
    EXPECT_EQ(game.process().wait(60), 0);
    game.keyUp("Escape");
}

TEST(GameStartup, ClosingTheWindowEndsTheGame) {
    GameSession game({});
    ASSERT_TRUE(game.waitForWelcome()) << game.process().output();
    ASSERT_FALSE(game.windowId().empty());
    game.requestClose();
    EXPECT_EQ(game.process().wait(60), 0);
}

TEST(GameStartup, BadParameterEndsAtOnceWithItsMessage) {
    const auto start = std::chrono::steady_clock::now();
    const ProcessResult result = runGame({"800", "600", "2"});
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.output, std::string("Executing: ") + ORBQUEST_BINARY +
                                 "\nInvalid Argument! Could not parse the third parameter as an "
                                 "integer!\n");
    // Without a terminal on standard input the pause must not wait for a key.
    EXPECT_LT(seconds, 30.0);
}

TEST(GameStartup, MissingShaderFileIsFatal) {
    TempDir dir;
    dir.copyGameAssets();
    std::filesystem::remove(dir.file("Orbquest/Scene/Shader/omni.frag"));
    const ProcessResult result = runGame({}, dir.path());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.output.find(
                  "Failed to load the shader file Orbquest/Scene/Shader/omni.frag in Shader!\n"),
              std::string::npos)
        << result.output;
    EXPECT_EQ(result.output.find("Welcome"), std::string::npos);
}

TEST(GameStartup, HelpAndUnknownFlags) {
    const ProcessResult help = runGame({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.output.find("Usage: orbquest"), std::string::npos);

    const ProcessResult unknown = runGame({"--no-such-flag"});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_NE(unknown.output.find("Unknown option --no-such-flag"), std::string::npos);
}

// A packager's or a script's question, answered without a window: no display is needed.
TEST(GameStartup, VersionIsTheProjectVersionAndNeedsNoDisplay) {
    const ProcessResult version = runProcess(
        {"/usr/bin/env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", ORBQUEST_BINARY, "--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output, "Orbquest " ORBQUEST_VERSION "\n");
    EXPECT_TRUE(std::regex_match(ORBQUEST_VERSION, std::regex("[0-9]+\\.[0-9]+\\.[0-9]+")));
}

TEST(GameStartup, DebugOutputRunsQuietlyOnACleanFrame) {
    const ProcessResult result = runGame({"--gl-debug", "--frames", "5"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output.find("An GL-Error occured!"), std::string::npos) << result.output;
    EXPECT_EQ(result.output.find("Severity = High"), std::string::npos) << result.output;
}

TEST(GameStartup, WindowSizesOutsideOneTo16384FailLikeAnyWindow) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"800", "-600"}, "800 x -600"},
        {{"0", "600"}, "0 x 600"},
        {{"100000", "100000"}, "100000 x 100000"},
    };
    for (const auto& [args, size] : cases) {
        const ProcessResult result = runGame(args);
        EXPECT_EQ(result.exitCode, 1) << size;
        EXPECT_EQ(result.output, std::string("Executing: ") + ORBQUEST_BINARY +
                                     "\nFailed to create a window!\nThe window size " + size +
                                     " is not within 1 to 16384 pixels a side.\n");
    }
}

TEST(GameStartup, AShaderPathThatIsADirectoryIsALoadFailure) {
    TempDir dir;
    dir.copyGameAssets();
    const std::string shader = "Orbquest/Scene/Shader/omni.frag";
    std::filesystem::remove(dir.file(shader));
    std::filesystem::create_directory(dir.file(shader));
    const ProcessResult result = runGame({}, dir.path());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.output.find("Failed to load the shader file " + shader + " in Shader!\n"),
              std::string::npos)
        << result.output;
    EXPECT_EQ(result.output.find("Welcome"), std::string::npos);
}

// Mesa's softpipe offers OpenGL 3.3 at most; without a display GLFW cannot even start. The
// failure line comes first as always, then GLFW's reason, then what the game needs.
TEST(GameStartup, WithoutOpenGl43TheGameSaysWhy) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"/usr/bin/env", "GALLIUM_DRIVER=softpipe", ORBQUEST_BINARY},
         "Failed to create a window!"},
        {{"/usr/bin/env", "-u", "DISPLAY", ORBQUEST_BINARY}, "Failed to initialize GLFW!"},
    };
    for (const auto& [args, failure] : cases) {
        const ProcessResult result = runProcess(args, ORBQUEST_SOURCE_DIR, 60);
        EXPECT_EQ(result.exitCode, 1);
        const std::vector<std::string> lines = splitLines(result.output);
        ASSERT_EQ(lines.size(), 3u) << result.output;
        EXPECT_EQ(lines[0], failure);
        EXPECT_EQ(lines[1].rfind("GLFW: ", 0), 0u) << lines[1];
        EXPECT_GT(lines[1].size(), std::string("GLFW: ").size());
        EXPECT_EQ(lines[2],
                  "Orbquest needs an OpenGL 4.3 core profile, which this system did not provide.");
    }
}

}  // namespace
