#include "hud/TextRenderer.h"

#include <cmath>
#include <cstddef>

#include "base/AssetPaths.h"
#include "hud/Font.h"
#include "hud/Utf8.h"

namespace {

// Dark and nearly opaque, so white text reads on the yellow sky and on the wood alike.
constexpr GLfloat kOutlineColour[4] = {0.08f, 0.06f, 0.04f, 0.9f};
constexpr float kOutlineShare = 0.08f;  // of the pixel size: the outline's width

// Points one vertex attribute of the bound vertex array at the bound buffer; the program finds
// it by name.
void attach(GLuint program, const char* name, GLint components, GLenum type, GLboolean normalised,
            size_t offset, GLsizei stride) {
    const GLint location = glGetAttribLocation(program, name);
    if (location < 0) {
        return;
    }
    glEnableVertexAttribArray(static_cast<GLuint>(location));
    glVertexAttribPointer(static_cast<GLuint>(location), components, type, normalised, stride,
                          reinterpret_cast<const void*>(offset));
}

int outlineFor(int pixelSize) {
    return std::max(1, static_cast<int>(std::lround(kOutlineShare * pixelSize)));
}

// Everything the display changes, read before it draws and put back after.
struct SavedGlState {
    GLint program = 0;
    GLint vertexArray = 0;
    GLint arrayBuffer = 0;
    GLint activeTexture = GL_TEXTURE0;
    GLint texture = 0;  // on the display's unit
    GLint viewport[4] = {0, 0, 0, 0};
    GLint polygonMode[2] = {GL_FILL, GL_FILL};
    GLint blendSource[2] = {GL_ONE, GL_ONE};  // colour, alpha
    GLint blendTarget[2] = {GL_ZERO, GL_ZERO};
    GLboolean blend = GL_FALSE;
    GLboolean depthTest = GL_FALSE;
    GLboolean cullFace = GL_FALSE;

    SavedGlState() {
        glGetIntegerv(GL_CURRENT_PROGRAM, &program);
        glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vertexArray);
        glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &arrayBuffer);
        glGetIntegerv(GL_ACTIVE_TEXTURE, &activeTexture);
        glActiveTexture(GL_TEXTURE0 + kHudTextureUnit);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
        glGetIntegerv(GL_VIEWPORT, viewport);
        glGetIntegerv(GL_POLYGON_MODE, polygonMode);
        glGetIntegerv(GL_BLEND_SRC_RGB, &blendSource[0]);
        glGetIntegerv(GL_BLEND_SRC_ALPHA, &blendSource[1]);
        glGetIntegerv(GL_BLEND_DST_RGB, &blendTarget[0]);
        glGetIntegerv(GL_BLEND_DST_ALPHA, &blendTarget[1]);
        blend = glIsEnabled(GL_BLEND);
        depthTest = glIsEnabled(GL_DEPTH_TEST);
        cullFace = glIsEnabled(GL_CULL_FACE);
    }

    static void enable(GLenum capability, GLboolean on) {
        if (on) {
            glEnable(capability);
        } else {
            glDisable(capability);
        }
    }

    ~SavedGlState() {
        enable(GL_BLEND, blend);
        enable(GL_DEPTH_TEST, depthTest);
        enable(GL_CULL_FACE, cullFace);
        glBlendFuncSeparate(blendSource[0], blendTarget[0], blendSource[1], blendTarget[1]);
        // A core context keeps one mode for both faces.
        glPolygonMode(GL_FRONT_AND_BACK, static_cast<GLenum>(polygonMode[0]));
        glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(texture));
        glActiveTexture(static_cast<GLenum>(activeTexture));
        glBindBuffer(GL_ARRAY_BUFFER, static_cast<GLuint>(arrayBuffer));
        glBindVertexArray(static_cast<GLuint>(vertexArray));
        // A program deleted while it was current is gone once the display's took its place.
        const GLuint previous = static_cast<GLuint>(program);
        glUseProgram(glIsProgram(previous) ? previous : 0);
    }
};

}  // namespace

TextRenderer::TextRenderer(Font& font)
    : font_(font), shader_(assets::shader("hud.vert"), assets::shader("hud.frag")) {
    GLint vertexArray = 0;
    GLint arrayBuffer = 0;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vertexArray);
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &arrayBuffer);
    glGenVertexArrays(1, &vertexArray_);
    glGenBuffers(1, &vertexBuffer_);
    glBindVertexArray(vertexArray_);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    const GLuint program = shader_.programHandle;
    attach(program, "position", 2, GL_FLOAT, GL_FALSE, offsetof(Vertex, x), sizeof(Vertex));
    attach(program, "texel", 2, GL_FLOAT, GL_FALSE, offsetof(Vertex, u), sizeof(Vertex));
    attach(program, "colour", 4, GL_UNSIGNED_BYTE, GL_TRUE, offsetof(Vertex, colour),
           sizeof(Vertex));
    glBindBuffer(GL_ARRAY_BUFFER, static_cast<GLuint>(arrayBuffer));
    glBindVertexArray(static_cast<GLuint>(vertexArray));
}

