#include "app/CommandLine.h"

#include <iostream>
#include <sstream>

#include "base/ConsoleText.h"
#include "base/Fatal.h"
#include "input/Replay.h"
#include "app/Settings.h"
#include "levels/LevelSet.h"

namespace {

// A fixed frame time is taken by every frame of a run, so it must keep moving the
// single-precision clock for much longer than the shortest a replay's frame may take.
constexpr double kShortestFrameTime = 1e-4;
// A recorded autopilot run plays the same on any machine: a power of two adds up exactly.
constexpr float kRecordedAutopilotFrameTime = 1.0f / 64.0f;

// The options that take no value, each with the setting it turns on.
const struct {
    const char* name;
    bool Options::*flag;
} kSwitches[] = {
    {"--help", &Options::help},
    {"--version", &Options::version},
    {"--gl-debug", &Options::glDebug},
    {"--empty-frames", &Options::emptyFrames},
    {"--fast-forward", &Options::fastForward},
    {"--autopilot", &Options::autopilot},
    {"--mute", &Options::mute},
    {"--no-hud", &Options::noHud},
    {"--save-settings", &Options::saveSettings},
};

bool Options::*switchNamed(const std::string& arg) {
    for (const auto& option : kSwitches) {
        if (arg == option.name) {
            return option.flag;
        }
    }
    return nullptr;
}

// Each reads an option's value into the options; returns what is wrong with it, or "".
std::string readFrames(const std::string& value, Options& options) {
    std::istringstream stream(value);
    int frames = 0;
    char extra = 0;
    if (!(stream >> frames) || frames <= 0 || (stream >> extra)) {
        return "Option --frames needs a positive whole number of frames, not \"" +
               printable(value) + "\"";
    }
    options.frames = frames;
    return "";
}

std::string readFrameTime(const std::string& value, Options& options) {
    double seconds = 0.0;
    if (!parseSeconds(value, seconds) || seconds < kShortestFrameTime || seconds > kMaxFrameTime) {
        std::ostringstream message;
        message << "Option --frame-time needs seconds from " << kShortestFrameTime << " to "
                << kMaxFrameTime << " (e.g. 1/60), not \"" << printable(value) << "\"";
        return message.str();
    }
    options.frameTime = static_cast<float>(seconds);
    return "";
}

std::string readVolume(const std::string& value, Options& options) {
    std::istringstream stream(value);
    int volume = -1;
    char extra = 0;
    if (!(stream >> volume) || volume < 0 || volume > kMaxVolume || (stream >> extra)) {
        return "Option --volume needs a whole number from 0 to " + std::to_string(kMaxVolume) +
               ", not \"" + printable(value) + "\"";
    }
    options.volume = volume;
    return "";
}

std::string readSamples(const std::string& value, Options& options) {
    for (int samples : kSampleCounts) {
        if (value == std::to_string(samples)) {
            options.quality.samples = samples;
            return "";
        }
    }
    return "Option --samples needs 0, 2, 4 or 8 samples, not \"" + printable(value) + "\"";
}

std::string readShadowQuality(const std::string& value, Options& options) {
    ShadowQuality quality = kFullLookShadows;
    if (!shadowQualityNamed(value, quality)) {
        return "Option --shadow-quality needs soft, fast or hard, not \"" + printable(value) + "\"";
    }
    options.quality.shadows = quality;
    return "";
}

// The options that take the next argument as their value: a file path stored as given, or a
// value that 'read' checks.
struct ValueOption {
    const char* name;
    std::string Options::*path;
    std::string (*read)(const std::string& value, Options& options);
};
const ValueOption kValueOptions[] = {
    {"--frames", nullptr, readFrames},
    {"--screenshot", &Options::screenshotPath, nullptr},
    {"--record", &Options::recordPath, nullptr},
    {"--replay", &Options::replayPath, nullptr},
    {"--frame-time", nullptr, readFrameTime},
    {"--frame-stats", &Options::frameStatsPath, nullptr},
    {"--volume", nullptr, readVolume},
    {"--audio-out", &Options::audioOutPath, nullptr},
    {"--samples", nullptr, readSamples},
    {"--shadow-quality", nullptr, readShadowQuality},
    {"--level", &Options::level, nullptr},
    {"--export-level", &Options::exportLevelPath, nullptr},
};

const ValueOption* valueOptionNamed(const std::string& arg) {
    for (const ValueOption& option : kValueOptions) {
        if (arg == option.name) {
            return &option;
        }
    }
    return nullptr;
}

// Options that cannot go together; completes what one option implies for another.
std::string checkCombination(Options& options) {
    const bool replaying = !options.replayPath.empty();
    if (!options.recordPath.empty() && replaying) {
        return "--record and --replay cannot be used together";
    }
    if (options.fastForward && !replaying) {
        return "--fast-forward needs --replay FILE: only a replay's frames can be fast-forwarded";
    }
    if (options.frameTime > 0.0f && replaying) {
        return "--frame-time and --replay cannot be used together: a replay has its own frame "
               "times";
    }
    if (!options.audioOutPath.empty() && options.emptyFrames) {
        return "--audio-out needs the level, which --empty-frames leaves out";
    }
    if (options.autopilot && options.emptyFrames) {
        return "--autopilot needs the level, which --empty-frames leaves out";
    }
    if (options.autopilot && !options.recordPath.empty() && options.frameTime == 0.0f) {
        options.frameTime = kRecordedAutopilotFrameTime;
    }
    return "";
}

std::string levelNames() {
    std::string names;
    for (const std::string& name : levels::levelSet()) {
        names += (names.empty() ? "" : ", ") + name;
    }
    return names;
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
        } else if (arg == "--") {  // everything after it is a positional parameter
            optionsEnded = true;
        } else if (bool Options::*flag = switchNamed(arg)) {
            scan.options.*flag = true;
        } else if (const ValueOption* option = valueOptionNamed(arg)) {
            if (i + 1 >= argc) {
                fail("Option " + arg + " needs a value");
                continue;
            }
            const std::string value = argv[++i];
            if (option->path) {
                scan.options.*(option->path) = value;
            } else {
                fail(option->read(value, scan.options));
            }
        } else {
            fail("Unknown option " + printable(arg) + " (orbquest --help lists the options)");
        }
    }
    fail(checkCombination(scan.options));
    return scan;
}

