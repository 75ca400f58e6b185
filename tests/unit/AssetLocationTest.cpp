#include "app/AssetLocation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/AssetPaths.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

struct SearchCase {
    const char* name;
    std::vector<const char*> assetFolders;  // below the temporary folder, each given Orbquest/Scene
    const char* workingDirectory;
    const char* executableFolder;  // empty: unknown
    const char* expectedFound;     // empty: nothing found
};

// A repository with a build tree, an installed prefix, and an unrelated folder to start from.
const SearchCase kSearchCases[] = {
    {"WorkingDirectoryWinsAndIsTheOnlyLook",
     {"repo", "prefix/share/orbquest"},
     "repo",
     "prefix/bin",
     "repo"},
    {"BuildTreeFindsTheRepositoryAbove", {"repo"}, "elsewhere", "repo/build", "repo"},
    {"NestedBuildTreeToo", {"repo"}, "elsewhere", "repo/build/debug", "repo"},
    {"ExecutableBesideTheAssets", {"copy"}, "elsewhere", "copy", "copy"},
    {"InstalledGame",
     {"prefix/share/orbquest"},
     "elsewhere",
     "prefix/bin",
     "prefix/share/orbquest"},
    {"TrailingSlashOnTheExecutableFolder",
     {"prefix/share/orbquest"},
     "elsewhere",
     "prefix/bin/",
     "prefix/share/orbquest"},
    {"FoldersAboveComeBeforeTheInstalledPlace",
     {"prefix", "prefix/share/orbquest"},
     "elsewhere",
     "prefix/bin",
     "prefix"},
    {"UnknownExecutableLooksOnlyHere", {"prefix/share/orbquest"}, "elsewhere", "", ""},
    {"NothingAnywhere", {}, "elsewhere", "prefix/bin", ""},
};

TEST(AssetLocation, SearchOrder) {
    for (const SearchCase& c : kSearchCases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        for (const char* folder : c.assetFolders) {
            fs::create_directories(dir.file(folder) + "/" + assets::kRoot);
        }
        const std::string executable =
            std::string(c.executableFolder).empty() ? "" : dir.file(c.executableFolder);
        const AssetSearch search = findAssets(dir.file(c.workingDirectory), executable);
        const std::string expected = std::string(c.expectedFound).empty()
                                         ? ""
                                         : fs::path(dir.file(c.expectedFound)).string();
        EXPECT_EQ(search.found, expected);
        ASSERT_FALSE(search.searched.empty());
        EXPECT_EQ(search.searched.front(), dir.file(c.workingDirectory));
        if (!search.found.empty()) {
            EXPECT_EQ(search.searched.back(), search.found) << "the search goes on after a find";
        }
    }
}

TEST(AssetLocation, ExecutableFolderIsTheRunningTestsFolder) {
    const std::string folder = executableFolder(nullptr);
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(fs::path(folder).is_absolute());
    EXPECT_TRUE(fs::exists(fs::path(folder) / "orbquest_unit_tests")) << folder;
}

TEST(AssetLocation, PathsTypedByThePlayerKeepTheirStartFolder) {
    const struct {
        const char* path;
        const char* expected;
    } cases[] = {
        {"", ""},
        {"/abs/shot.png", "/abs/shot.png"},
        {"shot.png", "/start/here/shot.png"},
        {"../up/run.replay", "/start/here/../up/run.replay"},
        {"./sub/x", "/start/here/./sub/x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(resolveAgainst("/start/here", c.path), c.expected) << c.path;
    }
    EXPECT_EQ(resolveAgainst("", "shot.png"), "shot.png") << "no start folder: as typed";
}

}  // namespace
