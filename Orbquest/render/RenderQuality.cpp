#include "render/RenderQuality.h"

#include <iterator>

#include "settings/GameSettings.h"

namespace {

// Mesa's software rasterisers, as their GL_RENDERER strings name them.
const char* const kSoftwareRenderers[] = {"llvmpipe", "softpipe", "swrast"};

// Each quality in the order of the player's names for them (kShadowQualityNames).
const ShadowQuality kNamedShadowQualities[] = {ShadowQuality::Soft, ShadowQuality::Fast,
                                               ShadowQuality::Hard};
static_assert(std::size(kNamedShadowQualities) == std::size(kShadowQualityNames));

}  // namespace

std::string softwareRendererName(const std::string& glRenderer) {
    for (const char* name : kSoftwareRenderers) {
        if (glRenderer.find(name) != std::string::npos) {
            return name;
        }
    }
    return "";
}

RenderQuality chooseRenderQuality(const std::string& glRenderer, const QualityChoice& choice) {
    RenderQuality quality;
    const std::string software = softwareRendererName(glRenderer);
    if (choice.samples) {
        quality.samples = *choice.samples;
    } else if (!software.empty()) {
        quality.samples = 0;
        quality.announcement = "Software renderer (" + software +
                               "): drawing without multisampling for speed; --samples " +
                               std::to_string(kFullLookSamples) + " restores it";
    }
    // The fast filter measured no faster than the soft one on llvmpipe, so every renderer
    // keeps the soft shadows unless the player chooses.
    if (choice.shadows) {
        quality.shadows = *choice.shadows;
    }
    return quality;
}

const char* shadowQualityName(ShadowQuality quality) {
    for (size_t i = 0; i < std::size(kNamedShadowQualities); ++i) {
        if (kNamedShadowQualities[i] == quality) {
            return kShadowQualityNames[i];
        }
    }
    return "";
}

bool shadowQualityNamed(const std::string& name, ShadowQuality& quality) {
    for (size_t i = 0; i < std::size(kNamedShadowQualities); ++i) {
        if (name == kShadowQualityNames[i]) {
            quality = kNamedShadowQualities[i];
            return true;
        }
    }
    return false;
}
