#pragma once

#include <cstddef>
#include <string>

// The text files the game reads a line at a time (the records, the settings, the levels): read
// whole up to a byte limit, lines ending in LF, CR LF or CR, and one rule for a line's length:
// its characters without the line end.

enum class TextFileRead { Read, Missing, Failed };
// Reads at most maxBytes + 1 bytes, so a longer file, or an endless one such as /dev/zero,
// shows as too large. On failure 'error' says why: "it is a folder" or the system's reason.
TextFileRead readTextFile(const std::string& path, std::size_t maxBytes, std::string& text,
                          std::string& error);

struct TextLimits {
    std::size_t maxBytes;
    std::size_t maxLineLength;  // characters, the line end not counted
};

// What keeps a text from being read as lines within its limits; each file words it its own way.
struct TextProblem {
    enum Kind { None, TooLarge, NulByte, LongLine };
    Kind kind = None;
    int line = 0;  // the first line that is too long, from 1
};
TextProblem checkText(const std::string& text, const TextLimits& limits);

// Hands out the lines of a text one at a time, without their ends; a text that ends with a
// line end has no empty line after it.
class TextLines {
  public:
    explicit TextLines(const std::string& text) : text_(text) {}

    // The next line; false at the end of the text.
    bool next(std::string& line);
    int number() const { return number_; }  // of the line last handed out, from 1

  private:
    const std::string& text_;
    std::size_t at_ = 0;
    int number_ = 0;
};
