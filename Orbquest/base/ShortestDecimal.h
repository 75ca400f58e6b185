#pragma once

#include <string>

// The shortest decimal that reads back as the same float, also through a double (as a parser
// that reads doubles gets it): 0.2, not 0.200000003; 6, not 6.00000000. Written without an
// exponent for the sizes and coordinates a person types.
std::string shortestDecimal(float value);
