#pragma once

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <array>

#include "render/RenderQuality.h"

// The omnidirectional shadow map: one depth cube map rendered from the point light each frame.
constexpr int kShadowMapSize = 1024;  // texels per cube face side
constexpr float kShadowNear = 0.1f;
constexpr float kShadowFar = 18.0f;  // also the "far_plane" of both programs
// The level's textures take units 0 to 6; the cube map is bound on this one.
constexpr int kShadowTextureUnit = 7;

extern GLuint depthMapFBO;
extern GLuint depthCubemap;
// The fast shadow filter reads the cube map through this sampler: the texture unit compares
// and filters between texels, while the cube map itself keeps its nearest filtering.
extern GLuint depthCompareSampler;

// Creates depthMapFBO with depthCubemap as its layered depth attachment, and the sampler.
void createShadowFramebuffer();
// Deletes depthMapFBO, its cube map and the sampler.
void deleteShadowFramebuffer();
// Binds the cube map on kShadowTextureUnit, through the sampler that 'shadows' reads it with.
void bindShadowMap(ShadowQuality shadows);

// The view-projections of the six cube faces, in the layer order +X, -X, +Y, -Y, +Z, -Z.
std::array<glm::mat4, 6> lightSpaceMatrices(const glm::vec3& lightPosition);
