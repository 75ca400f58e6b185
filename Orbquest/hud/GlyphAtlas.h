#pragma once

#include <GL/glew.h>

#include <string>
#include <unordered_map>

class Font;

// Every glyph a size of the display needs, rasterised at that size with its outline and packed
// into one two-channel texture (red: the glyph, green: its outline), so a batch of text is one
// draw call. The atlas owns its texture.
class GlyphAtlas {
  public:
    struct Glyph {
        int x = 0;  // the box in the texture, texels from its top-left corner
        int y = 0;
        int width = 0;
        int height = 0;
        int left = 0;  // the box's place against the pen, as GlyphImage has it
        int top = 0;
    };

    // Rasterises 'points' (as the font draws them) at 'pixelSize' with an outline 'outline'
    // pixels wide, and uploads them.
    GlyphAtlas(Font& font, int pixelSize, int outline, const std::u32string& points);
    ~GlyphAtlas();
    GlyphAtlas(const GlyphAtlas&) = delete;
    GlyphAtlas& operator=(const GlyphAtlas&) = delete;

    bool holds(char32_t point) const { return glyphs_.count(point) != 0; }
    const Glyph* find(char32_t point) const;
    const std::u32string& points() const { return points_; }
    GLuint texture() const { return texture_; }
    int width() const { return width_; }
    int height() const { return height_; }

  private:
    std::u32string points_;
    std::unordered_map<char32_t, Glyph> glyphs_;
    GLuint texture_ = 0;
    int width_ = 0;
    int height_ = 0;
};
