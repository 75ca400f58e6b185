#include "Textures.h"

#include <algorithm>
#include <cmath>

#include "Palette.h"
#include "Random.h"
#include "base/MathConstants.h"

namespace assetgen {

namespace {

constexpr int kSamples = 5;  // per pixel and axis

using glm::dvec2;
using glm::dvec3;

double smoothstep(double edge0, double edge1, double x) {
    double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// Sums octaves of periodicNoise; result in about [0, 1].
double fractalNoise(dvec2 p, int period, int octaves, uint32_t seed) {
    double sum = 0, weight = 0, amplitude = 1;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * periodicNoise(p, period, seed + static_cast<uint32_t>(i));
        weight += amplitude;
        amplitude *= 0.5;
        p *= 2.0;
        period *= 2;
    }
    return sum / weight;
}

const dvec3 kInk(0.13, 0.07, 0.04);
const dvec3 kHighlight(1.0, 1.0, 1.0);

// Face features in the plane of the face, the unit disc being the ball's outline seen from
// the front: x to the viewer's right, y up.

Rgba eyes(Rgba c, dvec2 p, double x, double y, dvec2 radii) {
    for (double side : {-1.0, 1.0}) {
        dvec2 centre(side * x, y);
        c = paint(c, kInk, inside(ellipseDistance(p, centre, radii)));
        dvec2 glint = centre + dvec2(-0.35 * radii.x, 0.45 * radii.y);
        c = paint(c, kHighlight, inside(circleDistance(p, glint, 0.32 * radii.x)));
    }
    return c;
}

Rgba cheeks(Rgba c, dvec2 p, dvec3 colour) {
    for (double side : {-1.0, 1.0}) {
        double d = glm::length(p - dvec2(side * 0.5, 0.03));
        c = paint(c, colour, 0.4 * (1.0 - smoothstep(0.03, 0.13, d)));
    }
    return c;
}

Rgba smilingFace(Rgba c, dvec2 p) {
    c = cheeks(c, p, {1.0, 0.5, 0.25});
    c = eyes(c, p, 0.25, 0.2, {0.085, 0.15});
    c = paint(c, kInk, inside(arcDistance(p, {0, 0.12}, 0.46, kPi * 1.18, kPi * 1.82, 0.045)));
    return c;
}

Rgba grinningFace(Rgba c, dvec2 p) {
    c = eyes(c, p, 0.24, 0.24, {0.08, 0.14});
    // A half-disc mouth, flat edge on top, with teeth and a tongue inside it.
    const double lipLine = -0.06;
    double mouth = std::max(circleDistance(p, {0, lipLine}, 0.42), p.y - lipLine);
    c = paint(c, kInk, inside(mouth - 0.035));
    c = paint(c, {0.42, 0.06, 0.08}, inside(mouth));
    c = paint(c, {0.98, 0.98, 0.95}, inside(std::max(mouth, lipLine - 0.06 - p.y)));
    c = paint(c, {0.96, 0.45, 0.5},
              inside(std::max(mouth, circleDistance(p, {0, lipLine - 0.42}, 0.2))));
    return c;
}

// A drop of radius r at centre with its point at height above the centre.
double inTear(dvec2 p, dvec2 centre, double r, double height) {
    dvec2 d = p - centre;
    if (glm::length(d) < r) {
        return 1.0;
    }
    double t = d.y / height;
    return t > 0 && t < 1 && std::abs(d.x) < r * std::pow(1 - t, 1.4) ? 1.0 : 0.0;
}

Rgba cryingFace(Rgba c, dvec2 p) {
    for (double side : {-1.0, 1.0}) {
        // Brows raised at the inner end.
        c = paint(c, kInk,
                  inside(segmentDistance(p, {side * 0.13, 0.45}, {side * 0.38, 0.36}, 0.03)));
    }
    c = eyes(c, p, 0.25, 0.18, {0.075, 0.12});
    const dvec3 tearBlue(0.55, 0.86, 1.0);
    for (double side : {-1.0, 1.0}) {
        // A trickle from under the eye down to a drop on the cheek.
        c = paint(c, tearBlue,
                  inside(segmentDistance(p, {side * 0.27, 0.05}, {side * 0.33, -0.12}, 0.025)));
        dvec2 drop(side * 0.34, -0.2);
        c = paint(c, tearBlue, inTear(p, drop, 0.07, 0.16));
        c = paint(c, kHighlight, inside(circleDistance(p, drop + dvec2(-0.025, 0.02), 0.02)));
    }
    c = paint(c, kInk, inside(arcDistance(p, {0, -0.58}, 0.3, kPi * 0.2, kPi * 0.8, 0.045)));
    return c;
}

// The smiling yellow disc with a brown rim over 'c', the unit disc being its outline.
Rgba smileyDisc(Rgba c, dvec2 p) {
    double r = glm::length(p);
    // Lit from the upper left, darker towards the rim, so the disc reads as round.
    double light =
        1.0 - 0.18 * r * r + 0.12 * std::max(0.0, 1.0 - glm::length(p - dvec2(-0.35, 0.4)) / 0.7);
    dvec3 yellow = glm::min(dvec3(1.0, 0.82, 0.1) * light, dvec3(1.0));
    c = paint(c, {0.55, 0.3, 0.05}, inside(r - 1.0));
    c = paint(c, yellow, inside(r - 0.965));
    return smilingFace(c, p);
}

// Eight rows of planks, two planks per row, each row's joints at its own offset. All
// patterns repeat across the image's edges so the texture tiles.
constexpr int kWoodSize = 512;
constexpr int kRows = 8;
constexpr int kPlanksPerRow = 2;

struct Plank {
    double tint, grainPhase, grainScale;
    uint32_t seed;
};

struct Floor {
    double rowOffset[kRows];
    Plank planks[kRows * kPlanksPerRow];
};

Floor layFloor() {
    Pcg32 random(0x600d);
    Floor floor;
    for (double& o : floor.rowOffset) {
        o = random.range(0.0, 1.0 / kPlanksPerRow);
    }
    for (Plank& plank : floor.planks) {
        plank = {random.range(0.86, 1.08), random.range(0.0, 1.0), random.range(2.5, 4.5),
                 random.next()};
    }
    return floor;
}

// The plank under uv; local is where uv falls on it, 0..1 along and across.
const Plank& plankAt(const Floor& floor, dvec2 uv, dvec2& local) {
    double rowCoord = uv.y * kRows;
    int row = std::min(static_cast<int>(rowCoord), kRows - 1);
    local.y = rowCoord - row;
    double along = (uv.x - floor.rowOffset[row]) * kPlanksPerRow;
    double index = std::floor(along);
    local.x = along - index;
    int column = (static_cast<int>(index) % kPlanksPerRow + kPlanksPerRow) % kPlanksPerRow;
    return floor.planks[row * kPlanksPerRow + column];
}

// Growth rings seen from the side: bands along the plank bent by noise, with fine fibre
// streaks on top.
dvec3 grain(const Plank& plank, dvec2 local) {
    const double lx = local.x, ly = local.y;
    dvec2 q(lx * 2.5, ly * 1.5);
    double warp = fractalNoise(q, 1024, 4, plank.seed);
    double rings = ly * plank.grainScale + 3.0 * warp + plank.grainPhase;
    double band = 0.5 + 0.5 * std::cos(2 * kPi * rings);
    band = std::pow(band, 2.0);
    double fibre = fractalNoise({lx * 10.0, ly * 60.0}, 1024, 3, plank.seed ^ 0x5eedu);
    dvec3 light(0.80, 0.56, 0.32);
    dvec3 dark(0.50, 0.30, 0.15);
    dvec3 wood = glm::mix(light, dark, 0.6 * band + 0.5 * (fibre - 0.5));
    return wood * plank.tint;
}

// Gaps between planks, in pixels, with a soft darkening along each edge.
Rgba withGaps(dvec3 wood, dvec2 local) {
    const double lx = local.x, ly = local.y;
    double edgeY = std::min(ly, 1 - ly) * kWoodSize / kRows;
    double edgeX = std::min(lx, 1 - lx) * kWoodSize / kPlanksPerRow;
    double edge = std::min(edgeX, edgeY);
    wood *= 0.72 + 0.28 * smoothstep(0.0, 5.0, edge);
    Rgba c{glm::clamp(wood, 0.0, 1.0), 1.0};
    return paint(c, {0.16, 0.09, 0.04}, inside(edge - 1.3));
}

}  // namespace

Image makeColourBands() {
    Image image(256, 256);
    image.render(1, [](dvec2 uv) {
        int band = std::min(static_cast<int>(uv.x * kBandCount), kBandCount - 1);
        return Rgba{kBandColours[band], 1.0};
    });
    return image;
}

Image makeBall(BallFace face) {
    dvec3 fill;
    Rgba (*features)(Rgba, dvec2) = nullptr;
    switch (face) {
        case BallFace::SmilingYellow:
            fill = {1.0, 0.82, 0.1};
            features = smilingFace;
            break;
        case BallFace::CryingRed:
            fill = {0.86, 0.14, 0.12};
            features = cryingFace;
            break;
        case BallFace::SmilingGreen:
            fill = {0.3, 0.76, 0.24};
            features = grinningFace;
            break;
    }
    Image image(1024, 512);
    image.render(kSamples, [&](dvec2 uv) {
        // The point on the unit sphere the game's sphere maps this uv to.
        double longitude = 2 * kPi * (uv.x - 0.5);
        double latitude = kPi * (uv.y - 0.5);
        dvec3 d(std::cos(latitude) * std::sin(longitude), std::sin(latitude),
                std::cos(latitude) * std::cos(longitude));
        Rgba c{fill, 1.0};
        const double kFaceScale = 1.3;  // the features span about 0.6 of the ball's radius
        // Seen from +z the front half projects straight onto the x-y plane.
        return d.z > 0 ? features(c, dvec2(d.x, d.y) / kFaceScale) : c;
    });
    return image;
}

Image makeSmileyPanel() {
    Image image(512, 512);
    image.render(kSamples, [](dvec2 uv) {
        const double faceRadius = 0.94;
        dvec2 p = (uv * 2.0 - 1.0) / faceRadius;
        Rgba c{glm::mix(dvec3(0.55, 0.78, 0.96), dvec3(0.8, 0.92, 1.0), uv.y), 1.0};
        return smileyDisc(c, p);
    });
    return image;
}

Image makeIcon() {
    Image image(kIconSize, kIconSize);
    image.render(kSamples, [](dvec2 uv) {
        const double faceRadius = 0.96;  // a thin transparent margin around the disc
        return smileyDisc(Rgba{dvec3(0.0), 0.0}, (uv * 2.0 - 1.0) / faceRadius);
    });
    return image;
}

Image makeWood() {
    const Floor floor = layFloor();
    Image image(kWoodSize, kWoodSize);
    image.render(4, [&](dvec2 uv) {
        dvec2 local;
        const Plank& plank = plankAt(floor, uv, local);
        return withGaps(grain(plank, local), local);
    });
    return image;
}

Image makeBubbles() {
    constexpr int kBubbles = 24;
    struct Bubble {
        dvec2 centre;
        double radius;
    };
    Pcg32 random(0xb0bb1e);
    Bubble bubbles[kBubbles];
    for (Bubble& b : bubbles) {
        b.centre = {random.uniform(), random.uniform()};
        b.radius = 0.018 + 0.07 * std::pow(random.uniform(), 2.0);
    }

    Image image(256, 256);
    image.render(kSamples, [&](dvec2 uv) {
        // Water: deep blue to cyan, with bright caustic ridges; all of it tiles.
        double depth = fractalNoise(uv * 4.0, 4, 3, 11);
        double ridge = 1.0 - std::abs(2.0 * fractalNoise(uv * 6.0, 6, 2, 23) - 1.0);
        dvec3 water = glm::mix(dvec3(0.04, 0.3, 0.72), dvec3(0.12, 0.68, 0.92), depth);
        water = glm::mix(water, dvec3(0.65, 0.95, 1.0), 0.55 * std::pow(ridge, 8.0));
        Rgba c{water, 0.68};

        for (const Bubble& b : bubbles) {
            dvec2 d = uv - b.centre;
            d -= glm::round(d);  // nearest copy, so bubbles wrap across the edges
            double r = glm::length(d);
            if (r > b.radius + 0.01) {
                continue;
            }
            double ring = std::abs(r - b.radius * 0.9) - b.radius * 0.1 - 0.003;
            double body = inside(r - b.radius);
            c.rgb = glm::mix(c.rgb, dvec3(0.55, 0.88, 1.0), 0.25 * body);
            c.rgb = glm::mix(c.rgb, dvec3(0.85, 0.97, 1.0), inside(ring));
            c.a = std::max(c.a, 0.8 * inside(ring));
            dvec2 glint(-0.4 * b.radius, 0.4 * b.radius);
            double shine = inside(circleDistance(d, glint, 0.22 * b.radius));
            c.rgb = glm::mix(c.rgb, kHighlight, shine);
            c.a = std::max(c.a, 0.8 * shine);
        }
        return c;
    });
    return image;
}

}  // namespace assetgen
