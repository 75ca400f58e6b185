// The committed models and images, loaded the way the game loads them, and checked against
// a fresh run of the generator.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <glm/glm.hpp>
#include <gtest/gtest.h>

#include "base/MathConstants.h"
#include "support/Image.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

const fs::path kContent = fs::path(ORBQUEST_SOURCE_DIR) / "Orbquest" / "Scene" / "Content";
const fs::path kIcon = fs::path(ORBQUEST_SOURCE_DIR) / "dist" / "orbquest.png";

const char* const kModels[] = {"cube.dae", "sphere.dae", "duck.dae"};
const char* const kImages[] = {"wood-2.png",       "electbubbles-2.png",   "smileTex.png",
                               "colour.png",       "smiling-yellow-2.png", "crying-red.png",
                               "smiling-green.png"};

glm::dvec3 vec(const aiVector3D& v) {
    return {v.x, v.y, v.z};
}

// Imports with the game's preset and keeps the importer alive as long as the scene.
class ImportedModel {
  public:
    explicit ImportedModel(const std::string& name) {
        scene_ = importer_.ReadFile((kContent / "Models" / name).string(),
                                    aiProcessPreset_TargetRealtime_Fast);
    }
    const aiScene* scene() const { return scene_; }
    const aiMesh& mesh() const { return *scene_->mMeshes[0]; }

    glm::dvec3 position(unsigned face, int corner) const {
        return vec(mesh().mVertices[mesh().mFaces[face].mIndices[corner]]);
    }
    glm::dvec2 uv(unsigned vertex) const {
        const aiVector3D& t = mesh().mTextureCoords[0][vertex];
        return {t.x, t.y};
    }

  private:
    Assimp::Importer importer_;
    const aiScene* scene_ = nullptr;
};

// A texel at texture coordinates, as the nearest-neighbour sampler would pick it.
const glm::ivec4& sample(const Image& image, glm::dvec2 uv) {
    const int x = std::clamp(static_cast<int>(uv.x * image.width), 0, image.width - 1);
    const int y = std::clamp(static_cast<int>(uv.y * image.height), 0, image.height - 1);
    return image.at(x, y);
}

Image loadPicture(const std::string& name) {
    return readImage((kContent / "Images" / name).string());
}

bool isPowerOfTwo(int n) {
    return n > 0 && (n & (n - 1)) == 0;
}

// Rough colour classes for the palette texels the duck points at.
bool isYellow(const glm::ivec4& c) {
    return c.r > 200 && c.g > 170 && c.b < 100;
}
bool isOrange(const glm::ivec4& c) {
    return c.r > 200 && c.g > 80 && c.g < 170 && c.b < 80;
}
bool isDark(const glm::ivec4& c) {
    return c.r < 50 && c.g < 50 && c.b < 50;
}

// Shape checks every model must pass: one triangle mesh with normals and uvs, closed with
// outward-facing counter-clockwise triangles.
void expectGameReadyMesh(const ImportedModel& model) {
    ASSERT_NE(model.scene(), nullptr);
    ASSERT_EQ(model.scene()->mNumMeshes, 1u);
    const aiMesh& mesh = model.mesh();
    EXPECT_EQ(mesh.mPrimitiveTypes, static_cast<unsigned>(aiPrimitiveType_TRIANGLE));
    ASSERT_TRUE(mesh.HasNormals());
    ASSERT_TRUE(mesh.HasTextureCoords(0));

    double volume = 0;
    int facingAway = 0;
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        ASSERT_EQ(mesh.mFaces[f].mNumIndices, 3u);
        glm::dvec3 a = model.position(f, 0), b = model.position(f, 1), c = model.position(f, 2);
        glm::dvec3 faceNormal = glm::cross(b - a, c - a);
        ASSERT_GT(glm::length(faceNormal), 1e-9) << "degenerate triangle " << f;
        volume += glm::dot(a, glm::cross(b, c));
        glm::dvec3 vertexNormals(0.0);
        for (int k = 0; k < 3; ++k) {
            vertexNormals += vec(mesh.mNormals[mesh.mFaces[f].mIndices[k]]);
        }
        facingAway += glm::dot(faceNormal, vertexNormals) <= 0 ? 1 : 0;
    }
    EXPECT_GT(volume, 0) << "triangles wind clockwise seen from outside";
    EXPECT_EQ(facingAway, 0) << "triangles whose normals disagree with their winding";
}

// Counter-clockwise in uv as well as in space means the texture is not mirrored.
void expectUnmirroredUvs(const ImportedModel& model) {
    const aiMesh& mesh = model.mesh();
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const unsigned* i = mesh.mFaces[f].mIndices;
        glm::dvec2 a = model.uv(i[0]), b = model.uv(i[1]), c = model.uv(i[2]);
        glm::dvec2 ab = b - a, ac = c - a;
        ASSERT_GT(ab.x * ac.y - ab.y * ac.x, 0.0) << "triangle " << f;
    }
}

