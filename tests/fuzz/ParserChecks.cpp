#include "ParserChecks.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "app/CommandLine.h"
#include "input/Replay.h"
#include "levels/FallLimits.h"
#include "levels/LevelFile.h"
#include "records/RecordsText.h"
#include "settings/SettingsFile.h"

namespace {

constexpr size_t kLongestMessage = 200;

std::string oneLineProblem(const std::string& message) {
    if (message.empty()) {
        return "an empty refusal";
    }
    if (message.size() > kLongestMessage) {
        return "a refusal of " + std::to_string(message.size()) +
               " characters: " + message.substr(0, kLongestMessage);
    }
    for (char c : message) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u >= 0x7f) {
            return "an unprintable byte in the refusal: " + message;
        }
    }
    return "";
}

bool isKey(int key) {
    return key >= GLFW_KEY_SPACE && key <= GLFW_KEY_LAST;
}

std::string unplayable(const ReplayFrame& frame) {
    if (frame.repeat < 1 || frame.repeat > kMaxFramesPerLine) {
        return "a repeat count of " + std::to_string(frame.repeat);
    }
    if (!(frame.frameTime > 0.0f) || frame.frameTime > kMaxFrameTime) {
        return "a frame time of " + std::to_string(frame.frameTime);
    }
    if (!(std::abs(frame.cursorX) <= kMaxCursor) || !(std::abs(frame.cursorY) <= kMaxCursor)) {
        return "a cursor beyond the limit";
    }
    const PadState& pad = frame.pad;
    for (float axis : {pad.leftX, pad.leftY, pad.rightX, pad.rightY}) {
        if (!(std::abs(axis) <= 1.0f)) {
            return "a stick beyond its travel";
        }
    }
    if (pad.buttons > kMaxPadButtons) {
        return "a pad button GLFW does not have";
    }
    if (frame.events.size() > kMaxEventsPerLine) {
        return std::to_string(frame.events.size()) + " key events on a line";
    }
    if (!std::all_of(frame.keysDown.begin(), frame.keysDown.end(), isKey) ||
        !std::all_of(frame.events.begin(), frame.events.end(), [](const KeyEvent& event) {
            return isKey(event.key) || event.key == kFocusLost;  // "unfocus"
        })) {
        return "a key code outside GLFW's keys";
    }
    return "";
}

bool sameFrame(const ReplayFrame& a, const ReplayFrame& b) {
    return a.repeat == b.repeat && a.frameTime == b.frameTime && a.keysDown == b.keysDown &&
           a.cursorX == b.cursorX && a.cursorY == b.cursorY && a.pad == b.pad &&
           std::equal(a.events.begin(), a.events.end(), b.events.begin(), b.events.end(),
                      [](const KeyEvent& x, const KeyEvent& y) {
                          return x.key == y.key && x.action == y.action;
                      });
}

}  // namespace

std::string checkReplayText(const std::string& text) {
    const ReplayScript script = parseReplay(text);
    if (!script.error.empty()) {
        if (!script.frames.empty()) {
            return "refused, yet frames were kept: " + script.error;
        }
        return oneLineProblem(script.error);
    }
    if (script.frames.empty()) {
        return "accepted without frames";
    }
    std::string recorded = script.level.empty() ? "" : formatReplayLevel(script.level) + "\n";
    PadState written;  // as a recording writes the pad: only where it changes
    for (size_t i = 0; i < script.frames.size(); ++i) {
        if (const std::string problem = unplayable(script.frames[i]); !problem.empty()) {
            return "frame " + std::to_string(i) + " has " + problem;
        }
        recorded += formatReplayFrame(script.frames[i], written) + "\n";
        written = script.frames[i].pad;
    }
    const ReplayScript again = parseReplay(recorded);
    if (!again.error.empty()) {
        return "its recording is refused: " + again.error;
    }
    if (again.frames.size() != script.frames.size()) {
        return "its recording reads back as another number of lines";
    }
    if (again.level != script.level) {
        return "its recording reads back as another level";
    }
    for (size_t i = 0; i < script.frames.size(); ++i) {
        if (!sameFrame(again.frames[i], script.frames[i])) {
            return "frame " + std::to_string(i) + " reads back otherwise from its recording";
        }
    }
    return "";
}

