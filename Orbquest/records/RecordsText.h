#pragma once

#include <cstddef>
#include <map>
#include <string>

// The records file is INI text, a section for each level won with the game time of its fastest
// win, e.g.
//
//   # Orbquest's records: the game time of each level's fastest win, in seconds
//   [road]
//   best_time = 162.375
//
//   [gaps]
//   best_time = 31.5
//
// A best_time before any section is the road's: the file had only that before there were other
// levels. Anything else (another key, a section that is not a level's name, a level's time
// twice, a value that is not a positive number, no time at all) makes the file one the game
// does not understand, and leaves it alone.

constexpr std::size_t kMaxRecordsBytes = 16384;
// Characters, the line end not counted; within inih's line buffer.
constexpr std::size_t kMaxRecordsLineLength = 190;

using BestTimes = std::map<std::string, float>;  // seconds of game time, by level name

struct RecordsText {
    BestTimes bestTimes;  // valid when error is empty
    std::string error;    // what is wrong, e.g. "line 2: unknown key "best""
};

// Pure over the text, so it can be tested (and fuzzed) without a file.
RecordsText parseRecords(const std::string& text);
// The file's whole text for these best times; parseRecords reads the same floats back.
std::string formatRecords(const BestTimes& bestTimes);
