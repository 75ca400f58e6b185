#include "hud/Font.h"

#include FT_ADVANCES_H
#include FT_GLYPH_H

#include <algorithm>

#include "hud/Utf8.h"

namespace {

constexpr char32_t kMissingGlyph = U'?';
constexpr FT_Int32 kLoadFlags = FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP;

std::string freeTypeReason(FT_Error error) {
    const char* text = FT_Error_String(error);
    return text ? text : "FreeType error " + std::to_string(error);
}

// Copies one 8-bit coverage bitmap into channel 'channel' of the image's box.
void blit(const FT_BitmapGlyph bitmap, GlyphImage& image, int channel) {
    const FT_Bitmap& source = bitmap->bitmap;
    const int offsetX = bitmap->left - image.left;
    const int offsetY = image.top - bitmap->top;
    for (unsigned int row = 0; row < source.rows; ++row) {
        const unsigned char* from = source.buffer + static_cast<long>(row) * source.pitch;
        for (unsigned int column = 0; column < source.width; ++column) {
            const int x = offsetX + static_cast<int>(column);
            const int y = offsetY + static_cast<int>(row);
            if (x >= 0 && y >= 0 && x < image.width && y < image.height) {
                image.coverage[2 * (static_cast<size_t>(y) * image.width + x) + channel] =
                    from[column];
            }
        }
    }
}

}  // namespace

Font::~Font() {
    if (stroker_) {
        FT_Stroker_Done(stroker_);
    }
    if (face_) {
        FT_Done_Face(face_);
    }
    if (library_) {
        FT_Done_FreeType(library_);
    }
}

bool Font::open(const std::string& path, std::string& error) {
    FT_Error status = FT_Init_FreeType(&library_);
    if (status == 0) {
        status = FT_New_Face(library_, path.c_str(), 0, &face_);
    }
    if (status == 0 && !FT_IS_SCALABLE(face_)) {
        error = path + " cannot be scaled";
        return false;
    }
    if (status == 0) {
        status = FT_Stroker_New(library_, &stroker_);
    }
    if (status != 0) {
        error = "FreeType cannot open " + path + ": " + freeTypeReason(status);
        return false;
    }
    return true;
}

char32_t Font::drawnAs(char32_t point) const {
    return FT_Get_Char_Index(face_, point) != 0 ? point : kMissingGlyph;
}

float Font::advance(char32_t point, float pixelSize) const {
    point = drawnAs(point);
    auto known = advances_.find(point);
    if (known == advances_.end()) {
        FT_Fixed units = 0;
        FT_Get_Advance(face_, FT_Get_Char_Index(face_, point), FT_LOAD_NO_SCALE, &units);
        known = advances_.emplace(point, units).first;
    }
    return static_cast<float>(known->second) * pixelSize / static_cast<float>(face_->units_per_EM);
}

float Font::width(const std::string& text, float pixelSize) const {
    float sum = 0.0f;
    for (char32_t point : decodeUtf8(text)) {
        sum += advance(point, pixelSize);
    }
    return sum;
}

float Font::ascent(float pixelSize) const {
    return static_cast<float>(face_->ascender) * pixelSize /
           static_cast<float>(face_->units_per_EM);
}

float Font::descent(float pixelSize) const {
    return -static_cast<float>(face_->descender) * pixelSize /
           static_cast<float>(face_->units_per_EM);
}

bool Font::renderInto(FT_Glyph& glyph, FT_BitmapGlyph& bitmap) {
    if (FT_Glyph_To_Bitmap(&glyph, FT_RENDER_MODE_NORMAL, nullptr, 1) != 0) {
        return false;
    }
    bitmap = reinterpret_cast<FT_BitmapGlyph>(glyph);
    return true;
}

bool Font::rasterise(char32_t point, int pixelSize, int outline, GlyphImage& image) {
    image = GlyphImage();
    const FT_UInt index = FT_Get_Char_Index(face_, drawnAs(point));
    if (FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(pixelSize)) != 0 ||
        FT_Load_Glyph(face_, index, kLoadFlags) != 0 ||
        face_->glyph->format != FT_GLYPH_FORMAT_OUTLINE) {
        return false;
    }
    FT_Glyph fill = nullptr;
    FT_Glyph stroke = nullptr;
    if (FT_Get_Glyph(face_->glyph, &fill) != 0) {
        return false;
    }
    bool made = FT_Glyph_Copy(fill, &stroke) == 0;
    FT_Stroker_Set(stroker_, static_cast<FT_Fixed>(outline) * 64, FT_STROKER_LINECAP_ROUND,
                   FT_STROKER_LINEJOIN_ROUND, 0);
    FT_BitmapGlyph fillBitmap = nullptr;
    FT_BitmapGlyph strokeBitmap = nullptr;
    made = made && FT_Glyph_Stroke(&stroke, stroker_, 1) == 0 && renderInto(fill, fillBitmap) &&
           renderInto(stroke, strokeBitmap);
    if (made) {
        // The stroke reaches past the glyph on every side; the box takes in both.
        const FT_Bitmap& s = strokeBitmap->bitmap;
        const FT_Bitmap& f = fillBitmap->bitmap;
        image.left = std::min(strokeBitmap->left, fillBitmap->left);
        image.top = std::max(strokeBitmap->top, fillBitmap->top);
        const int right = std::max(strokeBitmap->left + static_cast<int>(s.width),
                                   fillBitmap->left + static_cast<int>(f.width));
        const int bottom = std::min(strokeBitmap->top - static_cast<int>(s.rows),
                                    fillBitmap->top - static_cast<int>(f.rows));
        image.width = right - image.left;
        image.height = image.top - bottom;
        image.coverage.assign(2 * static_cast<size_t>(image.width) * image.height, 0);
        blit(fillBitmap, image, 0);
        blit(strokeBitmap, image, 1);
    }
    FT_Done_Glyph(fill);
    if (stroke) {
        FT_Done_Glyph(stroke);
    }
    return made;
}