// x and y from -1 to 1, z from 0 to 2: the level stands its cubes on the face at z = 0.
TEST(GeneratedModels, CubeIsTwoUnitsWideFromZZeroWithOneQuadPerFace) {
    const glm::dvec3 centre(0, 0, 1);
    ImportedModel model("cube.dae");
    ASSERT_NO_FATAL_FAILURE(expectGameReadyMesh(model));
    expectUnmirroredUvs(model);
    const aiMesh& mesh = model.mesh();
    EXPECT_EQ(mesh.mNumFaces, 12u);
    EXPECT_EQ(mesh.mNumVertices, 24u);
    for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
        glm::dvec3 p = vec(mesh.mVertices[v]) - centre;
        glm::dvec3 n = vec(mesh.mNormals[v]);
        ASSERT_NEAR(glm::length(p), std::sqrt(3.0), 1e-5) << "not a corner of the cube";
        ASSERT_NEAR(glm::dot(p, n), 1.0, 1e-5) << "normal is not its face's";
        ASSERT_NEAR(glm::length(n), 1.0, 1e-5);
        glm::dvec2 uv = model.uv(v);
        ASSERT_TRUE((uv.x == 0 || uv.x == 1) && (uv.y == 0 || uv.y == 1));
    }
}

TEST(GeneratedModels, SphereIsRoundWithTheEquirectangularMapping) {
    ImportedModel model("sphere.dae");
    ASSERT_NO_FATAL_FAILURE(expectGameReadyMesh(model));
    expectUnmirroredUvs(model);
    const aiMesh& mesh = model.mesh();
    // Round on screen without weighing on the software vertex path it is drawn through twice.
    EXPECT_GE(mesh.mNumFaces, 300u);
    EXPECT_LE(mesh.mNumFaces, 700u);
    // Every triangle spans about the same angle: the outline is as round seen from any side,
    // and no sliver costs the rasteriser a block of pixels for next to nothing.
    double smallestArea = 1e9, largestArea = 0, widestEdge = 0;
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const glm::dvec3 p[3] = {model.position(f, 0), model.position(f, 1), model.position(f, 2)};
        const double area = glm::length(glm::cross(p[1] - p[0], p[2] - p[0])) / 2;
        smallestArea = std::min(smallestArea, area);
        largestArea = std::max(largestArea, area);
        for (int k = 0; k < 3; ++k) {
            const double cosine = glm::dot(glm::normalize(p[k]), glm::normalize(p[(k + 1) % 3]));
            widestEdge = std::max(widestEdge, std::acos(std::clamp(cosine, -1.0, 1.0)));
        }
    }
    EXPECT_LT(largestArea / smallestArea, 2.0);
    EXPECT_LT(widestEdge * 180 / kPi, 20.0) << "degrees between the ends of an edge";
    for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
        glm::dvec3 p = vec(mesh.mVertices[v]);
        ASSERT_NEAR(glm::length(p), 1.0, 1e-5);
        ASSERT_GT(glm::dot(p, vec(mesh.mNormals[v])), 0.9999) << "normal is not radial";
        glm::dvec2 uv = model.uv(v);
        ASSERT_NEAR(uv.y, 0.5 + std::asin(std::clamp(p.y, -1.0, 1.0)) / kPi, 1e-5);
        if (std::abs(p.y) < 0.999) {
            // The seam at -z carries both u = 0 and u = 1.
            double u = 0.5 + std::atan2(p.x, p.z) / (2 * kPi);
            double offSeam = std::min(std::abs(uv.x - u), 1 - std::abs(uv.x - u));
            ASSERT_NEAR(offSeam, 0.0, 1e-5) << "at " << p.x << ", " << p.y << ", " << p.z;
        }
    }
}

