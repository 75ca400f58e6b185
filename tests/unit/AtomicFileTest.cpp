// The one way the game writes a file. (What it refuses: WavRecorder.*; a write that fails as
// the file grows: OutputFiles.*)
#include "base/AtomicFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

size_t filesIn(const std::string& folder) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(AtomicFile, StreamsIntoATemporaryAndReplacesTheTargetOnlyWhenCommitted) {
    TempDir dir;
    dir.write("out.csv", "earlier");
    AtomicFile file;
    // The player's umask decides the permissions, as for any new file of theirs.
    const mode_t previousMask = ::umask(027);
    const bool opened = file.open(dir.file("out.csv"));
    ::umask(previousMask);
    ASSERT_TRUE(opened) << file.error();
    EXPECT_TRUE(file.write("header 0\n") && file.write("row\n") && file.writeAt(7, "1", 1));
    EXPECT_EQ(readFile(file.temporaryPath()), "header 1\nrow\n") << "on the disk as written";
    EXPECT_EQ(readFile(dir.file("out.csv")), "earlier");
    ASSERT_TRUE(file.commit()) << file.error();
    EXPECT_EQ(readFile(dir.file("out.csv")), "header 1\nrow\n");
    EXPECT_EQ(fs::status(dir.file("out.csv")).permissions(), fs::perms(0640));
    EXPECT_EQ(filesIn(dir.path()), 1u) << "no temporary left";
}

}  // namespace
