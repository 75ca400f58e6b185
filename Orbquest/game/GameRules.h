#pragma once

// The numbers the game rules decide by, for the rules themselves and for whatever plays by
// them (the autopilot). Heights and distances are relative to the centre of the player's ball,
// which stays at the origin; times in seconds.
namespace rules {

// Vertical bands of a target's centre. A target not yet done in the hit band loses the game;
// one in the landing band (both bounds strict) is done. The bands overlap from -0.2 to -0.15,
// and the hit check runs first.
constexpr float kHitBandLow = -0.2f;
constexpr float kHitBandHigh = 0.15f;
constexpr float kLandingBandLow = -0.6f;
constexpr float kLandingBandHigh = -0.15f;

// Contact boxes around the player's centre: a block's position (the middle of its top face)
// within kBlockReach across and from 0 to just under kBlockReach up is in the way; one in the
// resting band carries the player. A target's centre within kTargetReach on every axis touches.
constexpr float kBlockReach = 0.75f;
constexpr float kRestLow = -0.325f;
constexpr float kRestHigh = -0.28f;
constexpr float kTargetReach = 0.5f;

// The vertical model: Space adds pending descent, and while any is pending the level rises
// (the player comes down) and spends it.
constexpr float kSpaceDescentRate = 2.0f;  // pending descent per second of Space
constexpr float kDescentSpendRate = 0.5f;  // pending descent spent per second of rising

// The end-of-game lines: printed by the colour pass, shown on the display.
constexpr const char* kWonLine = "Congratulations, you won the game!";
constexpr const char* kLostLine = "You lost! Try again!";

}  // namespace rules
