#include "Mesh.h"

#include <algorithm>
#include <cmath>

#include "base/MathConstants.h"

namespace assetgen {

namespace {

void addTriangle(Mesh& mesh, uint32_t a, uint32_t b, uint32_t c) {
    mesh.indices.push_back(a);
    mesh.indices.push_back(b);
    mesh.indices.push_back(c);
}

}  // namespace

Mesh buildCube() {
    // The level places its cubes by a corner face: z runs from 0 to 2, x and y from -1 to 1.
    const glm::dvec3 kCubeOffset(0, 0, 1);
    struct Face {
        glm::dvec3 normal, tangent, bitangent;  // tangent x bitangent = normal
    };
    const Face faces[] = {
        {{1, 0, 0}, {0, 0, -1}, {0, 1, 0}}, {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
        {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}}, {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
        {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},  {{0, 0, -1}, {-1, 0, 0}, {0, 1, 0}},
    };
    Mesh mesh;
    for (const Face& f : faces) {
        uint32_t base = static_cast<uint32_t>(mesh.vertices.size());
        const glm::dvec2 corners[] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        for (glm::dvec2 uv : corners) {
            glm::dvec3 p = f.normal + (uv.x * 2 - 1) * f.tangent + (uv.y * 2 - 1) * f.bitangent;
            p += kCubeOffset;
            mesh.vertices.push_back({p, f.normal, uv});
        }
        addTriangle(mesh, base, base + 1, base + 2);
        addTriangle(mesh, base, base + 2, base + 3);
    }
    return mesh;
}

namespace {

glm::dvec3 direction(double latitude, double longitude) {
    return glm::dvec3(std::cos(latitude) * std::sin(longitude), std::sin(latitude),
                      std::cos(latitude) * std::cos(longitude));
}

// A corner on each pole and two rings of five at latitude +-atan(1/2), the lower ring turned
// half a step: 0 is the north pole, 1..5 the upper ring, 6..10 the lower one, 11 the south pole.
std::vector<glm::dvec3> icosahedronCorners() {
    const double ring = std::atan(0.5);
    std::vector<glm::dvec3> corners{{0, 1, 0}};
    for (int i = 0; i < 5; ++i) {
        corners.push_back(direction(ring, 2 * kPi * i / 5));
    }
    for (int i = 0; i < 5; ++i) {
        corners.push_back(direction(-ring, 2 * kPi * (i + 0.5) / 5));
    }
    corners.push_back({0, -1, 0});
    return corners;
}

// The 20 faces as indices into icosahedronCorners(): for each of the five steps around, one
// at the north pole, two in the belt between the rings and one at the south pole.
std::vector<glm::uvec3> icosahedronFaces() {
    std::vector<glm::uvec3> faces;
    for (uint32_t i = 0; i < 5; ++i) {
        const uint32_t upper = 1 + i, nextUpper = 1 + (i + 1) % 5;
        const uint32_t lower = 6 + i, nextLower = 6 + (i + 1) % 5;
        faces.push_back({0, upper, nextUpper});
        faces.push_back({upper, lower, nextUpper});
        faces.push_back({nextUpper, lower, nextLower});
        faces.push_back({11, nextLower, lower});
    }
    return faces;
}

glm::dvec2 equirectangularUv(glm::dvec3 p) {
    return {0.5 + std::atan2(p.x, p.z) / (2 * kPi),
            0.5 + std::asin(std::clamp(p.y, -1.0, 1.0)) / kPi};
}

bool isPole(glm::dvec3 p) {
    return std::abs(p.y) > 1 - 1e-9;
}

// A triangle across the seam at -z has corners near u = 1 and near u = 0: those near 0
// continue past u = 1 (textures repeat). A pole's u says nothing, so poles take no part.
void unwrapSeam(glm::dvec2 uv[3], const bool pole[3]) {
    double low = 2, high = -1;
    for (int k = 0; k < 3; ++k) {
        if (!pole[k]) {
            low = std::min(low, uv[k].x);
            high = std::max(high, uv[k].x);
        }
    }
    for (int k = 0; k < 3; ++k) {
        if (!pole[k] && high - low > 0.5 && uv[k].x < 0.5) {
            uv[k].x += 1;
        }
    }
}

// A pole corner takes the u of the middle of its triangle's other corners.
void centrePoles(glm::dvec2 uv[3], const bool pole[3]) {
    double uSum = 0;
    int uCount = 0;
    for (int k = 0; k < 3; ++k) {
        if (!pole[k]) {
            uSum += uv[k].x;
            ++uCount;
        }
    }
    for (int k = 0; k < 3; ++k) {
        if (pole[k]) {
            uv[k].x = uSum / uCount;
        }
    }
}

// Pushes a, b and c out onto the sphere. Every triangle gets its own three vertices, so a
// triangle across the seam at -z can carry u beyond 1 and a pole corner can take the u of the
// middle of its triangle.
void addSphereTriangle(Mesh& mesh, glm::dvec3 a, glm::dvec3 b, glm::dvec3 c) {
    glm::dvec3 p[3] = {glm::normalize(a), glm::normalize(b), glm::normalize(c)};
    if (glm::dot(glm::cross(p[1] - p[0], p[2] - p[0]), p[0] + p[1] + p[2]) < 0) {
        std::swap(p[1], p[2]);  // counter-clockwise seen from outside
    }
    glm::dvec2 uv[3];
    bool pole[3];
    for (int k = 0; k < 3; ++k) {
        uv[k] = equirectangularUv(p[k]);
        pole[k] = isPole(p[k]);
    }
    unwrapSeam(uv, pole);
    centrePoles(uv, pole);
    const uint32_t base = static_cast<uint32_t>(mesh.vertices.size());
    for (int k = 0; k < 3; ++k) {
        mesh.vertices.push_back({p[k], p[k], uv[k]});
    }
    addTriangle(mesh, base, base + 1, base + 2);
}

// Cuts the flat triangle a, b, c into frequency^2 and adds them pushed out onto the sphere.
void addSubdividedFace(Mesh& mesh, glm::dvec3 a, glm::dvec3 b, glm::dvec3 c, int frequency) {
    // Point (i, j) of the face's grid: i steps from a towards b, j from a towards c.
    auto at = [&](int i, int j) {
        return a + (b - a) * (static_cast<double>(i) / frequency) +
               (c - a) * (static_cast<double>(j) / frequency);
    };
    for (int i = 0; i < frequency; ++i) {
        for (int j = 0; i + j < frequency; ++j) {
            addSphereTriangle(mesh, at(i, j), at(i + 1, j), at(i, j + 1));
            if (i + j + 1 < frequency) {
                addSphereTriangle(mesh, at(i + 1, j), at(i + 1, j + 1), at(i, j + 1));
            }
        }
    }
}

}  // namespace

// Each of the icosahedron's 20 faces is cut into frequency^2 triangles whose corners are
// pushed out onto the sphere. Unlike rings of latitude this spends no triangles on slivers at
// the poles: every triangle spans about the same angle.
Mesh buildSphere(int frequency) {
    const std::vector<glm::dvec3> corners = icosahedronCorners();
    Mesh mesh;
    for (const glm::uvec3& face : icosahedronFaces()) {
        addSubdividedFace(mesh, corners[face.x], corners[face.y], corners[face.z], frequency);
    }
    return mesh;
}

glm::dvec3 ellipsoidProfile(double s, double sideRadius, double upRadius) {
    double angle = kPi * s;
    double r = std::sin(angle);
    return {(1 - std::cos(angle)) / 2, sideRadius * r, upRadius * r};
}

namespace {

using Deform = std::function<glm::dvec3(glm::dvec3)>;

// Vertex 0 is the start tip, then rings - 1 rings of segments vertices, then the end tip;
// normals are left zero.
void addRevolvedVertices(Mesh& mesh, const Frame& frame, double length, const Profile& profile,
                         int segments, int rings, glm::dvec2 uv, const Deform& deform) {
    auto place = [&](double s, double angle) {
        glm::dvec3 shape = profile(s);
        glm::dvec3 p = frame.origin + frame.axis * (shape.x * length) +
                       frame.side * (shape.y * std::cos(angle)) +
                       frame.up * (shape.z * std::sin(angle));
        return deform ? deform(p) : p;
    };
    mesh.vertices.push_back({place(0.0, 0.0), {}, uv});
    for (int j = 1; j < rings; ++j) {
        double s = static_cast<double>(j) / rings;
        for (int i = 0; i < segments; ++i) {
            mesh.vertices.push_back({place(s, 2 * kPi * i / segments), {}, uv});
        }
    }
    mesh.vertices.push_back({place(1.0, 0.0), {}, uv});
}

// A fan around each tip and two triangles per quad between neighbouring rings, over the
// vertices addRevolvedVertices has just added from base on.
void addRevolvedTriangles(Mesh& mesh, uint32_t base, int segments, int rings) {
    const uint32_t last = static_cast<uint32_t>(mesh.vertices.size()) - 1;
    auto at = [&](int i, int j) {
        return base + 1 + static_cast<uint32_t>(j - 1) * segments + (i % segments);
    };
    for (int i = 0; i < segments; ++i) {
        addTriangle(mesh, base, at(i + 1, 1), at(i, 1));
        addTriangle(mesh, at(i, rings - 1), at(i + 1, rings - 1), last);
        for (int j = 1; j < rings - 1; ++j) {
            addTriangle(mesh, at(i, j), at(i + 1, j), at(i + 1, j + 1));
            addTriangle(mesh, at(i, j), at(i + 1, j + 1), at(i, j + 1));
        }
    }
}

// Whether the triangles from firstIndex on face out depends on the frame's handedness; a
// negative enclosed volume says they face in, and they are turned.
void faceOutwards(Mesh& mesh, size_t firstIndex) {
    double volume = 0;
    for (size_t k = firstIndex; k < mesh.indices.size(); k += 3) {
        const glm::dvec3& a = mesh.vertices[mesh.indices[k]].position;
        const glm::dvec3& b = mesh.vertices[mesh.indices[k + 1]].position;
        const glm::dvec3& c = mesh.vertices[mesh.indices[k + 2]].position;
        volume += glm::dot(a, glm::cross(b, c));
    }
    if (volume < 0) {
        for (size_t k = firstIndex; k < mesh.indices.size(); k += 3) {
            std::swap(mesh.indices[k + 1], mesh.indices[k + 2]);
        }
    }
}

// Area-weighted face normals of the triangles from firstIndex on, summed at the shared
// vertices from base on.
void addSmoothNormals(Mesh& mesh, uint32_t base, size_t firstIndex) {
    for (size_t k = firstIndex; k < mesh.indices.size(); k += 3) {
        Vertex& a = mesh.vertices[mesh.indices[k]];
        Vertex& b = mesh.vertices[mesh.indices[k + 1]];
        Vertex& c = mesh.vertices[mesh.indices[k + 2]];
        glm::dvec3 n = glm::cross(b.position - a.position, c.position - a.position);
        a.normal += n;
        b.normal += n;
        c.normal += n;
    }
    for (size_t k = base; k < mesh.vertices.size(); ++k) {
        mesh.vertices[k].normal = glm::normalize(mesh.vertices[k].normal);
    }
}

}  // namespace

void addRevolvedPart(Mesh& mesh, const Frame& frame, double length, const Profile& profile,
                     int segments, int rings, glm::dvec2 uv, const Deform& deform) {
    const uint32_t base = static_cast<uint32_t>(mesh.vertices.size());
    const size_t firstIndex = mesh.indices.size();
    addRevolvedVertices(mesh, frame, length, profile, segments, rings, uv, deform);
    addRevolvedTriangles(mesh, base, segments, rings);
    faceOutwards(mesh, firstIndex);
    addSmoothNormals(mesh, base, firstIndex);
}

}  // namespace assetgen
