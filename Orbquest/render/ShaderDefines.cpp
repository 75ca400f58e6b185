#include "render/ShaderDefines.h"

#include <cstdio>

#include "render/ShadowMap.h"

namespace {

std::string glslInt(ShadowQuality quality) {
    return std::to_string(static_cast<int>(quality));
}

}  // namespace

ShaderDefines gameShaderDefines(ShadowQuality shadows) {
    return {
        {"SHADOW_NEAR", glslFloat(kShadowNear)},
        {"SHADOW_TEXELS", glslFloat(static_cast<float>(kShadowMapSize))},
        {"SHADOW_FILTER_HARD", glslInt(ShadowQuality::Hard)},
        {"SHADOW_FILTER_FAST", glslInt(ShadowQuality::Fast)},
        {"SHADOW_FILTER_SOFT", glslInt(ShadowQuality::Soft)},
        {"SHADOW_FILTER", glslInt(shadows)},
    };
}

std::string withDefines(const std::string& source, const ShaderDefines& defines) {
    if (defines.empty()) {
        return source;
    }
    // #version must stay the first thing the compiler reads; the definitions follow its line.
    // Without one they go first, and the compiler says what is missing about the file itself.
    size_t insertAt = 0;
    int linesBefore = 0;
    std::string block;
    const size_t version = source.rfind("#version", 0) == 0 ? 0 : source.find("\n#version");
    if (version != std::string::npos) {
        const size_t lineEnd = source.find('\n', version == 0 ? 0 : version + 1);
        insertAt = lineEnd == std::string::npos ? source.size() : lineEnd + 1;
        for (size_t i = 0; i < insertAt; ++i) {
            linesBefore += source[i] == '\n';
        }
        if (lineEnd == std::string::npos) {
            block = "\n";
            ++linesBefore;
        }
    }
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
