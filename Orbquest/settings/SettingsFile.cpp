#include "settings/SettingsFile.h"

#include <ini.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "base/AtomicFile.h"
#include "base/ConsoleText.h"
#include "base/IniLines.h"
#include "base/ShortestDecimal.h"
#include "base/TextLines.h"
#include "base/XdgFolder.h"

namespace {

const char* const kSection = "orbquest";
const char* const kSettingsFileName = "settings.ini";

bool readWhole(const char* text, long low, long high, long& value) {
    errno = 0;
    char* end = nullptr;
    const long number = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || errno == ERANGE || number < low || number > high) {
        return false;
    }
    value = number;
    return true;
}

bool readFactor(const char* text, float low, float high, float& value) {
    errno = 0;
    char* end = nullptr;
    const double number = std::strtod(text, &end);
    if (end == text || *end != '\0' || errno == ERANGE || !std::isfinite(number) || number < low ||
        number > high) {
        return false;
    }
    value = static_cast<float>(number);
    return true;
}

bool readSwitch(const char* text, bool& value) {
    const std::string word = text;
    for (const char* on : {"on", "true", "yes", "1"}) {
        if (word == on) {
            value = true;
            return true;
        }
    }
    for (const char* off : {"off", "false", "no", "0"}) {
        if (word == off) {
            value = false;
            return true;
        }
    }
    return false;
}

std::string onOff(bool value) {
    return value ? "on" : "off";
}

// One key of the file: how to read its value into the settings, what it accepts (for the
// line about a bad value), and how to write it.
struct Key {
    const char* name;
    std::string accepted;
    bool (*read)(const char* text, GameSettings& settings);
    std::string (*write)(const GameSettings& settings);
};

const Key kKeys[] = {
    {"width", "a whole number of pixels from 1 to " + std::to_string(kMaxWindowSide),
     [](const char* text, GameSettings& s) {
         long value = 0;
         return readWhole(text, 1, kMaxWindowSide, value) && (s.windowWidth = int(value), true);
     },
     [](const GameSettings& s) { return std::to_string(s.windowWidth); }},
    {"height", "a whole number of pixels from 1 to " + std::to_string(kMaxWindowSide),
     [](const char* text, GameSettings& s) {
         long value = 0;
         return readWhole(text, 1, kMaxWindowSide, value) && (s.windowHeight = int(value), true);
     },
     [](const GameSettings& s) { return std::to_string(s.windowHeight); }},
    {"fullscreen", "on or off",
     [](const char* text, GameSettings& s) { return readSwitch(text, s.fullScreen); },
     [](const GameSettings& s) { return onOff(s.fullScreen); }},
    {"mouse_sensitivity",
     "a factor above 0 up to " + shortestDecimal(kMaxMouseSensitivity) + " (1 is the usual turn)",
     [](const char* text, GameSettings& s) {
         float value = 0.0f;
         return readFactor(text, 0.0f, kMaxMouseSensitivity, value) && value > 0.0f &&
                (s.mouseSensitivity = value, true);
     },
     [](const GameSettings& s) { return shortestDecimal(s.mouseSensitivity); }},
    {"invert_y", "on or off",
     [](const char* text, GameSettings& s) { return readSwitch(text, s.invertY); },
     [](const GameSettings& s) { return onOff(s.invertY); }},
    {"pad_dead_zone",
     "a fraction of the stick's travel from 0 to " + shortestDecimal(kMaxPadDeadZone),
     [](const char* text, GameSettings& s) {
         return readFactor(text, 0.0f, kMaxPadDeadZone, s.padDeadZone);
     },
     [](const GameSettings& s) { return shortestDecimal(s.padDeadZone); }},
    {"pad_camera_speed", "degrees per second from 0 to " + shortestDecimal(kMaxPadCameraSpeed),
     [](const char* text, GameSettings& s) {
         return readFactor(text, 0.0f, kMaxPadCameraSpeed, s.padCameraSpeed);
     },
     [](const GameSettings& s) { return shortestDecimal(s.padCameraSpeed); }},
    {"volume", "a whole number from 0 to " + std::to_string(kMaxVolume),
     [](const char* text, GameSettings& s) {
         long value = 0;
         return readWhole(text, 0, kMaxVolume, value) && (s.volume = int(value), true);
     },
     [](const GameSettings& s) { return std::to_string(s.volume); }},
    {"mute", "on or off",
     [](const char* text, GameSettings& s) { return readSwitch(text, s.mute); },
     [](const GameSettings& s) { return onOff(s.mute); }},
    {"samples", "0, 2, 4 or 8",
     [](const char* text, GameSettings& s) {
         long value = 0;
         if (!readWhole(text, 0, kSampleCounts[std::size(kSampleCounts) - 1], value) ||
             std::find(std::begin(kSampleCounts), std::end(kSampleCounts), value) ==
                 std::end(kSampleCounts)) {
             return false;
         }
         s.samples = int(value);
         return true;
     },
     [](const GameSettings& s) { return s.samples < 0 ? "" : std::to_string(s.samples); }},
    {"shadow_quality", "soft, fast or hard",
     [](const char* text, GameSettings& s) {
         for (const char* name : kShadowQualityNames) {
             if (std::strcmp(text, name) == 0) {
                 s.shadowQuality = name;
                 return true;
             }
         }
         return false;
     },
     [](const GameSettings& s) { return s.shadowQuality; }},
    {"hud", "on or off", [](const char* text, GameSettings& s) { return readSwitch(text, s.hud); },
     [](const GameSettings& s) { return onOff(s.hud); }},
};

