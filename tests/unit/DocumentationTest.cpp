// The three places a player reads about options and keys: --help, the README and the manual
// page. Each option and key is in all of them, so adding one to one place alone fails here.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>

#include "app/CommandLine.h"
#include "support/TempDir.h"

namespace {

const std::string kReadme = readFile(ORBQUEST_SOURCE_DIR "/README.md");
const std::string kManualPage = readFile(ORBQUEST_SOURCE_DIR "/dist/orbquest.6.in");

std::set<std::string> matches(const std::string& text, const std::string& pattern) {
    std::set<std::string> found;
    const std::regex expression(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), expression);
         it != std::sregex_iterator(); ++it) {
        found.insert((*it)[1]);
    }
    return found;
}

// The text from the line 'heading' to the next heading of the same kind.
std::string section(const std::string& text, const std::string& heading,
                    const std::string& nextHeading) {
    const size_t start = text.find(heading);
    if (start == std::string::npos) {
        return "";
    }
    return text.substr(start, text.find(nextHeading, start + heading.size()) - start);
}

// The manual page's entries in a section: the word or words each .TP tag sets in bold, with the
// page's escaped dashes read as dashes.
std::set<std::string> manualEntries(const std::string& sectionName) {
    const std::string text = section(kManualPage, "\n.SH " + sectionName + "\n", "\n.SH ");
    std::set<std::string> entries;
    for (std::string tag : matches(text, "\n\\.TP\n\\.BI? ([^\n\"]*)")) {
        tag = std::regex_replace(tag, std::regex("\\\\-"), "-");
        entries.insert(tag.substr(0, tag.find_last_not_of(' ') + 1));
    }
    return entries;
}

TEST(Documentation, EveryOptionIsInTheHelpTheReadmeAndTheManualPage) {
    std::set<std::string> help = matches(usageText(), "\n  (--[a-z-]+)");
    help.insert("--");  // the end of the options, which the usage line shows as a rule
    const std::set<std::string> readme =
        matches(section(kReadme, "| Option | Meaning |", "\n\n"), "\n\\| `(--[a-z-]*)");
    EXPECT_GT(help.size(), 10u);
    EXPECT_EQ(readme, help);
    EXPECT_EQ(manualEntries("OPTIONS"), help);
}

TEST(Documentation, EveryKeyOfTheReadmeIsInTheManualPage) {
    std::set<std::string> readme =
        matches(section(kReadme, "## Keys\n", "\n\n"), "\n\\| ([^|]*[^| ]) *\\|");
    readme.erase("Key");
    readme.erase("---");
    EXPECT_GT(readme.size(), 10u);
    EXPECT_EQ(manualEntries("KEYS"), readme);
}

}  // namespace
