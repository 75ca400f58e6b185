#pragma once

#include <string>

// A folder named by one of the XDG base-directory variables: its value when that is an
// absolute path, else the default below the home folder (an unset, empty or relative value is
// ignored, as the XDG base directory rules ask). Empty when neither is usable. For example
// xdgFolder(getenv("XDG_DATA_HOME"), getenv("HOME"), ".local/share").
std::string xdgFolder(const char* value, const char* home, const std::string& belowHome);
