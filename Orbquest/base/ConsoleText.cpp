#include "base/ConsoleText.h"

#include <cstdio>
#include <cstring>

std::string printable(const std::string& text, std::size_t shown) {
    std::string result;
    std::size_t i = 0;
    for (; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        char escaped[8] = {static_cast<char>(c), '\0'};
        if (c < 0x20 || c >= 0x7f) {
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
        }
        if (result.size() + std::strlen(escaped) > shown) {
            break;
        }
        result += escaped;
    }
    if (i < text.size()) {
        result += "...";
    }
    return result;
}
