#version 430 core

layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 uv;

uniform mat4 model;
uniform mat4 view_proj;

out vec3 worldPosition;
out vec3 worldNormal;
out vec2 textureCoordinate;

void main()
{
    vec4 world = model * vec4(position, 1.0);
    worldPosition = world.xyz;
    // Slabs and puddles are scaled unevenly, so normals need the inverse transpose.
    worldNormal = transpose(inverse(mat3(model))) * normal;
    textureCoordinate = uv;
    gl_Position = view_proj * world;
}