TextRenderer::~TextRenderer() {
    atlases_.clear();
    glDeleteBuffers(1, &vertexBuffer_);
    glDeleteVertexArrays(1, &vertexArray_);
}

// Expects the display's unit active: a new atlas binds its texture there.
GlyphAtlas& TextRenderer::atlasFor(int pixelSize, const std::u32string& points) {
    std::unique_ptr<GlyphAtlas>& atlas = atlases_[pixelSize];
    std::u32string wanted = atlas ? atlas->points() : std::u32string();
    for (char32_t point : points) {
        point = font_.drawnAs(point);
        if (wanted.find(point) == std::u32string::npos) {
            wanted.push_back(point);
        }
    }
    // Made again, with all it held, when a text needs a glyph it lacks.
    if (!atlas || wanted.size() != atlas->points().size()) {
        atlas = std::make_unique<GlyphAtlas>(font_, pixelSize, outlineFor(pixelSize), wanted);
    }
    return *atlas;
}

void TextRenderer::appendRun(const TextRun& run, const GlyphAtlas& atlas,
                             std::vector<Vertex>& vertices) {
    const GLubyte colour[4] = {
        static_cast<GLubyte>(run.colour >> 24), static_cast<GLubyte>(run.colour >> 16),
        static_cast<GLubyte>(run.colour >> 8), static_cast<GLubyte>(run.colour)};
    float pen = run.x;
    for (char32_t point : decodeUtf8(run.text)) {
        const GlyphAtlas::Glyph* glyph = atlas.find(font_.drawnAs(point));
        if (glyph && glyph->width > 0 && glyph->height > 0) {
            // Whole pixels, so every texel lands on one pixel and the glyph stays sharp.
            const float x0 = std::round(pen) + static_cast<float>(glyph->left);
            const float y0 = run.y - static_cast<float>(glyph->top);
            const float x1 = x0 + static_cast<float>(glyph->width);
            const float y1 = y0 + static_cast<float>(glyph->height);
            const float u0 = static_cast<float>(glyph->x);
            const float v0 = static_cast<float>(glyph->y);
            const float u1 = u0 + static_cast<float>(glyph->width);
            const float v1 = v0 + static_cast<float>(glyph->height);
            const Vertex corners[6] = {
                {x0, y0, u0, v0, {}}, {x0, y1, u0, v1, {}}, {x1, y1, u1, v1, {}},
                {x0, y0, u0, v0, {}}, {x1, y1, u1, v1, {}}, {x1, y0, u1, v0, {}},
            };
            for (Vertex corner : corners) {
                std::copy(colour, colour + 4, corner.colour);
                vertices.push_back(corner);
            }
        }
        pen += font_.advance(point, static_cast<float>(run.pixelSize));
    }
}

void TextRenderer::drawBatch(const GlyphAtlas& atlas, size_t first, size_t count) {
    glBindTexture(GL_TEXTURE_2D, atlas.texture());
    glUniform2f(glGetUniformLocation(shader_.programHandle, "atlasSize"),
                static_cast<float>(atlas.width()), static_cast<float>(atlas.height()));
    glDrawArrays(GL_TRIANGLES, static_cast<GLint>(first), static_cast<GLsizei>(count));
}

void TextRenderer::draw(const std::vector<TextRun>& runs, int width, int height) {
    if (runs.empty() || width <= 0 || height <= 0) {
        return;
    }
    const SavedGlState saved;  // leaves the display's unit active until it goes
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    // Premultiplied colour over the picture; the framebuffer's alpha stays as the passes left it.
    glBlendFuncSeparate(GL_ONE, GL_ONE_MINUS_SRC_ALPHA, GL_ZERO, GL_ONE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glViewport(0, 0, width, height);
    shader_.use();
    const GLuint program = shader_.programHandle;
    glUniform2f(glGetUniformLocation(program, "screenSize"), static_cast<float>(width),
                static_cast<float>(height));
    glUniform4fv(glGetUniformLocation(program, "outlineColour"), 1, kOutlineColour);
    glUniform1i(glGetUniformLocation(program, "glyphs"), kHudTextureUnit);
    glBindVertexArray(vertexArray_);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);

    std::map<int, std::u32string> pointsBySize;
    for (const TextRun& run : runs) {
        pointsBySize[run.pixelSize] += decodeUtf8(run.text);
    }
    // Every batch's vertices in one upload: rewriting the buffer between draws would make a
    // driver that draws late (llvmpipe) finish the frame's drawing first.
    std::vector<Vertex> vertices;
    std::vector<std::pair<const GlyphAtlas*, size_t>> batches;  // and where each one starts
    for (const auto& [size, points] : pointsBySize) {
        const GlyphAtlas& atlas = atlasFor(size, points);
        batches.emplace_back(&atlas, vertices.size());
        for (const TextRun& run : runs) {
            if (run.pixelSize == size) {
                appendRun(run, atlas, vertices);
            }
        }
    }
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(Vertex)),
                 vertices.data(), GL_STREAM_DRAW);
    for (size_t i = 0; i < batches.size(); ++i) {
        const size_t end = i + 1 < batches.size() ? batches[i + 1].second : vertices.size();
        drawBatch(*batches[i].first, batches[i].second, end - batches[i].second);
    }
}
