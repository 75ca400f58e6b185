#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <glm/glm.hpp>

namespace assetgen {

struct Vertex {
    glm::dvec3 position;
    glm::dvec3 normal;
    glm::dvec2 uv;
};

// An indexed triangle list; every triangle is counter-clockwise seen from outside.
struct Mesh {
    std::vector<Vertex> vertices;
    std::vector<uint32_t> indices;

    size_t triangleCount() const { return indices.size() / 3; }
};

// The cube with x and y from -1 to +1 and z from 0 to +2 (the level stands blocks and slabs
// on the face at z = 0), four vertices per face, uvs 0..1 across each face.
Mesh buildCube();

// Unit sphere of 20 * frequency^2 triangles, all about the same size; u = 0.5 + atan2(x, z) /
// 2pi (beyond 1 on triangles across the seam at -z), v = 0 at y = -1 and 1 at y = +1.
Mesh buildSphere(int frequency);

// Where a surface of revolution sits: it runs from origin along axis; side and up span
// its cross-section. All three directions must be unit length and perpendicular.
struct Frame {
    glm::dvec3 origin;
    glm::dvec3 axis;
    glm::dvec3 side;
    glm::dvec3 up;
};

// For s in [0, 1] from one end to the other: x = distance along the axis (in units of
// the part's length), y = radius towards side, z = radius towards up. Radii must be zero
// at s = 0 and s = 1 so the part is closed.
using Profile = std::function<glm::dvec3(double s)>;

// Appends a closed part whose every vertex has the same uv (one colour of a palette).
// deform, if set, moves each position before the normals are computed.
void addRevolvedPart(Mesh& mesh, const Frame& frame, double length, const Profile& profile,
                     int segments, int rings, glm::dvec2 uv,
                     const std::function<glm::dvec3(glm::dvec3)>& deform = {});

// An ellipsoid profile: s maps to the polar angle, so rings bunch near the tips.
glm::dvec3 ellipsoidProfile(double s, double sideRadius, double upRadius);

}  // namespace assetgen
