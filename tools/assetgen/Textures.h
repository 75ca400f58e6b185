#pragma once

#include "Raster.h"

namespace assetgen {

Image makeWood();
Image makeBubbles();
Image makeSmileyPanel();
Image makeColourBands();

// The desktop icon: the smiling yellow face on a transparent square, drawn at each size the
// icon theme offers. The smaller ones get thicker lines and leave out the finest details, so
// the face still reads at 16 pixels.
constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
Image makeIcon(int size);

enum class BallFace { SmilingYellow, CryingRed, SmilingGreen };

// An equirectangular ball texture: the whole image is the ball's colour, and the face is
// drawn once, undistorted on the sphere, around u = 0.5, v = 0.5 (the +z side).
Image makeBall(BallFace face);

}  // namespace assetgen
