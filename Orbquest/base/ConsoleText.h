#pragma once

#include <cstddef>
#include <string>

// Text from the player (an argument, a word of a replay) as a console line may show it:
// printable ASCII as it is, any other byte as \xNN, and what would show past 'shown' characters
// cut off with "...", so a message stays one short readable line whatever it quotes.
std::string printable(const std::string& text, std::size_t shown = 40);
