#pragma once

#include <string>

// Ends the process after a failure the game cannot recover from: prints the message on
// standard output, waits for the player to acknowledge it when a terminal is attached,
// then exits with code 1.
[[noreturn]] void fatalError(const std::string& message);

// The console pause of the fatal paths: waits for Enter, but only when standard input is a
// terminal, so scripts and CI never hang.
void pauseConsole();
