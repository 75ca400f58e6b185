// Every case the fuzzers start from or once found (tests/fuzz/seeds/NAME, tests/fuzz/found/NAME)
// goes through the same checks here, without the fuzzer, so a fixed finding stays fixed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "fuzz/ParserChecks.h"

namespace {

namespace fs = std::filesystem;

std::string contentsOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Runs every file under folder/HARNESS/ through that harness's checks; returns how many.
int checkAllUnder(const fs::path& folder) {
    int cases = 0;
    for (const fs::directory_entry& harness : fs::directory_iterator(folder)) {
        for (const fs::directory_entry& file : fs::directory_iterator(harness.path())) {
            const std::string name = harness.path().filename().string();
            EXPECT_EQ(checkHarnessInput(name, contentsOf(file.path())), "") << file.path();
            ++cases;
        }
    }
    return cases;
}

const fs::path kFuzzFolder = fs::path(ORBQUEST_SOURCE_DIR) / "tests" / "fuzz";

}  // namespace

TEST(FuzzCases, EverySeedPassesItsChecks) {
    EXPECT_GE(checkAllUnder(kFuzzFolder / "seeds"), 10);
}

TEST(FuzzCases, EveryFindingStaysFixed) {
    EXPECT_GE(checkAllUnder(kFuzzFolder / "found"), 2);
}

TEST(FuzzCases, AHarnessWithoutChecksIsABrokenCheck) {
    EXPECT_NE(checkHarnessInput("no-such-parser", "anything"), "");
}
