#pragma once

#include <string>

// Game time as the display and the console show it: minutes, seconds and tenths, "m:ss.t",
// rounded to the nearest tenth (162.375 s is "2:42.4", 59.96 s "1:00.0"). The minutes grow
// past 59 rather than wrap; a negative or undefined time shows as "0:00.0".
std::string formatGameTime(double seconds);
