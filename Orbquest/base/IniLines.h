#pragma once

#include <string>

#include "base/TextLines.h"

// Text handed to inih's ini_parse_stream a line at a time, counting the lines, so that a
// handler can say which line it refuses. The text is checked with checkText first: inih reads
// a line longer than its buffer in pieces, and stops at a NUL byte.
struct IniLines {
    explicit IniLines(const std::string& all) : lines(all) {}
    TextLines lines;
    int line = 0;  // the line last handed out, from 1
};

// inih's reader: 'lines' is an IniLines*. Copies the next line, without its own end and with a
// LF instead, into buffer (cut to size - 1 characters), or returns null at the end of the text.
char* nextIniLine(char* buffer, int size, void* lines);
