// Generated and mutated input for the two parsers a player can feed: the command line and
// replay files. Every input must be either accepted as valid or refused with a one-line
// message; a crash, a hang or a sanitizer report fails the run. The generator is seeded, and a
// failure names the seed and the case, so it can be replayed.
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "base/Random.h"
#include "input/Replay.h"
#include "support/TempDir.h"

namespace {

constexpr unsigned kSeed = 20240611;
constexpr int kReplayCases = 3000;
constexpr int kCommandLineCases = 3000;

const char* const kNumbers[] = {
    "0",       "-0",      "1",          "-1",          "1/60",
    "1/0",     "0/0",     "10",         "10.0000001",  "1e-6",
    "1e-7",    "1e-50",   "1e300",      "-1e300",      "1e400",
    "nan",     "inf",     "-inf",       "NaN",         "0x10",
    "1000000", "1000001", "2147483648", "-2147483649", "99999999999999999999999",
    "1e9",     "-1e9",    "1e9.5",      "3.",          ".5",
    "1/3",     "1//2",    "5e-324",     "+7",          "800px",
    " 12",     "1,5"};

const char* const kReplayWords[] = {
    "frames", "dt",     "keys",   "cursor", "press",   "release",    "repeat",       "#",
    "W",      "SPACE",  "F1",     "F25",    "F26",     "F0",         "F99999999999", "KEY32",
    "KEY348", "KEY349", "KEY999", "KEY",    "escape",  "LEFT_SHIFT", "\xff\xfe",     "",
    "\t",     "\r",     "\n",     "\r\n",   "frames1", "dt/"};

const char* const kArgs[] = {"--help",
                             "--gl-debug",
                             "--frames",
                             "--screenshot",
                             "--record",
                             "--replay",
                             "--fast-forward",
                             "--empty-frames",
                             "--",
                             "-",
                             "---",
                             "--frames=5",
                             "800",
                             "600",
                             "0",
                             "1",
                             "2",
                             "-600",
                             "x",
                             "",
                             "\xc3\xa9",
                             "\n",
                             "true"};

class Generator {
  public:
    explicit Generator(unsigned seed) : random_(seed) {}

    size_t below(size_t n) { return random_.below(static_cast<uint32_t>(n)); }
    bool chance(double p) { return random_.chance(p); }

    template <typename T, size_t N>
    std::string pick(const T (&list)[N]) {
        return list[below(N)];
    }

    std::string bytes(size_t length) {
        std::string text;
        for (size_t i = 0; i < length; ++i) {
            text += static_cast<char>(below(256));
        }
        return text;
    }

    std::string number() {
        if (chance(0.2)) {
            return std::to_string(random_.range(-1e12, 1e12));
        }
        if (chance(0.1)) {
            return std::string(1 + below(400), '9');  // far past any integer type
        }
        return pick(kNumbers);
    }

    // Mostly well-formed words with hostile values, so that lines get past their first word
    // and whole files are often accepted.
    std::string replayLine() {
        static const char* const kKeywords[] = {"frames",  "dt",     "keys",    "cursor", "press",
                                                "release", "repeat", "unfocus", "pad"};
        static const char* const kButtons[] = {"0", "1", "7fff", "8000", "FFFF", "-1", "x", "0x1"};
        static const char* const kKeys[] = {"W", "SPACE", "F7", "escape", "KEY65", "1"};
        std::string line = chance(0.8) ? "dt 1/60" : "";
        const size_t groups = below(4);
        for (size_t i = 0; i < groups; ++i) {
            const std::string word = chance(0.8) ? pick(kKeywords) : pick(kReplayWords);
            if (word == "cursor") {
                line += " cursor " + number() + " " + number();
            } else if (word == "unfocus") {
                line += " unfocus";
            } else if (word == "pad") {
                line += " pad";
                for (int axis = 0; axis < 4; ++axis) {
                    line += " " + (chance(0.7) ? std::string("0.5") : number());
                }
                line += " " + pick(kButtons);
            } else if (word == "frames" || word == "dt") {
                line += " " + word + " " + number();
            } else {
                line += " " + word + " " + (chance(0.7) ? pick(kKeys) : pick(kReplayWords));
            }
        }
        return line;
    }

