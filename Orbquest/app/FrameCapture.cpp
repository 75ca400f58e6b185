#include "app/FrameCapture.h"

#include <FreeImage.h>
#include <GL/glew.h>

#include <cstring>

#include "base/AtomicFile.h"

void FrameCapture::capture(int width, int height) {
    GLint framebuffer = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &framebuffer);
    if (framebuffer != 0 || width <= 0 || height <= 0) {
        return;
    }
    width_ = width;
    height_ = height;
    pixels_.resize(static_cast<size_t>(width_) * static_cast<size_t>(height_) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width_, height_, GL_BGRA, GL_UNSIGNED_BYTE, pixels_.data());
}

namespace {

// The PNG's bytes, made in memory so that the file is written like every other.
bool encodePng(FIBITMAP* bitmap, std::string& png) {
    FIMEMORY* memory = FreeImage_OpenMemory();
    if (!memory) {
        return false;
    }
    BYTE* data = nullptr;
    DWORD size = 0;
    const bool encoded = FreeImage_SaveToMemory(FIF_PNG, bitmap, memory, PNG_DEFAULT) &&
                         FreeImage_AcquireMemory(memory, &data, &size);
    if (encoded) {
        png.assign(reinterpret_cast<const char*>(data), size);
    }
    FreeImage_CloseMemory(memory);
    return encoded;
}

}  // namespace

bool FrameCapture::save(const std::string& path, std::string& error) const {
    if (pixels_.empty()) {
        error = "no frame was drawn";
        return false;
    }
    FIBITMAP* bitmap = FreeImage_Allocate(width_, height_, 32);
    if (!bitmap) {
        error = "out of memory";
        return false;
    }
    // Both GL and FreeImage keep the bottom row first, so rows copy straight across.
    for (int row = 0; row < height_; ++row) {
        std::memcpy(FreeImage_GetScanLine(bitmap, row),
                    &pixels_[static_cast<size_t>(row) * width_ * 4],
                    static_cast<size_t>(width_) * 4);
    }
    // The frame is opaque; drop the alpha the blending left in the back buffer.
    for (int row = 0; row < height_; ++row) {
        BYTE* line = FreeImage_GetScanLine(bitmap, row);
        for (int x = 0; x < width_; ++x) {
            line[x * 4 + FI_RGBA_ALPHA] = 255;
        }
    }
    std::string png;
    const bool encoded = encodePng(bitmap, png);
    FreeImage_Unload(bitmap);
    if (!encoded) {
        error = "the picture cannot be encoded as PNG";
        return false;
    }
    return replaceFileAtomically(path, png, error);
}
