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

#include "audio/SoundFiles.h"
#include "base/MathConstants.h"
#include "support/Image.h"
#include "support/TempDir.h"
#include "support/WavFile.h"

namespace {

namespace fs = std::filesystem;

const fs::path kContent = fs::path(ORBQUEST_SOURCE_DIR) / "Orbquest" / "Scene" / "Content";
const fs::path kIcons = fs::path(ORBQUEST_SOURCE_DIR) / "dist" / "icons";
// The sizes desktops ask for, each drawn by the generator; laid out as the icon theme is.
const int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

fs::path iconPath(int size) {
    return fs::path(std::to_string(size) + "x" + std::to_string(size)) / "apps" / "orbquest.png";
}

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

// Opaque and darker than the rim: the eyes' and the mouth's ink.
bool isInk(const glm::ivec4& c) {
    return c.a == 255 && c.r < 120 && c.r + c.g + c.b < 250;
}

struct Blob {
    int pixels = 0;
    glm::ivec2 low{1 << 20}, high{-1};
};

// The groups of ink pixels that touch, corners included.
std::vector<Blob> inkBlobs(const Image& p) {
    std::vector<bool> seen(p.texels.size(), false);
    std::vector<Blob> blobs;
    for (int start = 0; start < static_cast<int>(p.texels.size()); ++start) {
        if (seen[start] || !isInk(p.texels[start])) {
            continue;
        }
        Blob blob;
        std::vector<int> open{start};
        seen[start] = true;
        while (!open.empty()) {
            const glm::ivec2 at(open.back() % p.width, open.back() / p.width);
            open.pop_back();
            ++blob.pixels;
            blob.low = glm::min(blob.low, at);
            blob.high = glm::max(blob.high, at);
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const glm::ivec2 next = at + glm::ivec2(dx, dy);
                    const int index = next.y * p.width + next.x;
                    if (next.x >= 0 && next.y >= 0 && next.x < p.width && next.y < p.height &&
                        !seen[index] && isInk(p.texels[index])) {
                        seen[index] = true;
                        open.push_back(index);
                    }
                }
            }
        }
        blobs.push_back(blob);
    }
    return blobs;
}

// The desktop icon at every size: the yellow face on a transparent square, round, nothing cut
// off, and still a face at 16 pixels: two eyes and a mouth, none of them run together.
TEST(GeneratedImages, IconsAreTheYellowFaceAtEverySize) {
    for (int size : kIconSizes) {
        SCOPED_TRACE(size);
        Image p = readImage((kIcons / iconPath(size)).string());
        ASSERT_FALSE(p.texels.empty());
        EXPECT_EQ(p.width, size);
        EXPECT_EQ(p.height, size);
        const int last = p.width - 1;
        for (int i = 0; i < p.width; ++i) {  // the edges stay clear: the disc fits inside
            ASSERT_EQ(p.at(i, 0).a + p.at(i, last).a + p.at(0, i).a + p.at(last, i).a, 0) << i;
        }
        const glm::ivec4& centre = p.at(p.width / 2, p.height / 2);
        EXPECT_TRUE(isYellow(centre));
        EXPECT_EQ(centre.a, 255);

        // Rows run bottom up: the eyes lie above the middle, the mouth below it.
        const std::vector<Blob> blobs = inkBlobs(p);
        ASSERT_EQ(blobs.size(), 3u) << "two eyes and a mouth, apart";
        int leftEyes = 0, rightEyes = 0, mouths = 0;
        for (const Blob& blob : blobs) {
            if (blob.low.y > p.height / 2) {
                leftEyes += blob.high.x < p.width / 2 ? 1 : 0;
                rightEyes += blob.low.x >= p.width / 2 ? 1 : 0;
            } else if (blob.high.y < p.height / 2) {
                mouths += blob.low.x < p.width / 2 && blob.high.x >= p.width / 2 ? 1 : 0;
            }
        }
        EXPECT_EQ(leftEyes, 1);
        EXPECT_EQ(rightEyes, 1);
        EXPECT_EQ(mouths, 1);
    }
}

WavFile loadSound(const std::string& name) {
    return readWavFile((kContent / "Sounds" / name).string());
}

