#include "Duck.h"

#include <algorithm>
#include <cmath>

#include "Palette.h"
#include "base/MathConstants.h"

namespace assetgen {

namespace {

constexpr double kHeight = 200.0;

double smoothstep(double edge0, double edge1, double x) {
    double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// A frame whose axis is the given direction; side and up complete it with up as close to
// hint as the axis allows.
Frame frameAlong(glm::dvec3 origin, glm::dvec3 axis, glm::dvec3 hint) {
    axis = glm::normalize(axis);
    glm::dvec3 up = glm::normalize(hint - axis * glm::dot(hint, axis));
    return {origin, axis, glm::cross(up, axis), up};
}

// A sphere of radius r around centre, with its tips on the line through centre along axis.
void addBall(Mesh& mesh, glm::dvec3 centre, double r, glm::dvec3 axis, int segments, int rings,
             glm::dvec2 uv) {
    axis = glm::normalize(axis);
    glm::dvec3 hint = std::abs(axis.y) < 0.9 ? glm::dvec3(0, 1, 0) : glm::dvec3(1, 0, 0);
    Frame frame = frameAlong(centre - axis * r, axis, hint);
    addRevolvedPart(
        mesh, frame, 2 * r, [r](double s) { return ellipsoidProfile(s, r, r); }, segments, rings,
        uv);
}

// The parts are built in rough units (body 200 long around x = 0, centre 75 up) and the
// whole duck is scaled to kHeight at the end.
constexpr double kBodyCentreY = 75;
constexpr glm::dvec3 kHeadCentre(55, 165, 0);
constexpr glm::dvec3 kHeadRadii(50, 46, 44);

// The body's belly flattened so it sits, and its rear swept up.
glm::dvec3 seatAndSweepUp(glm::dvec3 p) {
    double depth = kBodyCentreY - p.y;
    if (depth > 0) {
        p.y = kBodyCentreY - 42 * std::tanh(depth / 42);
    }
    double rear = smoothstep(-20, -100, p.x);
    p.y += 30 * rear * rear;
    return p;
}

// An egg fuller at the chest.
void addBody(Mesh& mesh) {
    addRevolvedPart(
        mesh, {{-100, kBodyCentreY, 0}, {1, 0, 0}, {0, 0, 1}, {0, 1, 0}}, 200,
        [](double s) {
            glm::dvec3 e = ellipsoidProfile(s, 72, 58);
            double chest = 1.0 + 0.12 * (e.x - 0.5);
            return glm::dvec3(e.x, e.y * chest, e.z * chest);
        },
        14, 8, bandUv(Band::Yellow), seatAndSweepUp);
}

// A flattened point rising from the rear.
void addTail(Mesh& mesh) {
    addRevolvedPart(
        mesh, frameAlong({-76, 102, 0}, {-0.72, 0.7, 0}, {0.7, 0.72, 0}), 62,
        [](double s) {
            double r = 38 * std::sin(std::min(1.0, s / 0.25) * kPi / 2) * std::pow(1 - s, 0.75);
            return glm::dvec3(s, r, 0.5 * r);
        },
        6, 4, bandUv(Band::Yellow));
}

// Flat ovals on the flanks, pointed at the back, tilted down towards the front.
void addWings(Mesh& mesh) {
    for (double side : {-1.0, 1.0}) {
        addRevolvedPart(
            mesh, frameAlong({-74, 104, side * 47}, {1, -0.2, side * 0.25}, {0, 0, side}), 96,
            [](double s) {
                glm::dvec3 e = ellipsoidProfile(s, 1, 1);
                return glm::dvec3(e.x, 28 * e.y * std::sqrt(0.3 + 0.7 * e.x), 13 * e.z);
            },
            6, 4, bandUv(Band::Yellow));
    }
}

// Flaring where it meets the body.
void addNeck(Mesh& mesh) {
    addRevolvedPart(
        mesh, {{48, 95, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 0}}, 80,
        [](double s) {
            double r = 40 * std::pow(std::sin(kPi * s), 0.3) * (1.2 - 0.3 * s);
            return glm::dvec3(s, r, r);
        },
        8, 3, bandUv(Band::Yellow));
}

// An ellipsoid with its tips front and back, the front one hidden by the beak.
void addHead(Mesh& mesh) {
    addRevolvedPart(
        mesh, {kHeadCentre - glm::dvec3(kHeadRadii.x, 0, 0), {1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
        2 * kHeadRadii.x, [](double s) { return ellipsoidProfile(s, kHeadRadii.z, kHeadRadii.y); },
        12, 7, bandUv(Band::Yellow));
}

// A flat bill, wider towards its rounded tip; its back half is inside the head.
void addBeak(Mesh& mesh) {
    addRevolvedPart(
        mesh, frameAlong({78, 156, 0}, {1, -0.1, 0}, {0, 1, 0}), 68,
        [](double s) {
            glm::dvec3 e = ellipsoidProfile(s, 1, 1);
            double width = 28 * std::pow(e.y, 0.8) * (0.75 + 0.4 * e.x);
            double height = 13 * std::pow(e.z, 0.9) * (1.1 - 0.4 * e.x);
            return glm::dvec3(e.x, width, height);
        },
        8, 4, bandUv(Band::Orange));
}

// A white ball set into each side of the head with a dark pupil poking out of it.
void addEyes(Mesh& mesh) {
    for (double side : {-1.0, 1.0}) {
        glm::dvec3 d = glm::normalize(glm::dvec3(0.6, 0.4, side * 0.7));
        glm::dvec3 onHead = kHeadCentre + kHeadRadii * d;
        glm::dvec3 normal = glm::normalize((onHead - kHeadCentre) / (kHeadRadii * kHeadRadii));
        glm::dvec3 eyeCentre = onHead - normal * 5.0;
        addBall(mesh, eyeCentre, 10.5, normal, 6, 3, bandUv(Band::White));
        glm::dvec3 look = glm::normalize(normal + glm::dvec3(0.3, 0, 0));
        addBall(mesh, eyeCentre + look * 7.0, 6.5, look, 4, 2, bandUv(Band::Dark));
    }
}

// Moves the bottom to y = 0 and scales the whole mesh to exactly kHeight.
void standToHeight(Mesh& mesh) {
    double minY = mesh.vertices.front().position.y;
    double maxY = minY;
    for (const Vertex& v : mesh.vertices) {
        minY = std::min(minY, v.position.y);
        maxY = std::max(maxY, v.position.y);
    }
    const double scale = kHeight / (maxY - minY);
    for (Vertex& v : mesh.vertices) {
        v.position.y -= minY;
        v.position *= scale;
    }
}

}  // namespace

Mesh buildDuck() {
    Mesh mesh;
    addBody(mesh);
    addTail(mesh);
    addWings(mesh);
    addNeck(mesh);
    addHead(mesh);
    addBeak(mesh);
    addEyes(mesh);
    standToHeight(mesh);
    return mesh;
}

}  // namespace assetgen
