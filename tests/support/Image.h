#pragma once

#include <string>
#include <utility>
#include <vector>

#include <glm/glm.hpp>

#include "support/Rgb.h"

// A picture file read back as 8-bit RGBA texels, bottom row first as FreeImage and OpenGL keep
// them (v = 0 is row 0). Empty when the file cannot be read.
struct Image {
    unsigned bpp = 0;  // bits per pixel as the file stores them
    int width = 0;
    int height = 0;
    std::vector<glm::ivec4> texels;

    bool loaded() const { return !texels.empty(); }
    std::pair<int, int> size() const { return {width, height}; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    const glm::ivec4& at(int x, int y) const { return texels[static_cast<size_t>(y) * width + x]; }
    Rgb rgb(int x, int y) const {
        const glm::ivec4& t = at(x, y);
        return {static_cast<double>(t.r), static_cast<double>(t.g), static_cast<double>(t.b)};
    }
};

Image readImage(const std::string& path);
