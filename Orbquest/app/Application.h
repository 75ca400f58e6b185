#pragma once

// The whole game: command line, window, start-up, main loop and teardown. Returns the exit
// code of a normal end; fatal failures end the process with exit code 1 on their own.
int runOrbquest(int argc, const char* const* argv);
