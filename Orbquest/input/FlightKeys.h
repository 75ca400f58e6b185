#pragma once

// The keys a pilot holds through one frame: the ones that move the ball.
struct FlightKeys {
    bool forward = false;  // W
    bool left = false;     // A
    bool back = false;     // S
    bool right = false;    // D
    bool lift = false;     // Space
};
