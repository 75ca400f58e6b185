#pragma once

#include <cstddef>
#include <string>

// The records file is key = value text, e.g.
//
//   # Orbquest's records: the game time of the fastest win, in seconds
//   best_time = 162.375
//
// Anything else (a section, another key, the key twice, a value that is not a positive
// number) makes the file one the game does not understand, and leaves it alone.

constexpr std::size_t kMaxRecordsBytes = 4096;
// Characters, the line end not counted; within inih's line buffer.
constexpr std::size_t kMaxRecordsLineLength = 190;

struct RecordsText {
    float bestTime = 0.0f;  // seconds of game time; valid when error is empty
    std::string error;      // what is wrong, e.g. "line 2: unknown key "best""
};

// Pure over the text, so it can be tested (and fuzzed) without a file.
RecordsText parseRecords(const std::string& text);
// The file's whole text for a best time; parseRecords reads the same float back.
std::string formatRecords(float bestTime);
