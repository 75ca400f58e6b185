#pragma once

#include <GL/glew.h>

#include <string>

// One 2D colour image with a full mip-map chain. The level binds each texture to a unit of its
// own, so a texture is addressed through its unit number.
class Texture {
  public:
    GLuint textureHandle = 0;

    // Leaves texture unit 0 active with the new texture bound to it.
    explicit Texture(const std::string& path);
    ~Texture();

    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // Sets the filters of whatever 2D texture is bound on 'unit' (not necessarily this one).
    // mipMode: '0' off, 'N' nearest level, 'L' linear; samplingMode: 'N' nearest, 'B' bilinear.
    void setSampling(char mipMode, char samplingMode, int unit);
    // Binds this texture on 'unit', which stays the active unit.
    void bind(int unit);
};