TEST(GeneratedModels, DuckStandsOnTheGroundFacingPlusXInItsColours) {
    ImportedModel model("duck.dae");
    ASSERT_NO_FATAL_FAILURE(expectGameReadyMesh(model));
    const aiMesh& mesh = model.mesh();
    // The ducks stand ten units or more off the road: detail beyond this is not seen, yet all 27
    // are drawn in both passes.
    EXPECT_GE(mesh.mNumFaces, 500u);
    EXPECT_LE(mesh.mNumFaces, 800u);

    Image palette = loadPicture("colour.png");
    ASSERT_FALSE(palette.texels.empty());
    glm::dvec3 low(1e9), high(-1e9);
    unsigned tip = 0;
    int yellow = 0;
    std::vector<glm::dvec3> dark;
    for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
        glm::dvec3 p = vec(mesh.mVertices[v]);
        low = glm::min(low, p);
        high = glm::max(high, p);
        tip = p.x > mesh.mVertices[tip].x ? v : tip;
        const glm::ivec4& colour = sample(palette, model.uv(v));
        yellow += isYellow(colour) ? 1 : 0;
        if (isDark(colour)) {
            dark.push_back(p);
        }
    }
    EXPECT_NEAR(low.y, 0.0, 1e-3);
    EXPECT_NEAR(high.y, 200.0, 10.0);
    // Origin under the body: the duck spans it front to back and side to side.
    EXPECT_LT(low.x, -50);
    EXPECT_GT(high.x, 50);
    EXPECT_NEAR(low.z, -high.z, 1e-3);
    EXPECT_GT(high.x - low.x, high.z - low.z) << "wider than it is long";

    EXPECT_GT(yellow, static_cast<int>(mesh.mNumVertices) * 2 / 3) << "the body is not yellow";
    EXPECT_TRUE(isOrange(sample(palette, model.uv(tip)))) << "the front-most point is no beak";
    // Eyes: dark on both sides of the head, high up and in front of the middle.
    ASSERT_FALSE(dark.empty());
    bool left = false, right = false;
    for (const glm::dvec3& p : dark) {
        ASSERT_GT(p.y, 0.6 * high.y);
        ASSERT_GT(p.x, 0.0);
        left = left || p.z > 0;
        right = right || p.z < 0;
    }
    EXPECT_TRUE(left && right);
}

TEST(GeneratedImages, AreRgbaWithPowerOfTwoSizes) {
    for (const char* name : kImages) {
        SCOPED_TRACE(name);
        Image picture = loadPicture(name);
        EXPECT_EQ(picture.bpp, 32u);
        EXPECT_TRUE(isPowerOfTwo(picture.width));
        EXPECT_TRUE(isPowerOfTwo(picture.height));
    }
}

// Repeating textures: the jump from the last column (row) back to the first is no bigger
// than what neighbouring columns (rows) inside the picture typically differ by.
TEST(GeneratedImages, RepeatingTexturesTile) {
    for (const char* name : {"wood-2.png", "electbubbles-2.png"}) {
        SCOPED_TRACE(name);
        Image p = loadPicture(name);
        ASSERT_FALSE(p.texels.empty());
        auto columnStep = [&](int a, int b) {
            double sum = 0;
            for (int y = 0; y < p.height; ++y) {
                glm::ivec4 d = glm::abs(p.at(a, y) - p.at(b, y));
                sum += d.r + d.g + d.b;
            }
            return sum / p.height;
        };
        auto rowStep = [&](int a, int b) {
            double sum = 0;
            for (int x = 0; x < p.width; ++x) {
                glm::ivec4 d = glm::abs(p.at(x, a) - p.at(x, b));
                sum += d.r + d.g + d.b;
            }
            return sum / p.width;
        };
        double inside = 0;
        for (int i = 0; i + 1 < p.width; ++i) {
            inside += columnStep(i, i + 1) / (p.width - 1);
        }
        EXPECT_LT(columnStep(p.width - 1, 0), 3 * inside + 1);
        inside = 0;
        for (int i = 0; i + 1 < p.height; ++i) {
            inside += rowStep(i, i + 1) / (p.height - 1);
        }
        EXPECT_LT(rowStep(p.height - 1, 0), 3 * inside + 1);
    }
}

TEST(GeneratedImages, WaterIsSeeThroughAndPaletteBandsAreVertical) {
    Image water = loadPicture("electbubbles-2.png");
    ASSERT_FALSE(water.texels.empty());
    for (const glm::ivec4& t : water.texels) {
        ASSERT_GE(t.a, 140);
        ASSERT_LE(t.a, 230);
    }

    Image palette = loadPicture("colour.png");
    ASSERT_FALSE(palette.texels.empty());
    for (int x = 0; x < palette.width; ++x) {
        for (int y = 1; y < palette.height; ++y) {
            ASSERT_EQ(glm::ivec3(palette.at(x, y)), glm::ivec3(palette.at(x, 0))) << "column " << x;
        }
    }
}

struct BallCase {
    const char* file;
    int channel;  // the strongest channel of the fill: 0 red, 1 green
};

