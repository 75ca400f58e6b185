#include "app/AssetLocation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

// Every folder from 'folder' up to the root, nearest first.
std::vector<std::string> upwardsFrom(const std::string& folder) {
    std::vector<std::string> folders;
    for (fs::path p = folder;; p = p.parent_path()) {
        folders.push_back(p.string());
        if (p == p.parent_path()) {
            return folders;
        }
    }
}

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
            fs::create_directories(dir.file(folder) + "/" + kAssetSubfolder);
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

// Where nothing holds the assets, every place is looked at once, in order, and the message
// names each of them.
TEST(AssetLocation, FailedSearchListsEveryPlaceOnce) {
    TempDir dir;
    const std::string bin = dir.file("prefix/bin");
    const AssetSearch search = findAssets(dir.path(), bin);
    ASSERT_TRUE(search.found.empty());

    std::vector<std::string> expected{dir.path()};
    for (const std::string& folder : upwardsFrom(bin)) {
        if (folder != dir.path()) {  // already looked at as the working directory
            expected.push_back(folder);
        }
    }
    expected.push_back(dir.file("prefix/share/orbquest"));
    EXPECT_EQ(search.searched, expected);

    std::string message =
        std::string("Cannot find the game's assets: none of these folders holds ") +
        kAssetSubfolder;
    for (const std::string& folder : expected) {
        message += "\n  " + folder;
    }
    EXPECT_EQ(assetSearchFailure(search), message);
}

// A plain file of the right name is no asset folder.
TEST(AssetLocation, FileNamedLikeTheAssetFolderDoesNotCount) {
    TempDir dir;
    dir.write("here/Orbquest/Scene", "not a folder");
    EXPECT_TRUE(findAssets(dir.file("here"), "").found.empty());
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
