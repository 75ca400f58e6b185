#include "render/ShadowMap.h"

#include <glm/gtc/matrix_transform.hpp>

GLuint depthMapFBO = 0;
GLuint depthCubemap = 0;
GLuint depthCompareSampler = 0;

namespace {

void createCompareSampler() {
    glGenSamplers(1, &depthCompareSampler);
    glSamplerParameteri(depthCompareSampler, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glSamplerParameteri(depthCompareSampler, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    for (GLenum wrap : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_WRAP_R}) {
        glSamplerParameteri(depthCompareSampler, wrap, GL_CLAMP_TO_EDGE);
    }
    // Lit where the stored depth is not nearer than the fragment's, as the other filters test.
    glSamplerParameteri(depthCompareSampler, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_REF_TO_TEXTURE);
    glSamplerParameteri(depthCompareSampler, GL_TEXTURE_COMPARE_FUNC, GL_LEQUAL);
}

}  // namespace

void createShadowFramebuffer() {
    glGenFramebuffers(1, &depthMapFBO);
    glGenTextures(1, &depthCubemap);
    glBindTexture(GL_TEXTURE_CUBE_MAP, depthCubemap);
    for (GLenum face = 0; face < 6; ++face) {
        glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 0, GL_DEPTH_COMPONENT24, kShadowMapSize,
                     kShadowMapSize, 0, GL_DEPTH_COMPONENT, GL_FLOAT, nullptr);
    }
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    const GLfloat border[] = {1.0f, 1.0f, 1.0f, 1.0f};
    glTexParameterfv(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_BORDER_COLOR, border);

    glBindFramebuffer(GL_FRAMEBUFFER, depthMapFBO);
    glFramebufferTexture(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, depthCubemap, 0);
    glDrawBuffer(GL_NONE);
    glReadBuffer(GL_NONE);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    createCompareSampler();
}

void deleteShadowFramebuffer() {
    glDeleteFramebuffers(1, &depthMapFBO);
    depthMapFBO = 0;
    glDeleteTextures(1, &depthCubemap);
    depthCubemap = 0;
    glDeleteSamplers(1, &depthCompareSampler);
    depthCompareSampler = 0;
}

void bindShadowMap(ShadowQuality shadows) {
    glActiveTexture(GL_TEXTURE0 + kShadowTextureUnit);
    glBindTexture(GL_TEXTURE_CUBE_MAP, depthCubemap);
    glBindSampler(kShadowTextureUnit, shadows == ShadowQuality::Fast ? depthCompareSampler : 0);
}

std::array<glm::mat4, 6> lightSpaceMatrices(const glm::vec3& lightPosition) {
    const glm::mat4 projection =
        glm::perspective(glm::radians(90.0f), 1.0f, kShadowNear, kShadowFar);
    struct Face {
        glm::vec3 direction;
        glm::vec3 up;
    };
    // The up vectors follow GL's cube-map face orientation.
    const Face faces[6] = {
        {{1, 0, 0}, {0, -1, 0}},  {{-1, 0, 0}, {0, -1, 0}}, {{0, 1, 0}, {0, 0, 1}},
        {{0, -1, 0}, {0, 0, -1}}, {{0, 0, 1}, {0, -1, 0}},  {{0, 0, -1}, {0, -1, 0}},
    };
    std::array<glm::mat4, 6> matrices;
    for (int i = 0; i < 6; ++i) {
        matrices[i] = projection *
                      glm::lookAt(lightPosition, lightPosition + faces[i].direction, faces[i].up);
    }
    return matrices;
}
