#include "base/XdgFolder.h"

std::string xdgFolder(const char* value, const char* home, const std::string& belowHome) {
    if (value != nullptr && value[0] == '/') {
        return value;
    }
    if (home != nullptr && home[0] == '/') {
        std::string folder = home;
        if (folder.back() != '/') {
            folder += '/';
        }
        return folder + belowHome;
    }
    return "";
}
