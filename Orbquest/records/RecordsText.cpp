#include "records/RecordsText.h"

#include <ini.h>

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/ConsoleText.h"
#include "base/IniLines.h"
#include "base/ShortestDecimal.h"
#include "levels/LevelFile.h"
#include "levels/LevelSet.h"

namespace {

const char* const kBestTimeKey = "best_time";

// What the handler gathers, beside the lines inih reads, so it knows which line it is on.
struct Reading : IniLines {
    explicit Reading(const std::string& all) : IniLines(all) {}
    BestTimes bestTimes;
    int problemLine = 0;  // the first line the handler refused, and why
    std::string problem;
};

bool readSeconds(const char* text, float& seconds) {
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text || *end != '\0' || errno == ERANGE || !std::isfinite(value) || value <= 0.0 ||
        value > FLT_MAX) {
        return false;
    }
    seconds = static_cast<float>(value);
    return seconds > 0.0f;
}

int takePair(void* user, const char* section, const char* name, const char* value) {
    Reading& reading = *static_cast<Reading*>(user);
    if (reading.problemLine != 0) {
        return 1;  // the first problem stands
    }
    const std::string level = section[0] == '\0' ? levels::kRoadName : section;
    float seconds = 0.0f;
    if (!levels::isLevelName(level)) {
        reading.problem = "a section [" + printable(section) + "], which is no level's name";
    } else if (std::string(name) != kBestTimeKey) {
        reading.problem = "unknown key \"" + printable(name) + "\"";
    } else if (reading.bestTimes.count(level) > 0) {
        reading.problem = std::string(kBestTimeKey) + " of " + level + " given twice";
    } else if (!readSeconds(value, seconds)) {
        reading.problem = std::string(kBestTimeKey) + " is \"" + printable(value) +
                          "\", not a positive number of seconds";
    } else {
        reading.bestTimes[level] = seconds;
        return 1;
    }
    reading.problemLine = reading.line;
    return 0;
}

}  // namespace

RecordsText parseRecords(const std::string& text) {
    RecordsText result;
    const TextProblem problem = checkText(text, {kMaxRecordsBytes, kMaxRecordsLineLength});
    switch (problem.kind) {
        case TextProblem::TooLarge:
            result.error = "larger than " + std::to_string(kMaxRecordsBytes) + " bytes";
            return result;
        case TextProblem::NulByte:
            result.error = "it holds a NUL byte";  // inih would stop reading there
            return result;
        case TextProblem::LongLine:
            result.error = "line " + std::to_string(problem.line) + ": longer than " +
                           std::to_string(kMaxRecordsLineLength) + " characters";
            return result;
        case TextProblem::None:
            break;
    }
    Reading reading(text);
    const int failedLine =
        ini_parse_stream(nextIniLine, static_cast<IniLines*>(&reading), takePair, &reading);
    if (failedLine < 0) {
        result.error = "inih could not parse it (error " + std::to_string(failedLine) + ")";
        return result;
    }
    if (failedLine > 0) {
        // inih reports the first line it or the handler refused.
        const std::string what =
            failedLine == reading.problemLine ? reading.problem : "not \"key = value\"";
        result.error = "line " + std::to_string(failedLine) + ": " + what;
        return result;
    }
    if (reading.bestTimes.empty()) {
        result.error = std::string("no ") + kBestTimeKey;
        return result;
    }
    result.bestTimes = std::move(reading.bestTimes);
    return result;
}

std::string formatRecords(const BestTimes& bestTimes) {
    std::string text =
        "# Orbquest's records: the game time of each level's fastest win, in seconds\n";
    for (const auto& [level, seconds] : bestTimes) {
        text += "\n[" + level + "]\n" + kBestTimeKey + " = " + shortestDecimal(seconds) + "\n";
    }
    return text;
}
