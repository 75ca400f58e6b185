#pragma once

#include <string>
#include <vector>

// Keeps a copy of the last frame drawn, taken just before each buffer swap, and writes it to
// a PNG at the end of the game (--screenshot).
class FrameCapture {
  public:
    // Reads the default framebuffer's colour buffer as it is now, 'width' x 'height' pixels
    // from the lower-left corner (the frame's framebuffer size); a size of 0 keeps the last.
    void capture(int width, int height);
    // Writes the last capture through a temporary file and a rename; false (with the reason in
    // 'error') if there is none or the file cannot be written.
    bool save(const std::string& path, std::string& error) const;

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<unsigned char> pixels_;  // BGRA rows, bottom row first, as GL reads them
};
