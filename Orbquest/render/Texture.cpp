#include "render/Texture.h"

#include <FreeImage.h>

#include <fstream>

#include "base/Fatal.h"

namespace {

[[noreturn]] void failToLoad(const std::string& path, const std::string& reason) {
    fatalError("Failed to load the image file " + path + " in Texture! " + reason);
}

// Ends the process unless the file decodes; the result is always 32 bits per pixel, BGRA in
// memory, rows bottom-first.
FIBITMAP* loadBgra(const std::string& path) {
    if (!std::ifstream(path).good()) {
        failToLoad(path, "The file cannot be opened.");
    }
    const FREE_IMAGE_FORMAT type = FreeImage_GetFileType(path.c_str(), 0);
    if (type == FIF_UNKNOWN) {
        failToLoad(path, "Its image format is not recognised.");
    }
    FIBITMAP* bitmap = FreeImage_Load(type, path.c_str(), 0);
    if (bitmap == nullptr) {
        failToLoad(path, "FreeImage cannot decode it.");
    }
    if (FreeImage_GetBPP(bitmap) == 32 && FreeImage_GetImageType(bitmap) == FIT_BITMAP) {
        return bitmap;
    }
    FIBITMAP* converted = FreeImage_ConvertTo32Bits(bitmap);
    FreeImage_Unload(bitmap);
    if (converted == nullptr) {
        failToLoad(path, "FreeImage cannot convert it to 32 bits per pixel.");
    }
    return converted;
}

struct SamplingFilters {
    char mipMode;
    char samplingMode;
    GLint minFilter;
    GLint magFilter;
};

constexpr SamplingFilters kSamplingTable[] = {
    {'0', 'N', GL_NEAREST, GL_NEAREST},
    {'0', 'B', GL_LINEAR, GL_LINEAR},
    {'N', 'N', GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST},
    {'L', 'N', GL_NEAREST_MIPMAP_LINEAR, GL_NEAREST},
    {'N', 'B', GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR},
    {'L', 'B', GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR},
};

}  // namespace

Texture::Texture(const std::string& path) {
    FIBITMAP* bitmap = loadBgra(path);

    glGenTextures(1, &textureHandle);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, textureHandle);
    const auto width = static_cast<GLsizei>(FreeImage_GetWidth(bitmap));
    const auto height = static_cast<GLsizei>(FreeImage_GetHeight(bitmap));
    // A 32-bit FreeImage row is exactly width * 4 bytes, which meets an alignment of 4.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                 FreeImage_GetBits(bitmap));
    FreeImage_Unload(bitmap);
    glGenerateMipmap(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

Texture::~Texture() {
    glDeleteTextures(1, &textureHandle);
}

void Texture::setSampling(char mipMode, char samplingMode, int unit) {
    glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
    for (const SamplingFilters& row : kSamplingTable) {
        if (row.mipMode == mipMode && row.samplingMode == samplingMode) {
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, row.minFilter);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, row.magFilter);
            return;
        }
    }
}

void Texture::bind(int unit) {
    glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
    glBindTexture(GL_TEXTURE_2D, textureHandle);
}
