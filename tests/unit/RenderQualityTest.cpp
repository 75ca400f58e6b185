#include "render/RenderQuality.h"

#include <gtest/gtest.h>

namespace {

const char* const kLlvmpipe = "llvmpipe (LLVM 15.0.6, 256 bits)";
const char* const kGpu = "NVIDIA GeForce RTX 3060/PCIe/SSE2";

TEST(RenderQuality, SoftwareRenderersAreKnownByName) {
    const struct {
        const char* glRenderer;
        const char* software;
    } cases[] = {
        {kLlvmpipe, "llvmpipe"},
        {"softpipe", "softpipe"},
        {"Mesa DRI swrast", "swrast"},
        {kGpu, ""},
        {"AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49, 6.1.0)", ""},
        {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(softwareRendererName(c.glRenderer), c.software) << c.glRenderer;
    }
}

QualityChoice choose(std::optional<int> samples, std::optional<ShadowQuality> shadows) {
    QualityChoice choice;
    choice.samples = samples;
    choice.shadows = shadows;
    return choice;
}

TEST(RenderQuality, TheRendererPicksWhatThePlayerLeftOpen) {
    const std::optional<int> unset;
    const std::optional<ShadowQuality> unchosen;
    const struct {
        const char* name;
        const char* glRenderer;
        QualityChoice choice;
        int samples;
        ShadowQuality shadows;
        const char* announcement;
    } cases[] = {
        {"a GPU draws the full look", kGpu, choose(unset, unchosen), 4, ShadowQuality::Soft, ""},
        {"a software renderer starts without multisampling and says how to undo it", kLlvmpipe,
         choose(unset, unchosen), 0, ShadowQuality::Soft,
         "Software renderer (llvmpipe): drawing without multisampling for speed; --samples 4 "
         "restores it"},
        {"an explicit --samples 4 wins on a software renderer, silently", kLlvmpipe,
         choose(4, unchosen), 4, ShadowQuality::Soft, ""},
        {"a chosen shadow quality wins too", "softpipe", choose(unset, ShadowQuality::Hard), 0,
         ShadowQuality::Hard,
         "Software renderer (softpipe): drawing without multisampling for speed; --samples 4 "
         "restores it"},
        {"the full look asked for is drawn silently", kLlvmpipe, choose(4, ShadowQuality::Soft), 4,
         ShadowQuality::Soft, ""},
        {"a GPU takes lighter choices as they are", kGpu, choose(0, ShadowQuality::Hard), 0,
         ShadowQuality::Hard, ""},
        {"a GPU takes more samples as asked", kGpu, choose(8, unchosen), 8, ShadowQuality::Soft,
         ""},
        {"an unknown renderer is no software renderer", "", choose(unset, unchosen), 4,
         ShadowQuality::Soft, ""},
    };
    for (const auto& c : cases) {
        const RenderQuality quality = chooseRenderQuality(c.glRenderer, c.choice);
        EXPECT_EQ(quality.samples, c.samples) << c.name;
        EXPECT_EQ(quality.shadows, c.shadows) << c.name;
        EXPECT_EQ(quality.announcement, c.announcement) << c.name;
    }
}

TEST(RenderQuality, ShadowQualitiesGoByThePlayersWords) {
    for (ShadowQuality quality : {ShadowQuality::Soft, ShadowQuality::Fast, ShadowQuality::Hard}) {
        ShadowQuality read =
            quality == ShadowQuality::Soft ? ShadowQuality::Hard : ShadowQuality::Soft;
        EXPECT_TRUE(shadowQualityNamed(shadowQualityName(quality), read));
        EXPECT_EQ(read, quality) << shadowQualityName(quality);
    }
    EXPECT_STREQ(shadowQualityName(ShadowQuality::Fast), "fast");
    ShadowQuality untouched = ShadowQuality::Fast;
    for (const char* word : {"", "Soft", "medium", "soft "}) {
        EXPECT_FALSE(shadowQualityNamed(word, untouched)) << word;
        EXPECT_EQ(untouched, ShadowQuality::Fast) << word;
    }
}

}  // namespace