std::string usageText() {
    const std::string parameters =
        "  width height    window size in pixels (default " + std::to_string(kDefaultWindowWidth) +
        " " + std::to_string(kDefaultWindowHeight) +
        "; one alone is ignored)\n"
        "  fullscreen      1 for full screen on the primary monitor, 0 for a window\n"
        "  refresh-rate    refresh rate in Hz asked for in full screen (default " +
        std::to_string(kDefaultRefreshRate) + ")\n";
    return "Usage: orbquest [options] [width height [fullscreen [refresh-rate]]]\n"
           "\n" +
           parameters +
           "\n"
           "Options:\n"
           "  --help          print this text and exit\n"
           "  --version       print the game's version and exit\n"
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
           "  --no-hud        start with the on-screen display hidden (H shows it)\n"
           "  --mute          start with the sound off (M turns it on)\n"
           "  --volume N      sound volume from 0 to " +
           std::to_string(kMaxVolume) + " (default " + std::to_string(kDefaultVolume) +
           ")\n"
           "  --audio-out F   write what the game plays to the WAV file F instead of playing it,\n"
           "                  exactly each frame's game time, the same on any machine\n"
           "  --samples N     multisampling: 0, 2, 4 or 8 samples (default 4; 0 on a software\n"
           "                  renderer)\n"
           "  --shadow-quality Q\n"
           "                  shadows: soft, fast or hard (default soft)\n"
           "  --save-settings write the settings file's values, with the ones given on this\n"
           "                  command line instead, to the settings file and exit\n"
           "  --level L       play the level L: a level of the set by its name, or a level\n"
           "                  file; the set: " +
           levelNames() +
           "\n"
           "  --export-level F\n"
           "                  write the level chosen (the road unless --level says) to the\n"
           "                  level file F and exit\n"
           "\n"
           "Files named above are written to a temporary file beside them and renamed into\n"
           "place when the game ends; one that cannot be written ends the game with exit\n"
           "code 1, an earlier file of that name left as it was.\n"
           "\n"
           "Settings: $XDG_CONFIG_HOME/orbquest/settings.ini (default ~/.config/orbquest/)\n"
           "keeps the window, mouse, gamepad, sound, quality and display settings; the\n"
           "command line wins over it. Extra gamepad mappings: gamecontrollerdb.txt there.\n"
           "\n"
           "Keys:\n"
           "  W A S D         roll the ball, relative to the camera\n"
           "  Space           lift the ball\n"
           "  mouse           turn the camera\n"
           "  I J K L         move the free camera (F6)\n"
           "  P               pause and resume (losing the window's focus pauses too)\n"
           "  R               start the level again, at any moment\n"
           "  N               after a win: on to the next level of the set\n"
           "  H               hide or show the on-screen display\n"
           "  F1 ... F9, 1    render options; F1 prints the list and shows the keys on screen\n"
           "  F12             save a screenshot as orbquest-NNNN.png where the game was started\n"
           "  M               sound off / on\n"
           "  Escape          quit\n"
           "\n"
           "Gamepad:\n"
           "  left stick      roll the ball, as W A S D; so does the d-pad\n"
           "  A               lift the ball, as Space\n"
           "  right stick     turn the camera\n"
           "  Start           pause and resume, as P\n"
           "  Back            start the level again, as R\n";
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

GameSettings applyCommandLine(const OptionScan& scan, GameSettings settings) {
    const CommandLineValues values = readCommandLine(scan.positional);
    if (values.announcesProgram) {
        std::cout << "Executing: " << scan.positional.front() << std::endl;
    }
    if (!values.error.empty()) {
        fatalError(values.error);
    }
    // Each positional parameter given wins over the file; the ones left out do not.
    const size_t given = scan.positional.size() - 1;
    if (given >= 2) {
        settings.windowWidth = values.windowWidth;
        settings.windowHeight = values.windowHeight;
    }
    if (given >= 3) {
        settings.fullScreen = values.fullScreen;
    }
    refreshRate = values.refreshRate;
    const Options& options = scan.options;
    settings.mute = settings.mute || options.mute;
    settings.hud = settings.hud && !options.noHud;
    settings.volume = options.volume.value_or(settings.volume);
    if (options.quality.samples) {
        settings.samples = *options.quality.samples;
    }
    if (options.quality.shadows) {
        settings.shadowQuality = shadowQualityName(*options.quality.shadows);
    }
    return settings;
}
