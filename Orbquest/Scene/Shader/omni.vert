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
    // Slabs and puddles are scaled unevenly, so normals need the inverse transpose. The
    // cofactor matrix is that times the determinant, which is positive for every placement
    // and only scales the normal (normalised per fragment), and it costs no per-vertex inverse.
    mat3 m = mat3(model);
    worldNormal = mat3(cross(m[1], m[2]), cross(m[2], m[0]), cross(m[0], m[1])) * normal;
    textureCoordinate = uv;
    gl_Position = view_proj * world;
}
