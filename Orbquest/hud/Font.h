#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_STROKER_H

#include <string>
#include <unordered_map>
#include <vector>

#include "hud/TextMetrics.h"

// One glyph rasterised with its outline, both in one box: the outline's, which holds the
// glyph.
struct GlyphImage {
    int width = 0;
    int height = 0;
    int left = 0;  // the box's left edge, in pixels right of the pen
    int top = 0;   // its top edge, in pixels above the baseline
    // Two bytes a pixel, rows from the top: the glyph's coverage, then the outline's.
    std::vector<unsigned char> coverage;
};

// A scalable font opened with FreeType. Text is set on unhinted advances (hinting is only
// vertical), so a line measured at a size is exactly as wide when drawn.
class Font : public TextMetrics {
  public:
    Font() = default;
    ~Font() override;
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // False, with FreeType's reason, when the file is not a font it can scale.
    bool open(const std::string& path, std::string& error);

    // The glyph at 'pixelSize' with an outline 'outline' pixels wide around it; false when
    // the font has no such glyph (it then draws as its replacement, see drawnAs).
    bool rasterise(char32_t point, int pixelSize, int outline, GlyphImage& image);
    // The point itself when the font has it, else '?'.
    char32_t drawnAs(char32_t point) const;

    float advance(char32_t point, float pixelSize) const;
    float width(const std::string& text, float pixelSize) const override;
    float ascent(float pixelSize) const override;
    float descent(float pixelSize) const override;

  private:
    bool renderInto(FT_Glyph& glyph, FT_BitmapGlyph& bitmap);

    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
    FT_Stroker stroker_ = nullptr;
    mutable std::unordered_map<char32_t, FT_Fixed> advances_;  // font units
};