    std::string replayText(const std::vector<std::string>& validFiles) {
        switch (below(5)) {
            case 0:
                return bytes(below(300));
            case 1: {
                std::string text;
                const size_t lines = below(8);
                for (size_t i = 0; i < lines; ++i) {
                    text += replayLine() + (chance(0.8) ? "\n" : chance(0.5) ? "\r" : "\r\n");
                }
                return text;
            }
            case 2: {  // a valid file, truncated anywhere
                const std::string& file = validFiles[below(validFiles.size())];
                return file.substr(0, below(file.size() + 1));
            }
            case 3: {  // a valid file with a few bytes changed, inserted or removed
                std::string file = validFiles[below(validFiles.size())];
                const size_t edits = 1 + below(4);
                for (size_t i = 0; i < edits && !file.empty(); ++i) {
                    const size_t at = below(file.size());
                    switch (below(3)) {
                        case 0:
                            file[at] = static_cast<char>(below(256));
                            break;
                        case 1:
                            file.insert(at, chance(0.5) ? number() + " " : bytes(1 + below(4)));
                            break;
                        default:
                            file.erase(at, 1 + below(8));
                    }
                }
                return file;
            }
            default: {  // overlong lines, names and runs of events
                const std::string unit = chance(0.5) ? " press W" : pick(kReplayWords) + "Q";
                std::string line = "dt 1/60";
                const size_t count = chance(0.5) ? 1001 : 4200;
                for (size_t i = 0; i < count; ++i) {
                    line += unit;
                }
                return line + "\n";
            }
        }
    }

    std::vector<std::string> commandLine() {
        std::vector<std::string> args{"orbquest"};
        const size_t count = below(8);
        for (size_t i = 0; i < count; ++i) {
            switch (below(4)) {
                case 0:
                    args.push_back(number());
                    break;
                case 1:
                    args.push_back(bytes(below(12)));
                    break;
                case 2:
                    args.push_back(chance(0.1) ? std::string(20000, '7') : pick(kArgs));
                    break;
                default:
                    args.push_back(pick(kArgs));
            }
        }
        return args;
    }

