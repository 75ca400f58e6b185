#include "render/RenderQuality.h"

#include <vector>

namespace {

// Mesa's software rasterisers, as their GL_RENDERER strings name them.
const char* const kSoftwareRenderers[] = {"llvmpipe", "softpipe", "swrast"};

const struct {
    ShadowQuality quality;
    const char* name;
} kShadowQualityNames[] = {
    {ShadowQuality::Soft, "soft"},
    {ShadowQuality::Fast, "fast"},
    {ShadowQuality::Hard, "hard"},
};

// What the software renderer's defaults leave out, in words, and the options that put it back.
struct Lightening {
    std::vector<std::string> what;
    std::vector<std::string> restore;
};

std::string joined(const std::vector<std::string>& parts, const std::string& separator) {
    std::string text;
    for (const std::string& part : parts) {
        text += (text.empty() ? "" : separator) + part;
    }
    return text;
}

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
    Lightening lighter;
    if (choice.samples) {
        quality.samples = *choice.samples;
    } else if (!software.empty()) {
        quality.samples = 0;
        lighter.what.push_back("without multisampling");
        lighter.restore.push_back("--samples " + std::to_string(kFullLookSamples));
    }
    if (choice.shadows) {
        quality.shadows = *choice.shadows;
    } else if (!software.empty()) {
        quality.shadows = ShadowQuality::Fast;
        lighter.what.push_back("with fast shadows");
        lighter.restore.push_back(std::string("--shadow-quality ") +
                                  shadowQualityName(kFullLookShadows));
    }
    if (!lighter.what.empty()) {
        const bool both = lighter.what.size() > 1;
        quality.announcement = "Software renderer (" + software + "): drawing " +
                               joined(lighter.what, " and ") + " for speed; " +
                               joined(lighter.restore, " ") +
                               (both ? " restores the full look" : " restores it");
    }
    return quality;
}

const char* shadowQualityName(ShadowQuality quality) {
    for (const auto& entry : kShadowQualityNames) {
        if (entry.quality == quality) {
            return entry.name;
        }
    }
    return "";
}

bool shadowQualityNamed(const std::string& name, ShadowQuality& quality) {
    for (const auto& entry : kShadowQualityNames) {
        if (name == entry.name) {
            quality = entry.quality;
            return true;
        }
    }
    return false;
}