// Short, mono at the game's mixing rate, loud enough without clipping; all but the loop start
// and end at silence, so none clicks.
TEST(GeneratedSounds, AreShortMonoAndStartAndEndQuietly) {
    const struct {
        const char* file;
        double shortest;  // seconds
        double longest;
        bool loops;
    } cases[] = {{"lift-off.wav", 0.2, 0.5, false}, {"knock.wav", 0.05, 0.25, false},
                 {"chime.wav", 0.5, 1.5, false},    {"hit-target.wav", 0.3, 1.0, false},
                 {"fall.wav", 0.8, 2.5, false},     {"fanfare.wav", 1.0, 2.5, false},
                 {"rolling.wav", 0.5, 2.0, true}};
    ASSERT_EQ(std::size(cases), kSoundCount);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const WavFile wav = loadSound(c.file);
        ASSERT_EQ(wav.sampleRate, 48000);
        ASSERT_EQ(wav.channels, 1);
        const double seconds = static_cast<double>(wav.frames()) / wav.sampleRate;
        EXPECT_GE(seconds, c.shortest);
        EXPECT_LE(seconds, c.longest);
        const double peak = wav.peak(0, wav.frames());
        EXPECT_GE(peak, 0.3);
        EXPECT_LE(peak, 0.9);
        if (!c.loops) {
            EXPECT_LE(std::abs(wav.samples.front()), 1);
            EXPECT_LE(std::abs(wav.samples.back()), 1);
        }
    }
}

// The rolling loop's seam is no bigger a step than the loop takes anywhere inside itself.
TEST(GeneratedSounds, RollingLoopsWithoutASeam) {
    const WavFile wav = loadSound("rolling.wav");
    ASSERT_GT(wav.samples.size(), 1000u);
    int largestStep = 0;
    for (size_t i = 1; i < wav.samples.size(); ++i) {
        largestStep = std::max(largestStep, std::abs(wav.samples[i] - wav.samples[i - 1]));
    }
    EXPECT_LT(std::abs(wav.samples.front() - wav.samples.back()), largestStep);
}

// The chime rings on C6; the game raises its pitch as targets are done.
TEST(GeneratedSounds, ChimeRingsOnC6AndTheKnockIsOverQuickly) {
    const WavFile chime = loadSound("chime.wav");
    ASSERT_GT(chime.frames(), 4800);
    const int64_t tenth = chime.frameAt(0.1);
    const double c6 = 1046.5;
    // A semitone either side is far weaker; the octave above, its brightest overtone, too.
    const struct {
        double hz;
        double weaker;
    } others[] = {{c6 / 1.06, 10}, {c6 * 1.06, 10}, {c6 / 2, 10}, {c6 * 2, 3}};
    for (const auto& other : others) {
        EXPECT_GT(chime.powerAt(c6, 0, tenth), other.weaker * chime.powerAt(other.hz, 0, tenth))
            << other.hz << " Hz";
    }
    const WavFile knock = loadSound("knock.wav");
    ASSERT_GT(knock.frames(), 4800);
    EXPECT_LT(knock.peak(knock.frameAt(0.1), knock.frames()), knock.peak(0, knock.frames()) / 10);
}

// Runs the generator into a fresh folder: every committed file must come out byte for
// byte, which catches both stale committed assets and output that changes between runs.
TEST(AssetGenerator, ReproducesTheCommittedFiles) {
    TempDir folder;
    const fs::path root(folder.path());

    const std::string command = std::string("'") + ORBQUEST_ASSETGEN + "' '" +
                                (root / "Content").string() + "' '" + (root / "icons").string() +
                                "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    size_t produced = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        produced += entry.is_regular_file() ? 1 : 0;
    }
    EXPECT_EQ(produced,
              std::size(kModels) + std::size(kImages) + std::size(kIconSizes) + kSoundCount);
    auto expectSame = [&](const fs::path& committed, const fs::path& generated) {
        SCOPED_TRACE(committed.string());
        const std::string bytes = readFile(committed.string());
        ASSERT_FALSE(bytes.empty());
        EXPECT_TRUE(bytes == readFile(generated.string())) << "run scripts/generate-assets.sh";
    };
    for (const char* name : kModels) {
        expectSame(kContent / "Models" / name, root / "Content" / "Models" / name);
    }
    for (const char* name : kImages) {
        expectSame(kContent / "Images" / name, root / "Content" / "Images" / name);
    }
    for (int size : kIconSizes) {
        expectSame(kIcons / iconPath(size), root / "icons" / iconPath(size));
    }
    for (const char* name : kSoundFileNames) {
        expectSame(kContent / "Sounds" / name, root / "Content" / "Sounds" / name);
    }
}

}  // namespace
