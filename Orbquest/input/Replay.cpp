#include "input/Replay.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>
#include <sstream>

#include "base/ConsoleText.h"
#include "base/TextLines.h"
#include "input/ReplayClock.h"

namespace {

struct NamedKey {
    const char* name;
    int key;
};

const NamedKey kNamedKeys[] = {
    {"SPACE", GLFW_KEY_SPACE},
    {"ESCAPE", GLFW_KEY_ESCAPE},
    {"ENTER", GLFW_KEY_ENTER},
    {"TAB", GLFW_KEY_TAB},
    {"BACKSPACE", GLFW_KEY_BACKSPACE},
    {"LEFT_SHIFT", GLFW_KEY_LEFT_SHIFT},
    {"RIGHT_SHIFT", GLFW_KEY_RIGHT_SHIFT},
    {"LEFT_CONTROL", GLFW_KEY_LEFT_CONTROL},
    {"RIGHT_CONTROL", GLFW_KEY_RIGHT_CONTROL},
    {"LEFT_ALT", GLFW_KEY_LEFT_ALT},
    {"RIGHT_ALT", GLFW_KEY_RIGHT_ALT},
    {"UP", GLFW_KEY_UP},
    {"DOWN", GLFW_KEY_DOWN},
    {"LEFT", GLFW_KEY_LEFT},
    {"RIGHT", GLFW_KEY_RIGHT},
};

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

bool isKeyword(const std::string& word) {
    static const char* const kKeywords[] = {"frames",  "dt",     "keys",    "cursor", "press",
                                            "release", "repeat", "unfocus", "pad"};
    return std::find_if(std::begin(kKeywords), std::end(kKeywords),
                        [&](const char* k) { return word == k; }) != std::end(kKeywords);
}

std::string quoted(const std::string& word) {
    return "\"" + printable(word) + "\"";
}

bool readNumber(const std::string& word, double& value) {
    std::istringstream stream(word);
    char extra = 0;
    return (stream >> value) && !(stream >> extra) && std::isfinite(value);
}

bool readCursor(const std::string& word, double& value) {
    return readNumber(word, value) && std::abs(value) <= kMaxCursor;
}

bool readStick(const std::string& word, float& value) {
    double number = 0.0;
    if (!readNumber(word, number) || number < -1.0 || number > 1.0) {
        return false;
    }
    value = static_cast<float>(number);
    return true;
}

bool readPadButtons(const std::string& word, std::uint32_t& buttons) {
    if (word.empty() || word.size() > 4 ||
        word.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        return false;
    }
    buttons = static_cast<std::uint32_t>(std::stoul(word, nullptr, 16));
    return buttons <= kMaxPadButtons;
}

// Reads the five values after "pad" at words[i]; false if any is missing or out of range.
bool readPad(const std::vector<std::string>& words, size_t i, PadState& pad) {
    return i + 5 < words.size() && readStick(words[i + 1], pad.leftX) &&
           readStick(words[i + 2], pad.leftY) && readStick(words[i + 3], pad.rightX) &&
           readStick(words[i + 4], pad.rightY) && readPadButtons(words[i + 5], pad.buttons);
}

std::string frameTimeRange() {
    std::ostringstream range;
    range << "\"dt\" needs a frame time in seconds from " << kMinFrameTime << " up to "
          << kMaxFrameTime << " (e.g. 1/60)";
    return range.str();
}

std::string tooManyEvents() {
    return "more than " + std::to_string(kMaxEventsPerLine) + " key events on one line";
}

// Reads one line into 'frame' and its repeat count; returns what is wrong, or "".
std::string parseLine(const std::vector<std::string>& words, ReplayFrame& frame) {
    bool haveTime = false;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        const bool hasNext = i + 1 < words.size();
        if (word == "frames") {
            double value = 0.0;
            if (!hasNext || !readNumber(words[i + 1], value) || value < 1 ||
                value != std::floor(value) || value > kMaxFramesPerLine) {
                return "\"frames\" needs a whole number of frames from 1 to " +
                       std::to_string(kMaxFramesPerLine);
            }
            frame.repeat = static_cast<long>(value);
            ++i;
        } else if (word == "dt") {
            double seconds = 0.0;
            if (!hasNext || !parseSeconds(words[i + 1], seconds) || seconds < kMinFrameTime ||
                seconds > kMaxFrameTime) {
                return frameTimeRange();
            }
            frame.frameTime = std::max(static_cast<float>(seconds), shortestReplayFrameTime());
            haveTime = true;
            ++i;
        } else if (word == "keys") {
            frame.keysDown.clear();
            while (i + 1 < words.size() && !isKeyword(words[i + 1])) {
                const int key = keyFromName(words[++i]);
                if (key < 0) {
                    return "unknown key " + quoted(words[i]);
                }
                frame.keysDown.push_back(key);
            }
        } else if (word == "cursor") {
            if (i + 2 >= words.size() || !readCursor(words[i + 1], frame.cursorX) ||
                !readCursor(words[i + 2], frame.cursorY)) {
                std::ostringstream message;
                message << "\"cursor\" needs two numbers, x and y in pixels from " << -kMaxCursor
                        << " to " << kMaxCursor;
                return message.str();
            }
            i += 2;
        } else if (word == "pad") {
            if (!readPad(words, i, frame.pad)) {
                return "\"pad\" needs the sticks' LX LY RX RY from -1 to 1 and the buttons down "
                       "as hexadecimal bits from 0 to 7fff";
            }
            i += 5;
        } else if (word == "unfocus") {
            if (frame.events.size() == kMaxEventsPerLine) {
                return tooManyEvents();
            }
            frame.events.push_back({kFocusLost, GLFW_RELEASE});
        } else if (word == "press" || word == "release" || word == "repeat") {
            const int key = hasNext ? keyFromName(words[i + 1]) : -1;
            if (key < 0) {
                return "\"" + word + "\" needs a key name" +
                       (hasNext ? ", not " + quoted(words[i + 1]) : "");
            }
            if (frame.events.size() == kMaxEventsPerLine) {
                return tooManyEvents();
            }
            const int action = word == "press"     ? GLFW_PRESS
                               : word == "release" ? GLFW_RELEASE
                                                   : GLFW_REPEAT;
            frame.events.push_back({key, action});
            ++i;
        } else {
            return "unknown word " + quoted(word);
        }
    }
    if (!haveTime) {
        return "missing \"dt\" (the frame time in seconds)";
    }
    return "";
}

}  // namespace

