#include "render/ShaderDefines.h"

#include <cstdio>

#include "render/ShadowMap.h"

const ShaderDefines& gameShaderDefines() {
    static const ShaderDefines defines = {
        {"SHADOW_NEAR", glslFloat(kShadowNear)},
        {"SHADOW_TEXELS", glslFloat(static_cast<float>(kShadowMapSize))},
    };
    return defines;
}

std::string withDefines(const std::string& source, const ShaderDefines& defines) {
    if (defines.empty()) {
        return source;
    }
    // #version must stay the first thing the compiler reads; the definitions follow it.
    size_t versionLine = source.rfind("#version", 0) == 0 ? 0 : source.find("\n#version");
    if (versionLine == std::string::npos) {
        versionLine = 0;  // no #version: the compiler will say so about the file's first line
    } else if (versionLine != 0) {
        ++versionLine;
    }
    const size_t lineEnd = source.find('\n', versionLine);
    const size_t insertAt = lineEnd == std::string::npos ? source.size() : lineEnd + 1;
    int linesBefore = 0;
    for (size_t i = 0; i < insertAt; ++i) {
        linesBefore += source[i] == '\n';
    }
    std::string block = lineEnd == std::string::npos ? "\n" : "";
    for (const ShaderDefine& define : defines) {
        block += "#define " + define.name + " " + define.value + "\n";
    }
    // The line after a #line directive takes its number.
    block += "#line " + std::to_string(linesBefore + 1) + "\n";
    return source.substr(0, insertAt) + block + source.substr(insertAt);
}

std::string glslFloat(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    std::string literal(text);
    if (literal.find_first_of(".e") == std::string::npos) {
        literal += ".0";
    }
    return literal;
}
