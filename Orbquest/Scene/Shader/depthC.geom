#version 430 core

// Fans every triangle out to the six faces of the shadow cube map (layer i = face i) in one
// draw. Faces that cannot see a triangle are skipped: on a software rasteriser that saves
// most of the pass, and what they would have rendered lies outside their view anyway.
layout(triangles) in;
layout(triangle_strip, max_vertices = 18) out;

uniform mat4 shadowMatrices[6];
uniform vec3 lightPos;
uniform float far_plane;

bool outsideOnePlane(vec4 a, vec4 b, vec4 c)
{
    return (a.x > a.w && b.x > b.w && c.x > c.w) || (a.x < -a.w && b.x < -b.w && c.x < -c.w)
        || (a.y > a.w && b.y > b.w && c.y > c.w) || (a.y < -a.w && b.y < -b.w && c.y < -c.w)
        || (a.z > a.w && b.z > b.w && c.z > c.w) || (a.z < -a.w && b.z < -b.w && c.z < -c.w);
}

void main()
{
    vec3 p0 = gl_in[0].gl_Position.xyz;
    vec3 p1 = gl_in[1].gl_Position.xyz;
    vec3 p2 = gl_in[2].gl_Position.xyz;

    // A triangle turned away from the light would be culled as a back face after this stage
    // (the face matrices do not mirror), so it is dropped before the six projections.
    if (dot(cross(p1 - p0, p2 - p0), p0 - lightPos) >= 0.0)
        return;

    // A triangle wholly beyond the shadow range casts nothing the scene shader looks up.
    vec3 centre = (p0 + p1 + p2) / 3.0;
    float radius = sqrt(max(max(dot(p0 - centre, p0 - centre), dot(p1 - centre, p1 - centre)),
                            dot(p2 - centre, p2 - centre)));
    if (length(centre - lightPos) - radius > far_plane)
        return;

    for (int face = 0; face < 6; ++face)
    {
        vec4 c0 = shadowMatrices[face] * gl_in[0].gl_Position;
        vec4 c1 = shadowMatrices[face] * gl_in[1].gl_Position;
        vec4 c2 = shadowMatrices[face] * gl_in[2].gl_Position;
        if (outsideOnePlane(c0, c1, c2))
            continue;
        gl_Layer = face;
        gl_Position = c0;
        EmitVertex();
        gl_Layer = face;
        gl_Position = c1;
        EmitVertex();
        gl_Layer = face;
        gl_Position = c2;
        EmitVertex();
        EndPrimitive();
    }
}
