#include "render/Texture.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "support/GlContext.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace {

using Rgba = std::array<unsigned char, 4>;

// Colour of pixel (x, y), y counted from the bottom row. Opaque unless the image has alpha.
Rgba colourAt(int x, int y, bool alpha) {
    static const Rgba kPalette[] = {{255, 0, 0, 255},   {0, 255, 0, 200},  {0, 0, 255, 150},
                                    {255, 255, 0, 100}, {0, 255, 255, 50}, {255, 0, 255, 0},
                                    {10, 20, 30, 255},  {200, 100, 50, 25}};
    Rgba c = kPalette[(x + 3 * y) % 8];
    if (!alpha) {
        c[3] = 255;
    }
    return c;
}

// Writes a PNG of the given depth with FreeImage, whose scan line 0 is the bottom row.
void writePng(const std::string& path, int width, int height, int bpp) {
    FIBITMAP* bitmap = FreeImage_Allocate(width, height, bpp, FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK,
                                          FI_RGBA_BLUE_MASK);
    ASSERT_NE(bitmap, nullptr);
    if (bpp == 8) {
        RGBQUAD* palette = FreeImage_GetPalette(bitmap);
        for (int i = 0; i < 8; ++i) {
            const Rgba c = colourAt(i, 0, false);
            palette[i] = RGBQUAD{c[2], c[1], c[0], 0};
        }
    }
    for (int y = 0; y < height; ++y) {
        BYTE* row = FreeImage_GetScanLine(bitmap, y);
        for (int x = 0; x < width; ++x) {
            const Rgba c = colourAt(x, y, bpp == 32);
            if (bpp == 8) {
                row[x] = static_cast<BYTE>((x + 3 * y) % 8);
                continue;
            }
            BYTE* pixel = row + x * (bpp / 8);
            pixel[FI_RGBA_RED] = c[0];
            pixel[FI_RGBA_GREEN] = c[1];
            pixel[FI_RGBA_BLUE] = c[2];
            if (bpp == 32) {
                pixel[FI_RGBA_ALPHA] = c[3];
            }
        }
    }
    const bool saved = FreeImage_Save(FIF_PNG, bitmap, path.c_str(), PNG_DEFAULT) != 0;
    FreeImage_Unload(bitmap);
    ASSERT_TRUE(saved) << path;
}

GLint activeUnit() {
    GLint unit = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    return unit - GL_TEXTURE0;
}

GLuint boundOn(int unit) {
    const GLint previous = activeUnit();
    glActiveTexture(GL_TEXTURE0 + unit);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glActiveTexture(GL_TEXTURE0 + previous);
    return static_cast<GLuint>(bound);
}

struct Filters {
    GLint min;
    GLint mag;
    bool operator==(const Filters& o) const { return min == o.min && mag == o.mag; }
};

std::ostream& operator<<(std::ostream& out, const Filters& f) {
    return out << "{0x" << std::hex << f.min << ", 0x" << f.mag << std::dec << "}";
}

// Reads a texture's filters through a spare unit, leaving the active unit and its binding as
// they were.
constexpr int kSpareUnit = 15;
Filters filtersOf(GLuint texture) {
    const GLint previousUnit = activeUnit();
    const GLuint previous = boundOn(kSpareUnit);
    glActiveTexture(GL_TEXTURE0 + kSpareUnit);
    glBindTexture(GL_TEXTURE_2D, texture);
    Filters f{};
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &f.min);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &f.mag);
    glBindTexture(GL_TEXTURE_2D, previous);
    glActiveTexture(GL_TEXTURE0 + previousUnit);
    return f;
}

void setFilters(GLuint texture, Filters f) {
    const GLint previousUnit = activeUnit();
    const GLuint previous = boundOn(kSpareUnit);
    glActiveTexture(GL_TEXTURE0 + kSpareUnit);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, f.min);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, f.mag);
    glBindTexture(GL_TEXTURE_2D, previous);
    glActiveTexture(GL_TEXTURE0 + previousUnit);
}

std::vector<Rgba> readBack(GLuint texture, int width, int height) {
    std::vector<Rgba> texels(static_cast<size_t>(width * height));
    const GLint previousUnit = activeUnit();
    glActiveTexture(GL_TEXTURE0 + kSpareUnit);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTexture(GL_TEXTURE0 + previousUnit);
    return texels;
}

class TextureTest : public testing::Test {
  protected:
    void SetUp() override {
        sharedGlContext();
        while (glGetError() != GL_NO_ERROR) {
        }
    }

    std::unique_ptr<Texture> load(int width = 4, int height = 4, int bpp = 32) {
        const std::string path = dir.file("image" + std::to_string(count++) + ".png");
        writePng(path, width, height, bpp);
        return std::make_unique<Texture>(path);
    }

    TempDir dir;
    int count = 0;
};

