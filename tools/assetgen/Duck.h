#pragma once

#include "Mesh.h"

namespace assetgen {

// A rubber duck about 200 units tall: bottom at y = 0, origin under the body, beak
// pointing to +x. Every part's uvs sit at the centre of its colour band in colour.png.
Mesh buildDuck();

}  // namespace assetgen
