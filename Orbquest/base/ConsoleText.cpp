#include "base/ConsoleText.h"

#include <cstdio>

std::string printable(const std::string& text, std::size_t shown) {
    std::string result;
    for (std::size_t i = 0; i < text.size() && i < shown; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7f) {
            result += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            result += escaped;
        }
    }
    if (text.size() > shown) {
        result += "...";
    }
    return result;
}
