#pragma once

// Numbers of mathematics the game, its tools and its tests share.
constexpr double kPi = 3.14159265358979323846;
