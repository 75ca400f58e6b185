#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

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

// Every match of 'pattern' in 'text': its first group.
std::vector<std::string> allMatches(const std::string& text, const std::string& pattern) {
    std::vector<std::string> found;
    const std::regex expression(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), expression);
         it != std::sregex_iterator(); ++it) {
        found.push_back((*it)[1]);
    }
    return found;
}

// Width and height of a picture, or 0 x 0 when it does not load.
std::pair<int, int> pictureSize(const fs::path& path) {
    return readImage(path.string()).size();
}

const std::string kAppId = "io.github.orbquest.Orbquest";

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

TEST_F(InstalledGame, CarriesEveryAssetAMenuEntryAndTheIconAtEverySize) {
    EXPECT_TRUE(fs::is_regular_file(binary));
    const fs::path sourceAssets = fs::path(ORBQUEST_SOURCE_DIR) / "Orbquest" / "Scene";
    const fs::path installedAssets = prefix / "share" / "orbquest" / "Orbquest" / "Scene";
    ASSERT_TRUE(fs::is_directory(installedAssets));
    EXPECT_EQ(filesBelow(installedAssets), filesBelow(sourceAssets));

    // The entry is named after the metainfo's id, which is how software centres pair them.
    const fs::path applications = prefix / "share" / "applications";
    EXPECT_EQ(filesBelow(applications), std::set<std::string>{kAppId + ".desktop"});
    const std::string entryPath = (applications / (kAppId + ".desktop")).string();
    const ProcessResult validate = runProcess({"/usr/bin/desktop-file-validate", entryPath});
    EXPECT_EQ(validate.exitCode, 0) << validate.output;
    EXPECT_EQ(validate.output, "") << "warnings or hints";
    const std::string entry = readFile(entryPath);
    // Quoted for the blank; nothing in the path needs more.
    EXPECT_EQ(desktopValue(entry, "Exec"), "\"" + binary + "\"");
    EXPECT_EQ(desktopValue(entry, "Terminal"), "false");
    ASSERT_EQ(desktopValue(entry, "Icon"), "orbquest");

    // One picture for each size desktops ask for, in the folder that names its size.
    const fs::path icons = prefix / "share" / "icons" / "hicolor";
    std::set<std::string> expected;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        expected.insert(folder + "/apps/orbquest.png");
        EXPECT_EQ(pictureSize(icons / folder / "apps" / "orbquest.png"), std::make_pair(size, size))
            << folder;
    }
    EXPECT_EQ(filesBelow(icons), expected);
}

// What a software centre reads: valid to appstreamcli, naming the installed menu entry and icon,
// this version as the newest release, the controls the game takes and its content rating.
TEST_F(InstalledGame, MetainfoIsValidAndNamesTheMenuEntryTheReleaseAndTheControls) {
    const fs::path metainfoPath = prefix / "share" / "metainfo" / (kAppId + ".metainfo.xml");
    ASSERT_TRUE(fs::is_regular_file(metainfoPath));
    const ProcessResult validate =
        runProcess({"/usr/bin/appstreamcli", "validate", "--no-net", metainfoPath.string()});
    EXPECT_EQ(validate.exitCode, 0) << validate.output;
    EXPECT_TRUE(allMatches(validate.output, "(?:^|\n)([EWI]: [^\n]*)").empty()) << validate.output;

    const std::string metainfo = readFile(metainfoPath.string());
    EXPECT_EQ(allMatches(metainfo, "<id>([^<]*)</id>"), std::vector<std::string>{kAppId});
    for (const std::string& launchable :
         allMatches(metainfo, "<launchable type=\"desktop-id\">([^<]*)</launchable>")) {
        EXPECT_TRUE(fs::is_regular_file(prefix / "share" / "applications" / launchable))
            << launchable;
    }
    EXPECT_EQ(allMatches(metainfo, "<icon type=\"stock\">([^<]*)</icon>"),
              std::vector<std::string>{"orbquest"});
    const std::vector<std::string> releases = allMatches(metainfo, "<release version=\"([^\"]*)\"");
    ASSERT_FALSE(releases.empty());
    EXPECT_EQ(releases.front(), ORBQUEST_VERSION) << "the newest release comes first";
    const std::vector<std::string> controls = allMatches(metainfo, "<control>([^<]*)</control>");
    EXPECT_EQ(std::set<std::string>(controls.begin(), controls.end()),
              (std::set<std::string>{"keyboard", "pointing", "gamepad"}));
    EXPECT_NE(metainfo.find("<content_rating type=\"oars-1.1\""), std::string::npos);

    // The screenshots are the pictures in docs/, at their size.
    const std::regex screenshot(
        "<image type=\"source\" width=\"([0-9]+)\" height=\"([0-9]+)\">"
        "https://[^<]*/docs/([^</]+)</image>");
    int screenshots = 0;
    for (auto it = std::sregex_iterator(metainfo.begin(), metainfo.end(), screenshot);
         it != std::sregex_iterator(); ++it, ++screenshots) {
        const fs::path picture = fs::path(ORBQUEST_SOURCE_DIR) / "docs" / (*it)[3].str();
        EXPECT_EQ(pictureSize(picture), std::make_pair(std::stoi((*it)[1]), std::stoi((*it)[2])))
            << picture;
    }
    EXPECT_GE(screenshots, 1);

    // Both say the same licence: the copyright file that packages carry, and the metainfo.
    const std::string copyright = readFile((prefix / "share/doc/orbquest/copyright").string());
    EXPECT_EQ(allMatches(copyright, "\nLicense: ([^\n]*)"),
              allMatches(metainfo, "<project_license>([^<]*)</project_license>"));
}

// The manual page renders without a warning from man and groff, carries this version and the
// name line whatis and apropos read, and says where this layout keeps the data.
TEST_F(InstalledGame, ManualPageRendersWithoutAWarning) {
    const std::string page = (prefix / "share" / "man" / "man6" / "orbquest.6.gz").string();
    ASSERT_TRUE(fs::is_regular_file(page));
    // Only the warnings: the page itself goes nowhere.
    const ProcessResult warnings = runProcess(
        {"/bin/sh", "-c", "MANWIDTH=80 man --warnings -l \"$1\" 2>&1 >/dev/null", "sh", page});
    EXPECT_EQ(warnings.exitCode, 0);
    EXPECT_EQ(warnings.output, "");

    const ProcessResult text =
        runProcess({"/usr/bin/env", "MANWIDTH=80", "MAN_KEEP_FORMATTING=", "man", "-l", page});
    EXPECT_EQ(text.exitCode, 0) << text.output;
    EXPECT_NE(text.output.find("Orbquest " ORBQUEST_VERSION), std::string::npos) << text.output;
    EXPECT_NE(text.output.find("../share/orbquest"), std::string::npos) << text.output;
    const ProcessResult whatis = runProcess({"/usr/bin/lexgrog", page});
    EXPECT_EQ(whatis.exitCode, 0) << whatis.output;
    EXPECT_NE(whatis.output.find(": \"orbquest - roll a ball"), std::string::npos) << whatis.output;
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
