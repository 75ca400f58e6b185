#pragma once

#include <string>
#include <vector>

#include "render/RenderQuality.h"

// Numbers the GLSL sources share with the C++ code, handed to the compiler as #define lines so
// the two cannot drift apart. The sources use the names without defining them; to check a
// source on its own, give the same definitions to the compiler (e.g. glslangValidator -D).
struct ShaderDefine {
    std::string name;
    std::string value;  // a GLSL literal
};
using ShaderDefines = std::vector<ShaderDefine>;

// Every number the game's shaders take from the C++ side, each read from the constant that
// owns it, and the shadow filter the scene shader is built with (SHADOW_FILTER, one of the
// SHADOW_FILTER_... kinds).
ShaderDefines gameShaderDefines(ShadowQuality shadows = kFullLookShadows);

// 'source' with one #define line per definition right after its #version line, and a #line
// directive after them, so the driver's messages still count the file's own lines.
std::string withDefines(const std::string& source, const ShaderDefines& defines);

// A float as a GLSL literal: exact, and always with a decimal point ("1024.0", "0.1").
std::string glslFloat(float value);
