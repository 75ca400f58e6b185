#include "app/CommandLine.h"

#include <iostream>
#include <sstream>

#include "base/ConsoleText.h"
#include "base/Fatal.h"
#include "input/Replay.h"
#include "app/Settings.h"

namespace {

// A fixed frame time shorter than this would stop the single-precision clock advancing.
constexpr double kShortestFrameTime = 1e-4;
constexpr double kLongestFrameTime = 10.0;
// A recorded autopilot run plays the same on any machine: a power of two adds up exactly.
constexpr float kRecordedAutopilotFrameTime = 1.0f / 64.0f;

// The options that take no value, each with the setting it turns on.
const struct {
    const char* name;
    bool Options::*flag;
} kSwitches[] = {
    {"--help", &Options::help},
    {"--gl-debug", &Options::glDebug},
    {"--empty-frames", &Options::emptyFrames},
    {"--fast-forward", &Options::fastForward},
    {"--autopilot", &Options::autopilot},
};

bool Options::*switchNamed(const std::string& arg) {
    for (const auto& option : kSwitches) {
        if (arg == option.name) {
            return option.flag;
        }
    }
    return nullptr;
}

// Formatted extraction as the player's shell hands it over: leading blanks are skipped and
// the number ends at the first character that cannot continue it ("800px" reads as 800).
template <typename T>
bool extract(const std::string& text, T& value) {
    std::istringstream stream(text);
    stream >> value;
    return !stream.fail();
}

}  // namespace

OptionScan extractOptions(int argc, const char* const* argv) {
    OptionScan scan;
    auto fail = [&scan](const std::string& message) {
        if (scan.error.empty()) {
            scan.error = message;
        }
    };
    bool optionsEnded = false;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i == 0 || optionsEnded || arg.rfind("--", 0) != 0) {
            scan.positional.push_back(arg);
            continue;
        }
        if (arg == "--") {  // everything after it is a positional parameter
            optionsEnded = true;
            continue;
        }
        if (bool Options::*flag = switchNamed(arg)) {
            scan.options.*flag = true;
            continue;
        }
        if (arg != "--frames" && arg != "--screenshot" && arg != "--record" && arg != "--replay" &&
            arg != "--frame-time" && arg != "--frame-stats") {
            fail("Unknown option " + printable(arg) + " (orbquest --help lists the options)");
            continue;
        }
        // The options below take the next argument as their value.
        if (i + 1 >= argc) {
            fail("Option " + arg + " needs a value");
            continue;
        }
        const std::string value = argv[++i];
        if (arg == "--frames") {
            std::istringstream stream(value);
            int frames = 0;
            char extra = 0;
            if (!(stream >> frames) || frames <= 0 || (stream >> extra)) {
                fail("Option --frames needs a positive whole number of frames, not \"" +
                     printable(value) + "\"");
            } else {
                scan.options.frames = frames;
            }
        } else if (arg == "--screenshot") {
            scan.options.screenshotPath = value;
        } else if (arg == "--record") {
            scan.options.recordPath = value;
        } else if (arg == "--replay") {
            scan.options.replayPath = value;
        } else if (arg == "--frame-time") {
            double seconds = 0.0;
            if (!parseSeconds(value, seconds) || seconds < kShortestFrameTime ||
                seconds > kLongestFrameTime) {
                fail("Option --frame-time needs seconds from 0.0001 to 10 (e.g. 1/60), not \"" +
                     printable(value) + "\"");
            } else {
                scan.options.frameTime = static_cast<float>(seconds);
            }
        } else if (arg == "--frame-stats") {
            scan.options.frameStatsPath = value;
        }
    }
    Options& options = scan.options;
    const bool replaying = !options.replayPath.empty();
    if (!options.recordPath.empty() && replaying) {
        fail("--record and --replay cannot be used together");
    }
    if (options.fastForward && !replaying) {
        fail("--fast-forward needs --replay FILE: only a replay's frames can be fast-forwarded");
    }
    if (options.frameTime > 0.0f && replaying) {
        fail("--frame-time and --replay cannot be used together: a replay has its own frame times");
    }
    if (options.autopilot && options.emptyFrames) {
        fail("--autopilot needs the level, which --empty-frames leaves out");
    }
    if (options.autopilot && !options.recordPath.empty() && options.frameTime == 0.0f) {
        options.frameTime = kRecordedAutopilotFrameTime;
    }
    return scan;
}

std::string usageText() {
    return "Usage: orbquest [options] [width height [fullscreen [refresh-rate]]]\n"
           "\n"
           "  width height    window size in pixels (default 1024 768; one alone is ignored)\n"
           "  fullscreen      1 for full screen on the primary monitor, 0 for a window\n"
           "  refresh-rate    refresh rate in Hz asked for in full screen (default 60)\n"
           "\n"
           "Options:\n"
           "  --help          print this text and exit\n"
           "  --gl-debug      print the OpenGL driver's debug messages\n"
           "  --frames N      end the game normally after N frames\n"
           "  --screenshot F  write the last frame drawn to the PNG file F\n"
           "  --record F      write every frame's input to the replay file F\n"
           "  --replay F      play the replay file F instead of live input, then go on live\n"
           "  --fast-forward  with --replay: run the replay's frames without drawing them,\n"
           "                  up to its last frame, which is drawn\n"
           "  --empty-frames  only clear and swap each frame, without the level (benchmarks)\n"
           "  --autopilot     let the autopilot play; W A S D or Space takes the ball over\n"
           "  --frame-time T  every frame takes T seconds of game time (e.g. 1/60) whatever the\n"
           "                  clock says; an autopilot run being recorded takes 1/64 unless set\n"
           "  --frame-stats F write every frame's pass, update and swap times to the CSV file F\n"
           "\n"
           "Keys:\n"
           "  W A S D         roll the ball, relative to the camera\n"
           "  Space           lift the ball\n"
           "  mouse           turn the camera\n"
           "  I J K L         move the free camera (F6)\n"
           "  F1 ... F9, 1    render options; F1 prints the list\n"
           "  F12             save a screenshot as orbquest-NNNN.png where the game was started\n"
           "  Escape          quit\n";
}

CommandLineValues readCommandLine(const std::vector<std::string>& args) {
    CommandLineValues values;
    const size_t argc = args.size();
    if (argc >= 3) {
        values.announcesProgram = true;
        if (!extract(args[1], values.windowWidth)) {
            values.error = "Invalid Argument! Required an integer for the first parameter!";
            return values;
        }
        if (!extract(args[2], values.windowHeight)) {
            values.error = "Invalid Argument! Required an integer for the second parameter!";
            return values;
        }
    }
    if (argc >= 4 && !extract(args[3], values.fullScreen)) {
        values.error = "Invalid Argument! Could not parse the third parameter as an integer!";
        return values;
    }
    if (argc >= 5 && !extract(args[4], values.refreshRate)) {
        values.error = "Invalid Argument! Required an integer for the fourth parameter!";
        return values;
    }
    return values;
}

void parseCommandLine(int argc, const char* const* argv) {
    const CommandLineValues values = readCommandLine(std::vector<std::string>(argv, argv + argc));
    if (values.announcesProgram) {
        std::cout << "Executing: " << argv[0] << std::endl;
    }
    if (!values.error.empty()) {
        fatalError(values.error);
    }
    windowWidth = values.windowWidth;
    windowHeight = values.windowHeight;
    fullScreen = values.fullScreen;
    refreshRate = values.refreshRate;
}