float shortestReplayFrameTime() {
    const float nearest = static_cast<float>(kMinFrameTime);
    return static_cast<double>(nearest) >= kMinFrameTime
               ? nearest
               : std::nextafter(nearest, std::numeric_limits<float>::infinity());
}

bool parseSeconds(const std::string& word, double& value) {
    const size_t slash = word.find('/');
    std::istringstream numerator(word.substr(0, slash));
    char extra = 0;
    if (!(numerator >> value) || (numerator >> extra)) {
        return false;
    }
    if (slash != std::string::npos) {
        std::istringstream denominator(word.substr(slash + 1));
        double divisor = 0.0;
        if (!(denominator >> divisor) || (denominator >> extra) || divisor == 0.0) {
            return false;
        }
        value /= divisor;
    }
    return std::isfinite(value);
}

ReplayScript parseReplay(const std::string& text) {
    ReplayScript script;
    auto refuse = [&script](const std::string& problem) {
        script.frames.clear();
        script.level.clear();
        script.error = problem;
        return script;
    };
    if (text.size() > kMaxReplayBytes) {
        return refuse("larger than the limit of " + std::to_string(kMaxReplayBytes) + " bytes");
    }
    double cursorX = 0.0;
    double cursorY = 0.0;
    PadState pad;
    ReplayClock clock;
    TextLines lines(text);
    for (std::string line; lines.next(line);) {
        const std::string where = "line " + std::to_string(lines.number()) + ": ";
        if (line.size() > kMaxReplayLineLength) {
            return refuse(where + "longer than the limit of " +
                          std::to_string(kMaxReplayLineLength) + " characters");
        }
        line = line.substr(0, line.find('#'));
        std::istringstream wordStream(line);
        std::vector<std::string> words;
        for (std::string word; wordStream >> word;) {
            words.push_back(word);
        }
        if (words.empty()) {
            continue;
        }
        if (words.front() == "level") {
            if (words.size() != 2 || words[1].size() > kMaxReplayLevelName) {
                return refuse(where + "\"level\" needs one level's name of at most " +
                              std::to_string(kMaxReplayLevelName) +
                              " characters, alone on its line");
            }
            if (!script.frames.empty() || !script.level.empty()) {
                return refuse(where + "\"level\" comes once, before the first frame");
            }
            script.level = words[1];
            continue;
        }
        ReplayFrame frame;
        frame.cursorX = cursorX;
        frame.cursorY = cursorY;
        frame.pad = pad;
        const std::string problem = parseLine(words, frame);
        if (!problem.empty()) {
            return refuse(where + problem);
        }
        if (!clock.add(frame.frameTime, frame.repeat)) {
            std::ostringstream message;
            message << where << "its frame time no longer moves the game's clock, which would "
                    << "reach " << clock.seconds() + frame.frameTime * double(frame.repeat)
                    << " s (the clock counts in single precision)";
            return refuse(message.str());
        }
        cursorX = frame.cursorX;
        cursorY = frame.cursorY;
        pad = frame.pad;
        script.frames.push_back(frame);
    }
    if (script.frames.empty()) {
        return refuse("no frames: every line is blank or a comment");
    }
    return script;
}

