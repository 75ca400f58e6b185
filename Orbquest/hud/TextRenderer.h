#pragma once

#include <GL/glew.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "hud/GlyphAtlas.h"
#include "hud/HudLayout.h"
#include "render/Shader.h"

class Font;

// Draws placed text over whatever the framebuffer holds: one glyph atlas per pixel size,
// rasterised when a size is first drawn, and one draw call per size. It sets what it needs
// (no depth test, no culling, filled polygons, premultiplied blending, its own program, vertex
// array and texture unit) and puts every piece of that state back as it found it, so the next
// frame's passes draw exactly as they would without it.
class TextRenderer {
  public:
    explicit TextRenderer(Font& font);
    ~TextRenderer();
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    // Into the framebuffer bound, 'width' x 'height' pixels.
    void draw(const std::vector<TextRun>& runs, int width, int height);
    // Drops every atlas; the sizes to come are rasterised afresh.
    void forgetSizes() { atlases_.clear(); }
    size_t atlasCount() const { return atlases_.size(); }

  private:
    struct Vertex {
        GLfloat x, y;  // pixels
        GLfloat u, v;  // texels
        GLubyte colour[4];
    };

    GlyphAtlas& atlasFor(int pixelSize, const std::u32string& points);
    void appendRun(const TextRun& run, const GlyphAtlas& atlas, std::vector<Vertex>& vertices);
    void drawBatch(const GlyphAtlas& atlas, size_t first, size_t count);

    Font& font_;
    Shader shader_;
    GLuint vertexArray_ = 0;
    GLuint vertexBuffer_ = 0;
    std::map<int, std::unique_ptr<GlyphAtlas>> atlases_;  // by pixel size
};

// The texture unit the display's atlas is bound on: past the level's (0 to 6) and the shadow
// cube map's (7), so the hotkeys that set a level texture's filters on its unit never reach it.
constexpr int kHudTextureUnit = 8;
