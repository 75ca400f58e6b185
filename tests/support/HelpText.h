#pragma once

// What F1 prints: an empty line, then the nine help lines (two of them end in a blank).
inline const char* const kHelpBlock =
    "\n"
    "F1 - Help: \n"
    "F2 - Frame Time: On / Off\n"
    "F3 - Wire Frame: On / Off\n"
    "F4 - Textur-Sampling-Quality: Nearest Neighbor / Bilinear\n"
    "F5 - Mip Mapping-Quality: Off / Nearest Neighbor / Linear\n"
    "F6 - Camera: Free Movable / Off / Standard\n"
    "F7 - Culling-Info: Number of objects culled/drawn\n"
    "F8 - Viewfrustum-Culling: On / Off \n"
    "F9 - Transparency On / Off\n";