std::string keyList() {
    std::string list;
    for (const Key& key : kKeys) {
        list += (list.empty() ? "" : ", ") + std::string(key.name);
    }
    return list;
}

// What the handler gathers, beside the lines inih reads, so it knows which line it is on.
struct Reading : IniLines {
    Reading(const std::string& all, const std::string& file) : IniLines(all), path(file) {}
    const std::string& path;
    SettingsRead result;

    void refuse(const std::string& problem) {
        result.problems.push_back("Settings file " + path + ", line " + std::to_string(line) +
                                  ": " + problem);
    }
};

int takePair(void* user, const char* section, const char* name, const char* value) {
    Reading& reading = *static_cast<Reading*>(user);
    if (section[0] != '\0' && std::strcmp(section, kSection) != 0) {
        reading.refuse("a section [" + printable(section) + "]; the keys go in [" + kSection + "]");
        return 1;
    }
    const Key* key = std::find_if(std::begin(kKeys), std::end(kKeys),
                                  [&](const Key& k) { return std::strcmp(k.name, name) == 0; });
    if (key == std::end(kKeys)) {
        reading.refuse("unknown key \"" + printable(name) + "\" (known: " + keyList() + ")");
        return 1;
    }
    GameSettings read = reading.result.settings;
    if (!key->read(value, read)) {
        reading.refuse(std::string(key->name) + " is \"" + printable(value) + "\", not " +
                       key->accepted + "; the default stays");
        return 1;
    }
    reading.result.settings = read;
    return 1;
}

// What makes the text no settings file at all, or "".
std::string notText(const std::string& text) {
    const TextProblem problem = checkText(text, {kMaxSettingsBytes, kMaxSettingsLineLength});
    switch (problem.kind) {
        case TextProblem::TooLarge:
            return "it is larger than " + std::to_string(kMaxSettingsBytes) + " bytes";
        case TextProblem::NulByte:
            return "it is not text (it holds a NUL byte)";
        case TextProblem::LongLine:
            return "line " + std::to_string(problem.line) + " is longer than " +
                   std::to_string(kMaxSettingsLineLength) + " characters";
        case TextProblem::None:
            break;
    }
    return "";
}

}  // namespace

SettingsRead parseSettings(const std::string& text, const std::string& path) {
    const std::string why = notText(text);
    if (!why.empty()) {
        SettingsRead defaults;
        defaults.problems.push_back("Settings file " + path + " not read: " + why +
                                    "; the game starts with the default settings");
        return defaults;
    }
    Reading reading(text, path);
    const int failedLine =
        ini_parse_stream(nextIniLine, static_cast<IniLines*>(&reading), takePair, &reading);
    if (failedLine < 0) {
        SettingsRead defaults;
        defaults.problems.push_back("Settings file " + path + " not read: inih failed (error " +
                                    std::to_string(failedLine) +
                                    "); the game starts with the default settings");
        return defaults;
    }
    if (failedLine > 0) {
        // inih goes on past a line it cannot read, and tells only the first such line.
        reading.line = failedLine;
        reading.refuse("not \"key = value\" or a [section]; that line is left out");
    }
    return reading.result;
}

SettingsRead loadSettings(const std::string& path) {
    std::string text;
    std::string error;
    switch (path.empty() ? TextFileRead::Missing
                         : readTextFile(path, kMaxSettingsBytes, text, error)) {
        case TextFileRead::Missing:
            return SettingsRead();
        case TextFileRead::Failed: {
            SettingsRead failed;
            failed.problems.push_back("Settings file " + path + " not read: " + error +
                                      "; the game starts with the default settings");
            return failed;
        }
        case TextFileRead::Read:
            break;
    }
    return parseSettings(text, path);
}

std::string formatSettings(const GameSettings& settings) {
    std::string text =
        "# Orbquest's settings (see README); written by orbquest --save-settings\n[orbquest]\n";
    for (const Key& key : kKeys) {
        const std::string value = key.write(settings);
        // A choice left to the game is left out, so the game keeps choosing.
        if (value.empty()) {
            continue;
        }
        text += std::string(key.name) + " = " + value + "\n";
    }
    return text;
}

bool saveSettings(const std::string& path, const GameSettings& settings, std::string& error) {
    std::error_code folderError;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::filesystem::create_directories(folder, folderError);
    if (folderError) {
        error = "cannot create the folder " + folder.string() + ": " + folderError.message();
        return false;
    }
    return replaceFileAtomically(path, formatSettings(settings), error);
}

std::string configFolder() {
    const std::string configHome =
        xdgFolder(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"), ".config");
    return configHome.empty() ? "" : configHome + "/orbquest";
}

std::string settingsFilePath() {
    const std::string folder = configFolder();
    return folder.empty() ? "" : folder + "/" + kSettingsFileName;
}
