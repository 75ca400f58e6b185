// The one reader of line-based text files (the replays' line ends: Replay.LinesEndInLfCrLfOrCr).
#include <gtest/gtest.h>

#include <string>

#include "records/RecordsText.h"
#include "settings/SettingsFile.h"

namespace {

// One rule for both ini files: a line's characters count, its end does not, whatever it is.
TEST(TextLines, TheRecordsAndTheSettingsAgreeOnTheLongestLine) {
    const std::string longest = "#" + std::string(189, 'x');  // 190 characters
    for (const char* end : {"\n", "\r\n", "\r"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(end)));
        const std::string accepted = longest + end + "best_time = 12" + end;
        const std::string refused = "#" + longest + end + "best_time = 12" + end;
        EXPECT_EQ(parseRecords(accepted).error, "");
        EXPECT_EQ(parseSettings(accepted, "s.ini").problems.size(), 1u) << "the unknown key only";
        EXPECT_EQ(parseRecords(refused).error, "line 1: longer than 190 characters");
        const SettingsRead settings = parseSettings(refused, "s.ini");
        ASSERT_EQ(settings.problems.size(), 1u);
        EXPECT_NE(settings.problems[0].find("line 1 is longer than 190"), std::string::npos);
    }
}

}  // namespace
