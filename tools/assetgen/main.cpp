// Writes the game's models, images and sounds under the folder given as the first argument:
// <root>/Models/*.dae, <root>/Images/*.png and <root>/Sounds/*.wav, and the desktop icons under
// the folder given as the second, if any, as the icon theme lays them out
// (SIZExSIZE/apps/orbquest.png). Same output every run.
#include <cstdio>
#include <filesystem>
#include <string>

#include <FreeImage.h>

#include "Collada.h"
#include "Duck.h"
#include "Sounds.h"
#include "Textures.h"

namespace {

bool save(const assetgen::Image& image, const std::filesystem::path& path) {
    if (!image.savePng(path.string())) {
        std::fprintf(stderr, "orbquest_assetgen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

bool save(const assetgen::Mesh& mesh, const std::string& name, const std::string& texture,
          const std::filesystem::path& path) {
    if (!assetgen::writeCollada(path.string(), name, mesh, texture)) {
        std::fprintf(stderr, "orbquest_assetgen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

bool saveSounds(const std::filesystem::path& folder) {
    for (size_t i = 0; i < kSoundCount; ++i) {
        const std::filesystem::path path = folder / kSoundFileNames[i];
        if (!assetgen::saveWav(assetgen::makeSound(static_cast<Sound>(i)), path.string())) {
            std::fprintf(stderr, "orbquest_assetgen: cannot write %s\n", path.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_ROOT [ICON_FOLDER]\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root(argv[1]);
    const std::filesystem::path models = root / "Models";
    const std::filesystem::path images = root / "Images";
    const std::filesystem::path sounds = root / "Sounds";
    std::error_code error;
    std::filesystem::create_directories(models, error);
    std::filesystem::create_directories(images, error);
    std::filesystem::create_directories(sounds, error);
    if (!std::filesystem::is_directory(models) || !std::filesystem::is_directory(images) ||
        !std::filesystem::is_directory(sounds)) {
        std::fprintf(stderr, "orbquest_assetgen: cannot create folders under %s\n", root.c_str());
        return 1;
    }

    using namespace assetgen;
    bool ok = save(buildCube(), "cube", "", models / "cube.dae") &&
              save(buildSphere(4), "sphere", "", models / "sphere.dae") &&
              save(buildDuck(), "duck", "../Images/colour.png", models / "duck.dae");

    FreeImage_Initialise(FALSE);
    ok = ok && save(makeWood(), images / "wood-2.png") &&
         save(makeBubbles(), images / "electbubbles-2.png") &&
         save(makeSmileyPanel(), images / "smileTex.png") &&
         save(makeColourBands(), images / "colour.png") &&
         save(makeBall(BallFace::SmilingYellow), images / "smiling-yellow-2.png") &&
         save(makeBall(BallFace::CryingRed), images / "crying-red.png") &&
         save(makeBall(BallFace::SmilingGreen), images / "smiling-green.png");
    ok = ok && saveSounds(sounds);
    if (argc == 3) {
        for (int size : kIconSizes) {
            const std::string name = std::to_string(size) + "x" + std::to_string(size);
            const std::filesystem::path folder = std::filesystem::path(argv[2]) / name / "apps";
            std::filesystem::create_directories(folder, error);
            ok = ok && save(makeIcon(size), folder / "orbquest.png");
        }
    }
    FreeImage_DeInitialise();
    return ok ? 0 : 1;
}
