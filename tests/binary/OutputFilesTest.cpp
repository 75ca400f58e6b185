// The files the command line asks for: begun once the game has started, put in place when it
// ends; one that cannot be written ends the game with exit code 1 and a line naming it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/Process.h"
#include "support/TempDir.h"

namespace {

using Folder = std::filesystem::directory_iterator;

// Without a display, or without OpenGL 4.3, the game ends before it starts.
TEST(OutputFiles, AStartThatFailsLeavesAnEarlierRecordingAsItWas) {
    for (const char* environment : {"-u DISPLAY", "GALLIUM_DRIVER=softpipe"}) {
        TempDir dir;
        dir.write("old.replay", "frames 3 dt 1/60\n");
        const ProcessResult run = runProcess(
            {"/bin/sh", "-c", std::string("exec /usr/bin/env ") + environment + " \"$@\"", "sh",
             ORBQUEST_BINARY, "--frames", "1", "--record", "old.replay"},
            dir.path());
        EXPECT_EQ(run.exitCode, 1) << run.output;
        EXPECT_EQ(readFile(dir.file("old.replay")), "frames 3 dt 1/60\n") << environment;
        EXPECT_EQ(std::distance(Folder(dir.path()), Folder()), 1) << "no temporary left";
    }
}

// No file may grow past 1 KiB here (the signal that would end the game is ignored, so the
// writes fail with EFBIG): each output fails as the game runs or as it ends, and the earlier
// files stay as they were.
TEST(OutputFiles, WritesThatFailEndTheGameWithExitCode1AndALineForEachFile) {
    TempDir dir;
    const std::vector<std::pair<std::string, std::string>> outputs = {
        {"--record", "recording"},
        {"--frame-stats", "frame statistics file"},
        {"--screenshot", "screenshot"},
        {"--audio-out", "sound file"}};
    const std::string limited = "trap '' XFSZ; ulimit -f 2; exec \"$@\"";
    std::vector<std::string> args = {"/bin/sh",  "-c", limited,        "sh",  ORBQUEST_BINARY,
                                     "--frames", "40", "--frame-time", "1/60"};
    for (const auto& [option, what] : outputs) {
        dir.write(what, "earlier");
        args.insert(args.end(), {option, dir.file(what)});
    }
    args.insert(args.end(), {"320", "240"});
    const ProcessResult run = runProcess(args, dir.path());
    EXPECT_EQ(run.exitCode, 1) << run.output;
    for (const auto& [option, what] : outputs) {
        EXPECT_EQ(countOccurrences(run.output,
                                   "Failed to write the " + what + " " + dir.file(what) + ": "),
                  1u)
            << run.output;
        EXPECT_EQ(readFile(dir.file(what)), "earlier") << what;
    }
    EXPECT_GE(countOccurrences(run.output, ": File too large\n"), outputs.size()) << run.output;
    EXPECT_EQ(std::distance(Folder(dir.path()), Folder()), 4) << "no temporary left";
}

}  // namespace
