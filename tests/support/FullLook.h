#pragma once

#include <string>
#include <vector>

// The game's options for its full look, which the tests' pictures were drawn with: without
// them a software renderer (as under Xvfb) starts with the lighter defaults.
inline const std::vector<std::string> kFullLookArgs = {"--samples", "4", "--shadow-quality",
                                                       "soft"};

// 'args' with the full look's options after them.
inline std::vector<std::string> withFullLook(std::vector<std::string> args) {
    args.insert(args.end(), kFullLookArgs.begin(), kFullLookArgs.end());
    return args;
}
