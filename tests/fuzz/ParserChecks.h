#pragma once

#include <string>
#include <vector>

// What must hold for any input a player can feed the game's parsers: each is either accepted
// as something the game can use or refused with one printable line. Each check returns "" when
// that holds for the input, else what broke. The fuzzers stop on a broken check; the unit suite
// runs the same checks over every case the fuzzers found.

// Replay text: an accepted script holds only what the game can play, and writing it out as a
// recording does reads back as the very same frames.
std::string checkReplayText(const std::string& text);

// A command line (argv[0] first): options and positional parameters.
std::string checkCommandLine(const std::vector<std::string>& args);

// The records file: an accepted one holds a best time the game can show, and writing that time
// out reads back as the very same float.
std::string checkRecordsText(const std::string& text);

// The settings file: every problem is one printable line naming the file, every value read is
// one the game can start with, and writing the settings out reads back as the very same ones.
std::string checkSettingsText(const std::string& text);

// A level file: a refusal is one printable line naming the file; an accepted level is one the
// game can build and play by its rules, and writing it out reads back as the very same level.
std::string checkLevelText(const std::string& text);

// The fuzzers' inputs as command lines: arguments separated by NUL bytes, after "orbquest".
std::vector<std::string> commandLineFromBytes(const std::string& bytes);

// The check a harness makes of its input, by the harness's name (the folder names under
// tests/fuzz/seeds/); an unknown name is itself a broken check.
std::string checkHarnessInput(const std::string& harness, const std::string& bytes);
