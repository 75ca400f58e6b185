#pragma once

#include <string>

#include "input/Replay.h"

// Reads and parses a replay file. Refuses, with the reason in 'error', a path that cannot be
// read, a directory, and anything longer than kMaxReplayBytes (reading stops there, so an
// endless source such as /dev/zero is refused too).
ReplayScript loadReplay(const std::string& path);
