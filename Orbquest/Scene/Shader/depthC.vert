#version 430 core

// Positions go to world space here; the geometry stage projects them once per cube face.
layout(location = 0) in vec3 position;

uniform mat4 model;

void main()
{
    gl_Position = model * vec4(position, 1.0);
}
