#include "base/IniLines.h"

#include <algorithm>

char* nextIniLine(char* buffer, int size, void* stream) {
    IniLines& lines = *static_cast<IniLines*>(stream);
    std::string line;
    if (size < 2 || !lines.lines.next(line)) {
        return nullptr;
    }
    line += '\n';
    const size_t length = std::min(line.size(), static_cast<size_t>(size - 1));
    line.copy(buffer, length);
    buffer[length] = '\0';
    lines.line = lines.lines.number();
    return buffer;
}
