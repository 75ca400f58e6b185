#include "hud/GlyphAtlas.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "hud/Font.h"

namespace {

constexpr int kPadding = 1;  // empty texels around every box, so no neighbour bleeds in

}  // namespace

GlyphAtlas::GlyphAtlas(Font& font, int pixelSize, int outline, const std::u32string& points)
    : points_(points) {
    std::vector<std::pair<char32_t, GlyphImage>> images;
    long area = 0;
    for (char32_t point : points) {
        GlyphImage image;
        font.rasterise(point, pixelSize, outline, image);  // a glyph that fails stays empty
        area += static_cast<long>(image.width + kPadding) * (image.height + kPadding);
        images.emplace_back(point, std::move(image));
    }
    // Shelves, tallest glyphs first, in a texture about as wide as it is high.
    std::sort(images.begin(), images.end(),
              [](const auto& a, const auto& b) { return a.second.height > b.second.height; });
    int widest = 1;
    for (const auto& entry : images) {
        widest = std::max(widest, entry.second.width + kPadding);
    }
    width_ = std::max(widest, static_cast<int>(std::ceil(std::sqrt(static_cast<double>(area)))));
    int x = kPadding;
    int y = kPadding;
    int shelf = 0;
    for (const auto& [point, image] : images) {
        if (x + image.width + kPadding > width_) {
            x = kPadding;
            y += shelf + kPadding;
            shelf = 0;
        }
        glyphs_[point] = {x, y, image.width, image.height, image.left, image.top};
        x += image.width + kPadding;
        shelf = std::max(shelf, image.height);
    }
    width_ += kPadding;
    height_ = y + shelf + kPadding;

    std::vector<unsigned char> texels(2 * static_cast<size_t>(width_) * height_, 0);
    for (const auto& [point, image] : images) {
        const Glyph& glyph = glyphs_[point];
        for (int row = 0; row < image.height; ++row) {
            std::copy_n(&image.coverage[2 * static_cast<size_t>(row) * image.width],
                        2 * image.width,
                        &texels[2 * (static_cast<size_t>(glyph.y + row) * width_ + glyph.x)]);
        }
    }
    GLint unpackAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpackAlignment);
    glGenTextures(1, &texture_);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);  // rows of two bytes a texel
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RG8, width_, height_, 0, GL_RG, GL_UNSIGNED_BYTE,
                 texels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, unpackAlignment);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

GlyphAtlas::~GlyphAtlas() {
    glDeleteTextures(1, &texture_);
}

const GlyphAtlas::Glyph* GlyphAtlas::find(char32_t point) const {
    const auto found = glyphs_.find(point);
    return found == glyphs_.end() ? nullptr : &found->second;
}
