#pragma once

#include <cstddef>
#include <string>

// Text handed to inih's ini_parse_stream a line at a time, counting the lines, so that a
// handler can say which line it refuses.
struct IniLines {
    explicit IniLines(const std::string& all) : text(all) {}
    const std::string& text;
    std::size_t at = 0;
    int line = 0;  // the line last handed out, from 1
};

// inih's reader: 'lines' is an IniLines*. Copies the next line, its end included, into buffer
// (cut to size - 1 characters), or returns null at the end of the text.
char* nextIniLine(char* buffer, int size, void* lines);
