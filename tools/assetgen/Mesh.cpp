#include "Mesh.h"

#include <cmath>

namespace assetgen {

namespace {

constexpr double kPi = 3.14159265358979323846;

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

Mesh buildSphere(int segments, int rings) {
    Mesh mesh;
    auto direction = [](double u, double v) {
        double longitude = 2 * kPi * (u - 0.5);
        double latitude = kPi * (v - 0.5);
        return glm::dvec3(std::cos(latitude) * std::sin(longitude), std::sin(latitude),
                          std::cos(latitude) * std::cos(longitude));
    };
    // Each pole triangle gets its own pole vertex, with u at the middle of its segment,
    // so no triangle is degenerate in position or in uv.
    auto addPole = [&](double v) {
        double y = v < 0.5 ? -1.0 : 1.0;
        for (int i = 0; i < segments; ++i) {
            double u = (i + 0.5) / segments;
            mesh.vertices.push_back({{0, y, 0}, {0, y, 0}, {u, v}});
        }
    };
    addPole(0.0);
    // Ring j = 1..rings-1; segments + 1 columns because the seam needs both u = 0 and u = 1.
    const uint32_t ringStart = static_cast<uint32_t>(mesh.vertices.size());
    const uint32_t columns = static_cast<uint32_t>(segments + 1);
    for (int j = 1; j < rings; ++j) {
        double v = static_cast<double>(j) / rings;
        for (int i = 0; i <= segments; ++i) {
            double u = static_cast<double>(i) / segments;
            glm::dvec3 p = direction(u, v);
            if (i == segments) {
                p = direction(0.0, v);  // the seam must close exactly
            }
            mesh.vertices.push_back({p, p, {u, v}});
        }
    }
    const uint32_t northStart = static_cast<uint32_t>(mesh.vertices.size());
    addPole(1.0);

    auto at = [&](int i, int j) { return ringStart + static_cast<uint32_t>(j - 1) * columns + i; };
    // u grows towards +x from +z and v grows upwards, so (u, v) order is counter-clockwise
    // seen from outside.
    for (int i = 0; i < segments; ++i) {
        addTriangle(mesh, static_cast<uint32_t>(i), at(i + 1, 1), at(i, 1));
        addTriangle(mesh, at(i, rings - 1), at(i + 1, rings - 1), northStart + i);
        for (int j = 1; j < rings - 1; ++j) {
            addTriangle(mesh, at(i, j), at(i + 1, j), at(i + 1, j + 1));
            addTriangle(mesh, at(i, j), at(i + 1, j + 1), at(i, j + 1));
        }
    }
    return mesh;
}

glm::dvec3 ellipsoidProfile(double s, double sideRadius, double upRadius) {
    double angle = kPi * s;
    double r = std::sin(angle);
    return {(1 - std::cos(angle)) / 2, sideRadius * r, upRadius * r};
}

void addRevolvedPart(Mesh& mesh, const Frame& frame, double length, const Profile& profile,
                     int segments, int rings, glm::dvec2 uv,
                     const std::function<glm::dvec3(glm::dvec3)>& deform) {
    const uint32_t base = static_cast<uint32_t>(mesh.vertices.size());
    const size_t firstIndex = mesh.indices.size();
    auto place = [&](double s, double angle) {
        glm::dvec3 shape = profile(s);
        glm::dvec3 p = frame.origin + frame.axis * (shape.x * length) +
                       frame.side * (shape.y * std::cos(angle)) +
                       frame.up * (shape.z * std::sin(angle));
        return deform ? deform(p) : p;
    };
    // Vertex 0 is the start tip, then rings - 1 rings of segments vertices, then the end tip.
    mesh.vertices.push_back({place(0.0, 0.0), {}, uv});
    for (int j = 1; j < rings; ++j) {
        double s = static_cast<double>(j) / rings;
        for (int i = 0; i < segments; ++i) {
            mesh.vertices.push_back({place(s, 2 * kPi * i / segments), {}, uv});
        }
    }
    mesh.vertices.push_back({place(1.0, 0.0), {}, uv});
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

    // Whether that order faces out depends on the frame's handedness; a negative enclosed
    // volume says it faces in.
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

    // Smooth normals: area-weighted face normals summed at the shared vertices.
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

}  // namespace assetgen
