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

}  // namespace

Mesh buildDuck() {
    Mesh mesh;
    const glm::dvec2 yellow = bandUv(Band::Yellow);

    // Built in rough units first (body 200 long around x = 0, centre 75 up), then moved and
    // scaled so the bottom is at y = 0 and the height is exactly kHeight.

    // Body: an egg fuller at the chest, belly flattened so it sits, rear swept up.
    const double bodyCentreY = 75;
    addRevolvedPart(
        mesh, {{-100, bodyCentreY, 0}, {1, 0, 0}, {0, 0, 1}, {0, 1, 0}}, 200,
        [](double s) {
            glm::dvec3 e = ellipsoidProfile(s, 72, 58);
            double chest = 1.0 + 0.12 * (e.x - 0.5);
            return glm::dvec3(e.x, e.y * chest, e.z * chest);
        },
        14, 8, yellow,
        [bodyCentreY](glm::dvec3 p) {
            double depth = bodyCentreY - p.y;
            if (depth > 0) {
                p.y = bodyCentreY - 42 * std::tanh(depth / 42);
            }
            double rear = smoothstep(-20, -100, p.x);
            p.y += 30 * rear * rear;
            return p;
        });

    // Tail: a flattened point rising from the rear.
    addRevolvedPart(
        mesh, frameAlong({-76, 102, 0}, {-0.72, 0.7, 0}, {0.7, 0.72, 0}), 62,
        [](double s) {
            double r = 38 * std::sin(std::min(1.0, s / 0.25) * kPi / 2) * std::pow(1 - s, 0.75);
            return glm::dvec3(s, r, 0.5 * r);
        },
        6, 4, yellow);

    // Wings: flat ovals on the flanks, pointed at the back, tilted down towards the front.
    for (double side : {-1.0, 1.0}) {
        addRevolvedPart(
            mesh, frameAlong({-74, 104, side * 47}, {1, -0.2, side * 0.25}, {0, 0, side}), 96,
            [](double s) {
                glm::dvec3 e = ellipsoidProfile(s, 1, 1);
                return glm::dvec3(e.x, 28 * e.y * std::sqrt(0.3 + 0.7 * e.x), 13 * e.z);
            },
            6, 4, yellow);
    }

    // Neck, flaring where it meets the body.
    addRevolvedPart(
        mesh, {{48, 95, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 0}}, 80,
        [](double s) {
            double r = 40 * std::pow(std::sin(kPi * s), 0.3) * (1.2 - 0.3 * s);
            return glm::dvec3(s, r, r);
        },
        8, 3, yellow);

    // Head: an ellipsoid with its tips front and back, the front one hidden by the beak.
    const glm::dvec3 headCentre(55, 165, 0);
    const glm::dvec3 headRadii(50, 46, 44);
    addRevolvedPart(
        mesh, {headCentre - glm::dvec3(headRadii.x, 0, 0), {1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
        2 * headRadii.x, [&](double s) { return ellipsoidProfile(s, headRadii.z, headRadii.y); },
        12, 7, yellow);

    // Beak: a flat bill, wider towards its rounded tip; its back half is inside the head.
    addRevolvedPart(
        mesh, frameAlong({78, 156, 0}, {1, -0.1, 0}, {0, 1, 0}), 68,
        [](double s) {
            glm::dvec3 e = ellipsoidProfile(s, 1, 1);
            double width = 28 * std::pow(e.y, 0.8) * (0.75 + 0.4 * e.x);
            double height = 13 * std::pow(e.z, 0.9) * (1.1 - 0.4 * e.x);
            return glm::dvec3(e.x, width, height);
        },
        8, 4, bandUv(Band::Orange));

    // Eyes: a white ball set into each side of the head with a dark pupil poking out of it.
    for (double side : {-1.0, 1.0}) {
        glm::dvec3 d = glm::normalize(glm::dvec3(0.6, 0.4, side * 0.7));
        glm::dvec3 onHead = headCentre + headRadii * d;
        glm::dvec3 normal = glm::normalize((onHead - headCentre) / (headRadii * headRadii));
        glm::dvec3 eyeCentre = onHead - normal * 5.0;
        addBall(mesh, eyeCentre, 10.5, normal, 6, 3, bandUv(Band::White));
        glm::dvec3 look = glm::normalize(normal + glm::dvec3(0.3, 0, 0));
        addBall(mesh, eyeCentre + look * 7.0, 6.5, look, 4, 2, bandUv(Band::Dark));
    }

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
    return mesh;
}

}  // namespace assetgen
