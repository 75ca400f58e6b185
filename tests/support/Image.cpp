#include "support/Image.h"

#include <FreeImage.h>

Image readImage(const std::string& path) {
    Image image;
    FIBITMAP* file = FreeImage_Load(FreeImage_GetFileType(path.c_str()), path.c_str());
    if (file == nullptr) {
        return image;
    }
    image.bpp = FreeImage_GetBPP(file);
    FIBITMAP* rgba = FreeImage_ConvertTo32Bits(file);
    FreeImage_Unload(file);
    if (rgba == nullptr) {
        return image;
    }
    image.width = static_cast<int>(FreeImage_GetWidth(rgba));
    image.height = static_cast<int>(FreeImage_GetHeight(rgba));
    image.texels.reserve(static_cast<size_t>(image.width) * image.height);
    for (int y = 0; y < image.height; ++y) {
        const BYTE* row = FreeImage_GetScanLine(rgba, y);
        for (int x = 0; x < image.width; ++x) {
            const BYTE* t = row + 4 * x;
            image.texels.emplace_back(t[FI_RGBA_RED], t[FI_RGBA_GREEN], t[FI_RGBA_BLUE],
                                      t[FI_RGBA_ALPHA]);
        }
    }
    FreeImage_Unload(rgba);
    return image;
}
