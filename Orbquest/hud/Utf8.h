#pragma once

#include <string>

// The code points of UTF-8 text; a byte that does not start or continue a valid sequence
// reads as U+FFFD, so any text can be measured and drawn.
std::u32string decodeUtf8(const std::string& text);
