#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "support/Image.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

// Every file below 'root', as paths relative to it.
std::set<std::string> filesBelow(const fs::path& root) {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            files.insert(fs::relative(entry.path(), root).string());
        }
    }
    return files;
}

// The value of 'key' in a desktop entry, or "(missing)".
std::string desktopValue(const std::string& entry, const std::string& key) {
    for (const std::string& line : splitLines(entry)) {
        if (line.rfind(key + "=", 0) == 0) {
            return line.substr(key.size() + 1);
        }
    }
    return "(missing)";
}

// cmake --install into a fresh prefix, with a blank in its name as a home folder may have.
class InstalledGame : public testing::Test {
  protected:
    TempDir dir;
    const fs::path prefix = dir.file("my games");
    const std::string binary = (prefix / "bin" / "orbquest").string();

    void SetUp() override {
        const ProcessResult install = runProcess(
            {ORBQUEST_CMAKE, "--install", ORBQUEST_BUILD_DIR, "--prefix", prefix.string()});
        ASSERT_EQ(install.exitCode, 0) << install.output;
    }
};

TEST_F(InstalledGame, CarriesEveryAssetAMenuEntryAndAnIcon) {
    EXPECT_TRUE(fs::is_regular_file(binary));
    const fs::path sourceAssets = fs::path(ORBQUEST_SOURCE_DIR) / "Orbquest" / "Scene";
    const fs::path installedAssets = prefix / "share" / "orbquest" / "Orbquest" / "Scene";
    ASSERT_TRUE(fs::is_directory(installedAssets));
    EXPECT_EQ(filesBelow(installedAssets), filesBelow(sourceAssets));

    const std::string entryPath = (prefix / "share" / "applications" / "orbquest.desktop").string();
    const ProcessResult validate = runProcess({"/usr/bin/desktop-file-validate", entryPath});
    EXPECT_EQ(validate.exitCode, 0) << validate.output;
    EXPECT_EQ(validate.output, "") << "warnings or hints";
    const std::string entry = readFile(entryPath);
    // Quoted for the blank; nothing in the path needs more.
    EXPECT_EQ(desktopValue(entry, "Exec"), "\"" + binary + "\"");
    EXPECT_EQ(desktopValue(entry, "Terminal"), "false");
    ASSERT_EQ(desktopValue(entry, "Icon"), "orbquest");

    // The icon theme's folder names the size of the pictures in it.
    const fs::path icons = prefix / "share" / "icons" / "hicolor";
    ASSERT_TRUE(fs::is_directory(icons));
    const std::set<std::string> iconFiles = filesBelow(icons);
    ASSERT_EQ(iconFiles.size(), 1u);
    const fs::path icon = *iconFiles.begin();
    EXPECT_EQ(icon.filename(), "orbquest.png");
    EXPECT_EQ(icon.parent_path().filename(), "apps");
    const Image picture = readImage((icons / icon).string());
    ASSERT_TRUE(picture.loaded());
    const std::string size = std::to_string(picture.width) + "x" + std::to_string(picture.height);
    EXPECT_EQ(icon.parent_path().parent_path().string(), size);
}

// Started from a folder that has nothing to do with the game, paths on the command line still
// name files in that folder; without its assets the game says where it looked.
TEST_F(InstalledGame, RunsFromAnUnrelatedFolderAndSaysWhereItLookedWhenItsAssetsAreGone) {
    TempDir start;
    const ProcessResult run =
        runProcess({binary, "--frames", "5", "--screenshot", "last.png", "--record", "run.replay"},
                   start.path(), 300);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("Welcome to >>Orbquest<<\n"), std::string::npos) << run.output;
    EXPECT_TRUE(fs::is_regular_file(start.file("last.png")));
    EXPECT_FALSE(readFile(start.file("run.replay")).empty());

    fs::rename(prefix / "share" / "orbquest", prefix / "share" / "orbquest-moved");
    const ProcessResult gone = runProcess({binary, "--frames", "5"}, start.path(), 300);
    EXPECT_EQ(gone.exitCode, 1);
    std::string expected =
        "Cannot find the game's assets: none of these folders holds Orbquest/Scene\n"
        "  " +
        start.path() + "\n";
    for (fs::path folder = prefix / "bin";; folder = folder.parent_path()) {
        expected += "  " + folder.string() + "\n";
        if (folder == folder.parent_path()) {
            break;
        }
    }
    expected += "  " + (prefix / "share" / "orbquest").string() + "\n";
    EXPECT_EQ(gone.output, expected);
}

}  // namespace