// The face sits once on the +z side (u = 0.5), upright: in the middle column the only dark
// feature is the mouth, below v = 0.5, and the eyes are dark texels above it off that column.
TEST(GeneratedImages, BallFacesAppearOnceUprightAtTheFront) {
    const BallCase cases[] = {
        {"smiling-yellow-2.png", 0}, {"crying-red.png", 0}, {"smiling-green.png", 1}};
    for (const BallCase& ball : cases) {
        SCOPED_TRACE(ball.file);
        Image p = loadPicture(ball.file);
        ASSERT_FALSE(p.texels.empty());
        EXPECT_EQ(p.width, 2 * p.height);

        const glm::ivec4 fill = p.at(0, p.height / 2);
        EXPECT_EQ(fill.a, 255);
        EXPECT_GT(fill[ball.channel], 180);
        EXPECT_LT(fill.b, 100);
        for (int y = 0; y < p.height; ++y) {
            for (int x = 0; x < p.width; ++x) {
                if (x < p.width / 4 || x >= 3 * p.width / 4) {
                    ASSERT_EQ(glm::ivec3(p.at(x, y)), glm::ivec3(fill))
                        << "a feature away from the front at " << x << ", " << y;
                }
            }
        }

        auto dark = [](const glm::ivec4& c) { return c.r + c.g + c.b < 180; };
        bool mouth = false, eyes = false;
        for (int y = 0; y < p.height; ++y) {
            bool above = y >= p.height / 2;
            if (dark(p.at(p.width / 2, y))) {
                ASSERT_FALSE(above) << "dark texel above the middle at row " << y;
                mouth = true;
            }
            for (int x = p.width / 4; x < 3 * p.width / 4; ++x) {
                eyes = eyes || (above && dark(p.at(x, y)));
            }
        }
        EXPECT_TRUE(mouth);
        EXPECT_TRUE(eyes);
    }
}

TEST(GeneratedImages, SmileyPanelIsYellowInTheMiddle) {
    Image p = loadPicture("smileTex.png");
    ASSERT_FALSE(p.texels.empty());
    EXPECT_EQ(p.width, p.height);
    EXPECT_TRUE(isYellow(p.at(p.width / 2, p.height / 2)));
}

// The desktop icon: the yellow face on a transparent square, round, nothing cut off.
TEST(GeneratedImages, IconIsTheYellowFaceOnATransparentSquare) {
    Image p = readImage(kIcon.string());
    ASSERT_FALSE(p.texels.empty());
    EXPECT_EQ(p.width, p.height);
    EXPECT_TRUE(isPowerOfTwo(p.width));
    const int last = p.width - 1;
    for (const glm::ivec4& corner : {p.at(0, 0), p.at(last, 0), p.at(0, last), p.at(last, last)}) {
        EXPECT_EQ(corner.a, 0);
    }
    for (int i = 0; i < p.width; ++i) {  // the edges stay clear: the disc fits inside
        ASSERT_EQ(p.at(i, 0).a + p.at(i, last).a + p.at(0, i).a + p.at(last, i).a, 0) << i;
    }
    const glm::ivec4& centre = p.at(p.width / 2, p.height / 2);
    EXPECT_TRUE(isYellow(centre));
    EXPECT_EQ(centre.a, 255);
    // Mouth below the middle, eyes above it.
    bool mouth = false, eyes = false;
    for (int y = 0; y < p.height; ++y) {
        for (int x = p.width / 4; x < 3 * p.width / 4; ++x) {
            if (isDark(p.at(x, y))) {
                (y < p.height / 2 ? mouth : eyes) = true;
            }
        }
    }
    EXPECT_TRUE(mouth);
    EXPECT_TRUE(eyes);
}

// Runs the generator into a fresh folder: every committed file must come out byte for
// byte, which catches both stale committed assets and output that changes between runs.
TEST(AssetGenerator, ReproducesTheCommittedFiles) {
    TempDir folder;
    const fs::path root(folder.path());

    const fs::path icon = root / "icon" / "orbquest.png";
    fs::create_directories(icon.parent_path());
    const std::string command = std::string("'") + ORBQUEST_ASSETGEN + "' '" +
                                (root / "Content").string() + "' '" + icon.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    size_t produced = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        produced += entry.is_regular_file() ? 1 : 0;
    }
    EXPECT_EQ(produced, std::size(kModels) + std::size(kImages) + 1);
    auto expectSame = [&](const fs::path& relative) {
        SCOPED_TRACE(relative.string());
        std::string committed = readFile((kContent / relative).string());
        ASSERT_FALSE(committed.empty());
        EXPECT_TRUE(committed == readFile((root / "Content" / relative).string()))
            << "run scripts/generate-assets.sh";
    };
    EXPECT_TRUE(readFile(kIcon.string()) == readFile(icon.string()))
        << "run scripts/generate-assets.sh";
    for (const char* name : kModels) {
        expectSame(fs::path("Models") / name);
    }
    for (const char* name : kImages) {
        expectSame(fs::path("Images") / name);
    }
}

}  // namespace
