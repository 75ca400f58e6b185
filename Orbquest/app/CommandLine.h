#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/Settings.h"
#include "render/RenderQuality.h"

// Option flags start with "--" and are taken out of the command line before the positional
// parameters (width, height, full screen, refresh rate) are read.
struct Options {
    bool help = false;
    bool version = false;
    bool glDebug = false;
    bool emptyFrames = false;   // each frame only clears and swaps: a baseline for benchmarks
    bool fastForward = false;   // a replay's frames run undrawn up to its last one
    bool autopilot = false;     // the autopilot plays until the player takes over
    bool mute = false;          // the game starts with the sound off
    bool noHud = false;         // the on-screen display starts hidden (H shows it)
    bool saveSettings = false;  // the settings file gets what the game would start with
    std::optional<int> volume;  // percent; unset, the settings file's
    float frameTime = 0.0f;     // seconds every frame takes whatever the clock says; 0: the clock
    int frames = 0;  // end normally after this many frames; 0 runs until the player quits
    std::string screenshotPath;   // PNG of the last frame drawn, written before the teardown
    std::string recordPath;       // replay file written from the live game
    std::string replayPath;       // replay file played instead of live input
    std::string frameStatsPath;   // CSV of every frame's pass and update times (benchmarks)
    std::string audioOutPath;     // WAV file of what the game plays, mixed frame by frame
    std::string level;            // a level of the set by name, or a level file; empty: the road
    std::string exportLevelPath;  // the level chosen is written here as a level file
    QualityChoice quality;        // --samples and --shadow-quality; the game picks what is left
};

struct OptionScan {
    Options options;
    std::vector<std::string> positional;  // argv[0] first, then the parameters in order
    std::string error;                    // empty when every flag was understood
};

OptionScan extractOptions(int argc, const char* const* argv);

std::string usageText();

// What the positional parameters say; parseCommandLine applies it to the settings.
struct CommandLineValues {
    int windowWidth = kDefaultWindowWidth;
    int windowHeight = kDefaultWindowHeight;
    bool fullScreen = kDefaultFullScreen;
    int refreshRate = kDefaultRefreshRate;
    bool announcesProgram = false;  // "Executing: <path>" is printed
    std::string error;              // the console line of the first bad parameter
};

CommandLineValues readCommandLine(const std::vector<std::string>& args);

// The settings file's values with whatever the command line says instead; ends the process on a
// bad parameter. Sets refreshRate, which the file does not keep.
GameSettings applyCommandLine(const OptionScan& scan, GameSettings settings);
