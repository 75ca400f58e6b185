#pragma once

#include <optional>
#include <string>

// How much of the full look the game draws: the window's multisampling and the shadow filter.
// A GPU draws the full look at no noticeable cost; Mesa's software renderers spend most of a
// frame on it, so there the game starts lighter unless the player chose.

constexpr int kFullLookSamples = 4;

// soft: five taps across the light direction; fast: two taps that the texture unit compares
// and filters between the four nearest texels each; hard: one tap.
enum class ShadowQuality { Hard, Fast, Soft };
constexpr ShadowQuality kFullLookShadows = ShadowQuality::Soft;

// What the player chose; an empty field is left to the game.
struct QualityChoice {
    std::optional<int> samples;  // 0, 2, 4 or 8
    std::optional<ShadowQuality> shadows;
};

struct RenderQuality {
    int samples = kFullLookSamples;
    ShadowQuality shadows = kFullLookShadows;
    std::string announcement;  // the console line saying what was made lighter; empty if nothing
};

// The software renderer that a GL_RENDERER string names ("llvmpipe", "softpipe" or "swrast"),
// or "" for any other renderer.
std::string softwareRendererName(const std::string& glRenderer);

// The player's choice where there is one; otherwise the full look, except on a software
// renderer, which draws without multisampling, and says so.
RenderQuality chooseRenderQuality(const std::string& glRenderer, const QualityChoice& choice);

// The player's words for a shadow quality: "soft", "fast", "hard".
const char* shadowQualityName(ShadowQuality quality);
// False for a word that names none.
bool shadowQualityNamed(const std::string& name, ShadowQuality& quality);