TEST_F(TextureTest, LoadingLeavesUnitZeroActiveWithTheTextureBoundAndMipmapped) {
    glActiveTexture(GL_TEXTURE5);
    const auto texture = load(4, 4);
    EXPECT_NE(texture->textureHandle, 0u);
    EXPECT_EQ(activeUnit(), 0);
    EXPECT_EQ(boundOn(0), texture->textureHandle);
    EXPECT_EQ(filtersOf(texture->textureHandle), (Filters{GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR}));

    // The chain exists down to 1x1.
    glActiveTexture(GL_TEXTURE0);
    GLint width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 2, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureTest, UploadsEveryPixelInFreeImagesBottomUpOrderAtAnyDepth) {
    const struct {
        int width;
        int height;
        int bpp;
    } cases[] = {{4, 4, 32}, {5, 3, 32}, {7, 2, 24}, {3, 5, 24}, {6, 3, 8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " at " +
                     std::to_string(c.bpp) + " bits");
        const auto texture = load(c.width, c.height, c.bpp);
        const std::vector<Rgba> texels = readBack(texture->textureHandle, c.width, c.height);
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                EXPECT_EQ(texels[static_cast<size_t>(y * c.width + x)], colourAt(x, y, c.bpp == 32))
                    << "texel " << x << ", " << y;
            }
        }
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

TEST_F(TextureTest, EachModePairSetsItsFiltersOnTheGivenUnit) {
    const struct {
        char mip;
        char sampling;
        Filters filters;
    } cases[] = {
        {'0', 'N', {GL_NEAREST, GL_NEAREST}},
        {'0', 'B', {GL_LINEAR, GL_LINEAR}},
        {'N', 'N', {GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST}},
        {'L', 'N', {GL_NEAREST_MIPMAP_LINEAR, GL_NEAREST}},
        {'N', 'B', {GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR}},
        {'L', 'B', {GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR}},
    };
    const auto texture = load();
    texture->bind(2);
    for (const auto& c : cases) {
        SCOPED_TRACE((std::string{c.mip, c.sampling}));
        // Start from filters that differ from both expected ones, so a row must write both.
        setFilters(texture->textureHandle,
                   {c.filters.min == GL_NEAREST ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST,
                    c.filters.mag == GL_NEAREST ? GL_LINEAR : GL_NEAREST});
        glActiveTexture(GL_TEXTURE0);

        texture->setSampling(c.mip, c.sampling, 2);
        EXPECT_EQ(activeUnit(), 2);
        EXPECT_EQ(filtersOf(texture->textureHandle), c.filters);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureTest, UnknownModePairOnlyChangesTheActiveUnit) {
    const auto texture = load();
    texture->bind(4);
    setFilters(texture->textureHandle, {GL_NEAREST_MIPMAP_LINEAR, GL_NEAREST});
    for (const auto& pair : {"LX", "XB", "lb", "B0", "00", "NL"}) {
        SCOPED_TRACE(pair);
        glActiveTexture(GL_TEXTURE0);
        texture->setSampling(pair[0], pair[1], 4);
        EXPECT_EQ(activeUnit(), 4);
        EXPECT_EQ(filtersOf(texture->textureHandle),
                  (Filters{GL_NEAREST_MIPMAP_LINEAR, GL_NEAREST}));
    }
}

TEST_F(TextureTest, SamplingActsOnWhateverIsBoundOnTheUnit) {
    const auto a = load();
    const auto b = load();
    a->bind(3);
    b->setSampling('0', 'N', 3);
    EXPECT_EQ(filtersOf(a->textureHandle), (Filters{GL_NEAREST, GL_NEAREST}));
    EXPECT_EQ(filtersOf(b->textureHandle), (Filters{GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR}));
    EXPECT_EQ(boundOn(3), a->textureHandle);
}

TEST_F(TextureTest, BindLeavesTheUnitActiveAndOtherUnitsAlone) {
    const auto a = load();
    const auto b = load();  // now bound on unit 0
    a->bind(6);
    EXPECT_EQ(activeUnit(), 6);
    EXPECT_EQ(boundOn(6), a->textureHandle);
    EXPECT_EQ(boundOn(0), b->textureHandle);
}

TEST_F(TextureTest, DestructionDeletesTheTexture) {
    auto texture = load();
    const GLuint handle = texture->textureHandle;
    EXPECT_TRUE(glIsTexture(handle));
    texture.reset();
    EXPECT_FALSE(glIsTexture(handle));
}

// Every load failure ends the process, so each case runs in a probe child process.
TEST(TextureFailureTest, FilesThatAreNotUsableImagesEndTheProcessNamingTheFile) {
    TempDir dir;
    dir.write("notes.png", "these are words, not pixels\n");
    // A PNG signature with nothing valid after it: recognised, but it cannot be decoded.
    dir.write("truncated.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16));
    const struct {
        std::string path;
        std::string reason;
    } cases[] = {
        {dir.file("missing.png"), "The file cannot be opened."},
        {dir.file("notes.png"), "Its image format is not recognised."},
        {dir.file("truncated.png"), "FreeImage cannot decode it."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const ProcessResult result =
            runProcess({ORBQUEST_GL_PROBE, "texture", c.path}, ORBQUEST_SOURCE_DIR);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.output,
                  "Failed to load the image file " + c.path + " in Texture! " + c.reason + "\n");
    }
}

TEST(TextureFailureTest, AGoodImageLoadsInTheProbe) {
    TempDir dir;
    writePng(dir.file("good.png"), 3, 3, 24);
    const ProcessResult result =
        runProcess({ORBQUEST_GL_PROBE, "texture", dir.file("good.png")}, ORBQUEST_SOURCE_DIR);
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(result.output.rfind("loaded texture ", 0), 0u) << result.output;
}

}  // namespace