std::string formatReplayFrame(const ReplayFrame& frame, const PadState& previousPad) {
    char time[32];
    std::snprintf(time, sizeof time, "%.9g", static_cast<double>(frame.frameTime));
    std::ostringstream line;
    line.precision(17);
    line << "frames " << frame.repeat << " dt " << time;
    if (!frame.keysDown.empty()) {
        line << " keys";
        for (int key : frame.keysDown) {
            line << ' ' << keyName(key);
        }
    }
    line << " cursor " << frame.cursorX << ' ' << frame.cursorY;
    if (frame.pad != previousPad) {
        const PadState& pad = frame.pad;
        char text[96];
        std::snprintf(text, sizeof text, " pad %.9g %.9g %.9g %.9g %x",
                      static_cast<double>(pad.leftX), static_cast<double>(pad.leftY),
                      static_cast<double>(pad.rightX), static_cast<double>(pad.rightY),
                      static_cast<unsigned>(pad.buttons));
        line << text;
    }
    for (const KeyEvent& event : frame.events) {
        if (event.key == kFocusLost) {
            line << " unfocus";
            continue;
        }
        const char* verb = event.action == GLFW_PRESS     ? "press"
                           : event.action == GLFW_RELEASE ? "release"
                                                          : "repeat";
        line << ' ' << verb << ' ' << keyName(event.key);
    }
    return line.str();
}

std::string formatReplayLevel(const std::string& level) {
    return "level " + level;
}

std::string keyName(int key) {
    if ((key >= GLFW_KEY_A && key <= GLFW_KEY_Z) || (key >= GLFW_KEY_0 && key <= GLFW_KEY_9)) {
        return std::string(1, static_cast<char>(key));
    }
    if (key >= GLFW_KEY_F1 && key <= GLFW_KEY_F25) {
        return "F" + std::to_string(key - GLFW_KEY_F1 + 1);
    }
    for (const NamedKey& named : kNamedKeys) {
        if (named.key == key) {
            return named.name;
        }
    }
    return "KEY" + std::to_string(key);
}

int keyFromName(const std::string& name) {
    const std::string word = upper(name);
    if (word.size() == 1 && (std::isalnum(static_cast<unsigned char>(word[0])))) {
        return word[0];  // GLFW's codes for letters and digits are their ASCII capitals
    }
    if (word.size() >= 2 && word.size() <= 3 && word[0] == 'F' &&
        word.find_first_not_of("0123456789", 1) == std::string::npos) {
        const int number = std::stoi(word.substr(1));
        return number >= 1 && number <= 25 ? GLFW_KEY_F1 + number - 1 : -1;
    }
    if (word.rfind("KEY", 0) == 0 && word.size() > 3 && word.size() <= 6 &&
        word.find_first_not_of("0123456789", 3) == std::string::npos) {
        const int code = std::stoi(word.substr(3));
        return code >= GLFW_KEY_SPACE && code <= GLFW_KEY_LAST ? code : -1;
    }
    for (const NamedKey& named : kNamedKeys) {
        if (word == named.name) {
            return named.key;
        }
    }
    return -1;
}

const std::vector<int>& recordableKeys() {
    // GLFW's key codes come in runs; codes between them are not keys.
    static const std::vector<int> keys = [] {
        const int runs[][2] = {
            {GLFW_KEY_SPACE, GLFW_KEY_SPACE},
            {GLFW_KEY_APOSTROPHE, GLFW_KEY_APOSTROPHE},
            {GLFW_KEY_COMMA, GLFW_KEY_9},
            {GLFW_KEY_SEMICOLON, GLFW_KEY_SEMICOLON},
            {GLFW_KEY_EQUAL, GLFW_KEY_EQUAL},
            {GLFW_KEY_A, GLFW_KEY_RIGHT_BRACKET},
            {GLFW_KEY_GRAVE_ACCENT, GLFW_KEY_GRAVE_ACCENT},
            {GLFW_KEY_WORLD_1, GLFW_KEY_WORLD_2},
            {GLFW_KEY_ESCAPE, GLFW_KEY_END},
            {GLFW_KEY_CAPS_LOCK, GLFW_KEY_PAUSE},
            {GLFW_KEY_F1, GLFW_KEY_F25},
            {GLFW_KEY_KP_0, GLFW_KEY_KP_EQUAL},
            {GLFW_KEY_LEFT_SHIFT, GLFW_KEY_MENU},
        };
        std::vector<int> all;
        for (const auto& run : runs) {
            for (int key = run[0]; key <= run[1]; ++key) {
                all.push_back(key);
            }
        }
        return all;
    }();
    return keys;
}
