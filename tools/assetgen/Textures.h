#pragma once

#include "Raster.h"

namespace assetgen {

Image makeWood();
Image makeBubbles();
Image makeSmileyPanel();
Image makeColourBands();

// The desktop icon: the smiling yellow face on a transparent square.
constexpr int kIconSize = 256;
Image makeIcon();

enum class BallFace { SmilingYellow, CryingRed, SmilingGreen };

// An equirectangular ball texture: the whole image is the ball's colour, and the face is
// drawn once, undistorted on the sphere, around u = 0.5, v = 0.5 (the +z side).
Image makeBall(BallFace face);

}  // namespace assetgen
