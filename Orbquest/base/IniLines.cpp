#include "base/IniLines.h"

#include <algorithm>

char* nextIniLine(char* buffer, int size, void* stream) {
    IniLines& lines = *static_cast<IniLines*>(stream);
    if (lines.at >= lines.text.size() || size < 2) {
        return nullptr;
    }
    size_t end = lines.text.find('\n', lines.at);
    end = end == std::string::npos ? lines.text.size() : end + 1;
    const size_t length = std::min(end - lines.at, static_cast<size_t>(size - 1));
    lines.text.copy(buffer, length, lines.at);
    buffer[length] = '\0';
    lines.at += length;
    ++lines.line;
    return buffer;
}
