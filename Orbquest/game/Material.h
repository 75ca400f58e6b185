#pragma once

#include <glm/glm.hpp>

class Shader;

// The surface the scene program lights: the "material" uniforms.
struct Material {
    glm::vec3 ambient;
    glm::vec3 diffuse;
    glm::vec3 specular;
    float shininess;
};

// The two materials the level draws with: warm for wood, water, the player and the targets,
// grey for the ducks, their balls, the backdrop and the light marker.
extern const Material kWarmMaterial;
extern const Material kGreyMaterial;

// Writes ambient, diffuse, specular and shininess, in that order, into the shader's program.
void applyMaterial(Shader* shader, const Material& material);
