#include "game/Material.h"

#include <GL/glew.h>

#include "render/Shader.h"

const Material kWarmMaterial{{0.329412f, 0.223529f, 0.047451f},
                             {0.780392f, 0.568627f, 0.123725f},
                             {0.992157f, 0.941176f, 0.807843f},
                             3.4871795f};
const Material kGreyMaterial{{0.35f, 0.35f, 0.35f}, {0.4f, 0.4f, 0.4f}, {0.77f, 0.77f, 0.7f}, 6.0f};

void applyMaterial(Shader* shader, const Material& material) {
    const GLuint program = shader->programHandle;
    const glm::vec3& a = material.ambient;
    const glm::vec3& d = material.diffuse;
    const glm::vec3& s = material.specular;
    glUniform3f(glGetUniformLocation(program, "material.ambient"), a.x, a.y, a.z);
    glUniform3f(glGetUniformLocation(program, "material.diffuse"), d.x, d.y, d.z);
    glUniform3f(glGetUniformLocation(program, "material.specular"), s.x, s.y, s.z);
    glUniform1f(glGetUniformLocation(program, "material.shininess"), material.shininess);
}
