#include "app/CommandLine.h"

#include <iostream>
#include <sstream>

#include "app/Fatal.h"
#include "app/Settings.h"

namespace {

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
        if (arg == "--help") {
            scan.options.help = true;
            continue;
        }
        if (arg == "--gl-debug") {
            scan.options.glDebug = true;
            continue;
        }
        if (arg == "--empty-frames") {
            scan.options.emptyFrames = true;
            continue;
        }
        if (arg != "--frames" && arg != "--screenshot" && arg != "--record" &&
            arg != "--replay" && arg != "--frame-stats") {
            fail("Unknown option " + arg + " (orbquest --help lists the options)");
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
                fail("Option --frames needs a positive whole number of frames, not \"" + value + "\"");
            } else {
                scan.options.frames = frames;
            }
        } else if (arg == "--screenshot") {
            scan.options.screenshotPath = value;
        } else if (arg == "--record") {
            scan.options.recordPath = value;
        } else if (arg == "--replay") {
            scan.options.replayPath = value;
        } else if (arg == "--frame-stats") {
            scan.options.frameStatsPath = value;
        }
    }
    if (!scan.options.recordPath.empty() && !scan.options.replayPath.empty()) {
        fail("--record and --replay cannot be used together");
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
           "  --empty-frames  only clear and swap each frame, without the level (benchmarks)\n"
           "  --frame-stats F write every frame's pass, update and swap times to the CSV file F\n"
           "\n"
           "Keys:\n"
           "  W A S D         roll the ball, relative to the camera\n"
           "  Space           lift the ball\n"
           "  mouse           turn the camera\n"
           "  I J K L         move the free camera (F6)\n"
           "  F1 ... F9, 1    render options; F1 prints the list\n"
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
