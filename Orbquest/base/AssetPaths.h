#pragma once

#include <string>

// Where the run-time assets lie, relative to the folder the game runs in (at start-up it moves
// to the folder that holds them). Every path to an asset is made here.
namespace assets {

// The folder below which every asset lies.
extern const char* const kRoot;

std::string shader(const std::string& fileName);  // GLSL sources
std::string model(const std::string& fileName);   // COLLADA models
std::string image(const std::string& fileName);   // PNG images
std::string sound(const std::string& fileName);   // WAV sounds
std::string level(const std::string& fileName);   // the level files of the game's own set

}  // namespace assets