  private:
    Pcg32 random_;
};

// A refusal is one printable line of modest length.
void expectOneLineMessage(const std::string& message, const std::string& context) {
    EXPECT_FALSE(message.empty()) << context;
    EXPECT_LE(message.size(), 200u) << context;
    for (char c : message) {
        const unsigned char u = static_cast<unsigned char>(c);
        ASSERT_TRUE(u >= 0x20 && u < 0x7f) << "unprintable byte in: " << message << "\n" << context;
    }
}

std::string caseName(int index) {
    return "seed " + std::to_string(kSeed) + ", case " + std::to_string(index);
}

bool sameFrame(const ReplayFrame& a, const ReplayFrame& b) {
    if (a.events.size() != b.events.size()) {
        return false;
    }
    for (size_t i = 0; i < a.events.size(); ++i) {
        if (a.events[i].key != b.events[i].key || a.events[i].action != b.events[i].action) {
            return false;
        }
    }
    return a.repeat == b.repeat && a.frameTime == b.frameTime && a.keysDown == b.keysDown &&
           a.cursorX == b.cursorX && a.cursorY == b.cursorY && a.pad == b.pad;
}

// An accepted script holds only what the game can play, and writing it out as a recording
// does reads back as the very same frames.
void expectPlayable(const ReplayScript& script, const std::string& context) {
    ASSERT_FALSE(script.frames.empty()) << context;
    std::string recorded;
    for (const ReplayFrame& frame : script.frames) {
        EXPECT_GE(frame.repeat, 1) << context;
        EXPECT_LE(frame.repeat, kMaxFramesPerLine) << context;
        EXPECT_GT(frame.frameTime, 0.0f) << context;
        EXPECT_LE(frame.frameTime, kMaxFrameTime) << context;
        EXPECT_LE(std::abs(frame.cursorX), kMaxCursor) << context;
        EXPECT_LE(std::abs(frame.cursorY), kMaxCursor) << context;
        EXPECT_LE(frame.events.size(), kMaxEventsPerLine) << context;
        for (float axis : {frame.pad.leftX, frame.pad.leftY, frame.pad.rightX, frame.pad.rightY}) {
            EXPECT_LE(std::abs(axis), 1.0f) << context;
        }
        EXPECT_LE(frame.pad.buttons, kMaxPadButtons) << context;
        for (int key : frame.keysDown) {
            EXPECT_TRUE(key >= GLFW_KEY_SPACE && key <= GLFW_KEY_LAST) << key << " " << context;
        }
        for (const KeyEvent& event : frame.events) {
            EXPECT_TRUE(event.key == kFocusLost ||
                        (event.key >= GLFW_KEY_SPACE && event.key <= GLFW_KEY_LAST))
                << context;
        }
        recorded += formatReplayFrame(frame) + "\n";
    }
    const ReplayScript again = parseReplay(recorded);
    ASSERT_EQ(again.error, "") << context;
    ASSERT_EQ(again.frames.size(), script.frames.size()) << context;
    for (size_t i = 0; i < script.frames.size(); ++i) {
        EXPECT_TRUE(sameFrame(again.frames[i], script.frames[i]))
            << "frame " << i << " " << context;
    }
}

TEST(ParserFuzz, ReplayTextIsPlayableOrRefusedWithOneLine) {
    std::vector<std::string> validFiles;
    for (const char* name :
         {"replays/land-on-targets.replay", "replays/rest-on-block.replay",
          "replays/roll-into-target.replay", "replays/fall-off-the-back.replay"}) {
        validFiles.push_back(readFile(name));
        ASSERT_FALSE(validFiles.back().empty()) << name;
    }
    validFiles.push_back(
        "frames 2 dt 0.0166893005 keys W F2 cursor 1023.123456789 -7.25 "
        "press F7 repeat F7 release Q\n");

    Generator generate(kSeed);
    int accepted = 0;
    for (int i = 0; i < kReplayCases; ++i) {
        const std::string text = generate.replayText(validFiles);
        const std::string context = caseName(i) + ": " + text.substr(0, 120);
        const ReplayScript script = parseReplay(text);
        if (script.error.empty()) {
            ++accepted;
            expectPlayable(script, context);
        } else {
            EXPECT_TRUE(script.frames.empty()) << context;
            expectOneLineMessage(script.error, context);
        }
        if (HasFatalFailure() || HasNonfatalFailure()) {
            return;  // the first failing case says enough
        }
    }
    // Both sides of the parser were exercised.
    EXPECT_GT(accepted, kReplayCases / 20);
    EXPECT_LT(accepted, kReplayCases - kReplayCases / 20);
}

const char* const kParameterMessages[] = {
    "Invalid Argument! Required an integer for the first parameter!",
    "Invalid Argument! Required an integer for the second parameter!",
    "Invalid Argument! Could not parse the third parameter as an integer!",
    "Invalid Argument! Required an integer for the fourth parameter!"};

TEST(ParserFuzz, CommandLinesAreReadOrRefusedWithOneLine) {
    Generator generate(kSeed);
    int accepted = 0;
    for (int i = 0; i < kCommandLineCases; ++i) {
        const std::vector<std::string> args = generate.commandLine();
        std::string context = caseName(i) + ":";
        for (const std::string& arg : args) {
            context += " [" + arg.substr(0, 40) + "]";
        }
        std::vector<const char*> argv;
        for (const std::string& arg : args) {
            argv.push_back(arg.c_str());
        }
        const OptionScan scan = extractOptions(static_cast<int>(argv.size()), argv.data());
        if (!scan.error.empty()) {
            expectOneLineMessage(scan.error, context);
            continue;
        }
        EXPECT_GE(scan.options.frames, 0) << context;
        EXPECT_FALSE(scan.options.fastForward && scan.options.replayPath.empty()) << context;
        EXPECT_FALSE(!scan.options.recordPath.empty() && !scan.options.replayPath.empty())
            << context;
        const CommandLineValues values = readCommandLine(scan.positional);
        if (values.error.empty()) {
            ++accepted;
        } else {
            EXPECT_NE(std::find(std::begin(kParameterMessages), std::end(kParameterMessages),
                                values.error),
                      std::end(kParameterMessages))
                << values.error << " " << context;
        }
        if (HasFatalFailure() || HasNonfatalFailure()) {
            return;
        }
    }
    EXPECT_GT(accepted, kCommandLineCases / 20);
}

}  // namespace