std::string checkCommandLine(const std::vector<std::string>& args) {
    std::vector<const char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(arg.c_str());
    }
    const OptionScan scan = extractOptions(static_cast<int>(argv.size()), argv.data());
    if (!scan.error.empty()) {
        return oneLineProblem(scan.error);
    }
    const Options& options = scan.options;
    if (options.frames < 0 || (options.fastForward && options.replayPath.empty()) ||
        (!options.recordPath.empty() && !options.replayPath.empty())) {
        return "accepted options that cannot go together";
    }
    if (options.frameTime < 0.0f || !std::isfinite(options.frameTime)) {
        return "accepted a frame time of " + std::to_string(options.frameTime);
    }
    const CommandLineValues values = readCommandLine(scan.positional);
    if (!values.error.empty() && values.error.rfind("Invalid Argument! ", 0) != 0) {
        return "a parameter refused with another line: " + values.error;
    }
    return "";
}

std::string checkRecordsText(const std::string& text) {
    const RecordsText records = parseRecords(text);
    if (!records.error.empty()) {
        return oneLineProblem(records.error);
    }
    for (const auto& [level, seconds] : records.bestTimes) {
        if (!levels::isLevelName(level) || !(seconds > 0.0f) || !std::isfinite(seconds)) {
            return "accepted a best time of " + std::to_string(seconds) + " for " + level;
        }
    }
    const RecordsText again = parseRecords(formatRecords(records.bestTimes));
    if (!again.error.empty()) {
        return "its own file is refused: " + again.error;
    }
    if (again.bestTimes != records.bestTimes) {
        return "its own file reads back other times";
    }
    return "";
}

namespace {

const char* const kSettingsPath = "/home/ann/.config/orbquest/settings.ini";
// A line names the file and the line, quotes at most a line of the file and lists the keys.
constexpr size_t kLongestSettingsLine = 600;

std::string settingsLineProblem(const std::string& line) {
    if (line.rfind(std::string("Settings file ") + kSettingsPath, 0) != 0) {
        return "a line that does not name the file: " + line.substr(0, kLongestMessage);
    }
    if (line.size() > kLongestSettingsLine) {
        return "a line of " + std::to_string(line.size()) + " characters";
    }
    for (char c : line) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u >= 0x7f) {
            return "an unprintable byte in: " + line.substr(0, kLongestMessage);
        }
    }
    return "";
}

bool within(float value, float low, float high) {
    return value >= low && value <= high;  // false for NaN
}

std::string unusable(const GameSettings& s) {
    if (s.windowWidth < 1 || s.windowWidth > kMaxWindowSide || s.windowHeight < 1 ||
        s.windowHeight > kMaxWindowSide) {
        return "a window size the game refuses";
    }
    if (!(s.mouseSensitivity > 0.0f) || s.mouseSensitivity > kMaxMouseSensitivity ||
        !within(s.padDeadZone, 0.0f, kMaxPadDeadZone) ||
        !within(s.padCameraSpeed, 0.0f, kMaxPadCameraSpeed)) {
        return "a turn setting out of range";
    }
    if (s.volume < 0 || s.volume > kMaxVolume) {
        return "a volume of " + std::to_string(s.volume);
    }
    if (s.samples != -1 && std::find(std::begin(kSampleCounts), std::end(kSampleCounts),
                                     s.samples) == std::end(kSampleCounts)) {
        return "a sample count of " + std::to_string(s.samples);
    }
    ShadowQuality quality = kFullLookShadows;
    if (!s.shadowQuality.empty() && !shadowQualityNamed(s.shadowQuality, quality)) {
        return "a shadow quality the renderer does not know";
    }
    return "";
}

}  // namespace

