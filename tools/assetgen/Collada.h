#pragma once

#include <string>

#include "Mesh.h"

namespace assetgen {

// Writes mesh as a COLLADA 1.4.1 document with one geometry under one node with the
// identity transform, Y up. texture, if not empty, is the image file the material
// shows, relative to the .dae file. The output depends on nothing but the arguments.
bool writeCollada(const std::string& path, const std::string& name, const Mesh& mesh,
                  const std::string& texture);

}  // namespace assetgen