std::string checkSettingsText(const std::string& text) {
    const SettingsRead read = parseSettings(text, kSettingsPath);
    for (const std::string& line : read.problems) {
        if (const std::string problem = settingsLineProblem(line); !problem.empty()) {
            return problem;
        }
    }
    if (const std::string problem = unusable(read.settings); !problem.empty()) {
        return "accepted " + problem;
    }
    const std::string written = formatSettings(read.settings);
    const SettingsRead again = parseSettings(written, kSettingsPath);
    if (!again.problems.empty()) {
        return "its own file is refused: " + again.problems.front();
    }
    if (formatSettings(again.settings) != written) {
        return "its own file reads back other settings";
    }
    return "";
}

namespace {

const char* const kLevelPath = "/home/ann/levels/my-level.toml";

// What building and playing a level takes: the slab and ground the fall rule reads, a target to
// win by, and positions and sizes that keep every matrix finite.
std::string unplayable(const levels::LevelDescription& level) {
    using namespace levels;
    const auto near = [](const glm::vec3& v) {
        return glm::all(glm::lessThanEqual(glm::abs(v), glm::vec3(kMaxCoordinate)));
    };
    const auto placed = [&near](const Slab& slab) {
        return near(slab.position) && near(slab.size) && glm::all(glm::greaterThan(slab.size, {}));
    };
    if (level.floor.empty() || level.ground.empty() || level.targets.empty() ||
        !isLevelName(level.name)) {
        return "a level without a floor slab, ground, a target or a name";
    }
    if (!std::all_of(level.targets.begin(), level.targets.end(), near) ||
        !std::all_of(level.blocks.begin(), level.blocks.end(), near) ||
        !std::all_of(level.floor.begin(), level.floor.end(), placed) ||
        !std::all_of(level.backdrops.begin(), level.backdrops.end(), placed)) {
        return "a position or size beyond the limits or not finite";
    }
    const FallLimits fall = fallLimitsOf(level);
    if (!(fall.groundHeight < fall.lostHeight) ||
        std::any_of(fall.ground.begin(), fall.ground.end(), [](const GroundLimits& g) {
            return !(g.lowX < g.highX && g.lowZ < g.highZ);
        })) {
        return "a fall rule under which the ball is never on the ground";
    }
    return "";
}

}  // namespace

std::string checkLevelText(const std::string& text) {
    const levels::LevelRead read = levels::parseLevel(text, kLevelPath);
    if (!read.error.empty()) {
        if (read.error.rfind(std::string("Level file ") + kLevelPath, 0) != 0) {
            return "a refusal that does not name the file: " +
                   read.error.substr(0, kLongestMessage);
        }
        return oneLineProblem(read.error);
    }
    if (const std::string problem = unplayable(read.level); !problem.empty()) {
        return "accepted " + problem;
    }
    const levels::LevelRead again = levels::parseLevel(levels::formatLevel(read.level), kLevelPath);
    if (!again.error.empty()) {
        return "its own file is refused: " + again.error;
    }
    if (again.level != read.level) {
        return "its own file reads back as another level";
    }
    return "";
}

std::vector<std::string> commandLineFromBytes(const std::string& bytes) {
    std::vector<std::string> args{"orbquest"};
    std::istringstream stream(bytes);
    for (std::string arg; std::getline(stream, arg, '\0');) {
        args.push_back(arg);
    }
    return args;
}

std::string checkHarnessInput(const std::string& harness, const std::string& bytes) {
    if (harness == "replay") {
        return checkReplayText(bytes);
    }
    if (harness == "command-line") {
        return checkCommandLine(commandLineFromBytes(bytes));
    }
    if (harness == "records") {
        return checkRecordsText(bytes);
    }
    if (harness == "settings") {
        return checkSettingsText(bytes);
    }
    if (harness == "level") {
        return checkLevelText(bytes);
    }
    return "no harness is called " + harness;
}
