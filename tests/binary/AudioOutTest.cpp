// The real game's sound, written with --audio-out by OpenAL Soft's loopback device: no test
// needs a sound card.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/SoundWatcher.h"
#include "support/Process.h"
#include "support/TempDir.h"
#include "support/WavFile.h"

namespace {

const std::string kLandingReplay = "replays/land-on-targets.replay";
constexpr int kLandingFrames = 647;
constexpr double kLandingFrameTime = 1.0 / 75;
// The frames in which the replay lifts off and lands on its four targets, as the sound
// watcher's test sees them in the real level (SoundWatcher.LandingOnTheFirstFourTargets...).
const int kLiftOffFrames[] = {0, 100, 247, 447};
const int kChimeFrames[] = {62, 205, 368, 568};
constexpr double kChimeHz = 1046.5;  // the generated chime's fundamental
constexpr double kWindow = 0.05;     // seconds
constexpr double kSilence = 2.0 / 32768;

const std::string kSounds = std::string(ORBQUEST_SOURCE_DIR) + "/Orbquest/Scene/Content/Sounds/";

// The game under a temporary home, so no OpenAL configuration of the machine's user applies;
// 'environment' adds variables (e.g. ALSOFT_DRIVERS=...).
ProcessResult runGame(const TempDir& home, std::vector<std::string> gameArgs,
                      const std::vector<std::string>& environment = {}) {
    std::vector<std::string> args{"/usr/bin/env", "HOME=" + home.path(),
                                  "XDG_CONFIG_HOME=" + home.path(), "XDG_DATA_HOME=" + home.path()};
    args.insert(args.end(), environment.begin(), environment.end());
    args.push_back(ORBQUEST_BINARY);
    gameArgs.insert(gameArgs.begin(), {"320", "240"});
    args.insert(args.end(), gameArgs.begin(), gameArgs.end());
    return runProcess(args, ORBQUEST_SOURCE_DIR, 300);
}

std::vector<std::string> landingArgs(const std::string& wav, int frames = kLandingFrames) {
    return {"--fast-forward", "--replay", kLandingReplay, "--frames", std::to_string(frames),
            "--audio-out",    wav};
}

double secondsOf(const std::string& soundFile) {
    const WavFile wav = readWavFile(kSounds + soundFile);
    return wav.sampleRate > 0 ? static_cast<double>(wav.frames()) / wav.sampleRate : 0.0;
}

struct Stretch {
    double from;  // seconds
    double to;
};

bool overlaps(double from, double to, const std::vector<Stretch>& stretches) {
    for (const Stretch& s : stretches) {
        if (from < s.to && s.from < to) {
            return true;
        }
    }
    return false;
}

TEST(AudioOut, TheLandingReplayChimesAtItsFourLandingsAndIsSilentBetween) {
    TempDir dir;
    const ProcessResult run = runGame(dir, landingArgs(dir.file("land.wav")));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const WavFile wav = readWavFile(dir.file("land.wav"));
    ASSERT_EQ(wav.sampleRate, 48000);
    ASSERT_EQ(wav.channels, 2);
    // Every frame's game time, to the sample (the game's clock is single precision).
    EXPECT_NEAR(static_cast<double>(wav.frames()), kLandingFrames * kLandingFrameTime * 48000, 1);

    std::vector<Stretch> sounding;
    for (int frame : kLiftOffFrames) {
        sounding.push_back(
            {frame * kLandingFrameTime, frame * kLandingFrameTime + secondsOf("lift-off.wav")});
    }
    const int64_t window = wav.frameAt(kWindow);
    double previousHz = 0.0;
    for (int k = 0; k < 4; ++k) {
        const double onset = kChimeFrames[k] * kLandingFrameTime;
        sounding.push_back({onset, onset + secondsOf("chime.wav")});
        SCOPED_TRACE("chime " + std::to_string(k + 1) + " at " + std::to_string(onset) + " s");
        const int64_t start = wav.frameAt(onset);
        EXPECT_LE(wav.peak(start - window, window), kSilence) << "sound before the landing";
        EXPECT_GT(wav.peak(start, window), 0.1) << "no sound at the landing";
        // The chime's own pitch, raised with each target done; a semitone off is far weaker.
        const double hz = kChimeHz * chimePitch(k + 1, 178);
        EXPECT_GT(wav.powerAt(hz, start, window), 20 * wav.powerAt(hz * 1.06, start, window));
        EXPECT_GT(hz, previousHz);
        previousHz = hz;
    }
    // Nothing sounds in any window that none of the sounds reaches.
    for (int64_t first = 0; first + window <= wav.frames(); first += window) {
        const double from = static_cast<double>(first) / wav.sampleRate;
        if (!overlaps(from, from + kWindow, sounding)) {
            ASSERT_LE(wav.peak(first, window), kSilence) << "sound at " << from << " s";
        }
    }
}

// The loopback device mixes exactly each frame's game time: the same file on every run, drawn
// or fast-forwarded, with no audio backend at all, and whatever the player's OpenAL
// configuration says about the mix.
TEST(AudioOut, WritesTheSameFileEveryTimeDrawnOrFastForwardedWithOrWithoutADevice) {
    TempDir dir;
    const int frames = 120;  // the first landing and its chime
    const ProcessResult first = runGame(dir, landingArgs(dir.file("first.wav"), frames));
    const ProcessResult again = runGame(dir, landingArgs(dir.file("again.wav"), frames));
    const ProcessResult noDevice =
        runGame(dir, landingArgs(dir.file("none.wav"), frames), {"ALSOFT_DRIVERS=nosuchdriver"});
    TempDir configuredHome;
    configuredHome.write("alsoft.conf",
                         "[general]\noutput-limiter = true\nstereo-encoding = uhj\n"
                         "volume-adjust = 6\nresampler = bsinc24\n");
    const ProcessResult configured =
        runGame(configuredHome, landingArgs(dir.file("configured.wav"), frames));
    std::vector<std::string> drawnArgs = landingArgs(dir.file("drawn.wav"), frames);
    drawnArgs.erase(drawnArgs.begin());  // no --fast-forward
    const ProcessResult drawn = runGame(dir, drawnArgs);
    for (const ProcessResult* run : {&first, &again, &noDevice, &configured, &drawn}) {
        ASSERT_EQ(run->exitCode, 0) << run->output;
    }
    const std::string written = readFile(dir.file("first.wav"));
    ASSERT_GT(written.size(), 100000u);
    EXPECT_TRUE(readFile(dir.file("again.wav")) == written);
    EXPECT_TRUE(readFile(dir.file("none.wav")) == written);
    EXPECT_TRUE(readFile(dir.file("configured.wav")) == written);
    EXPECT_TRUE(readFile(dir.file("drawn.wav")) == written);
    EXPECT_EQ(countOccurrences(noDevice.output, "Sound is off"), 0u)
        << "a file needs no device: " << noDevice.output;
}

TEST(AudioOut, MutedWritesSilenceOfTheSameLength) {
    TempDir dir;
    std::vector<std::string> mutedArgs = landingArgs(dir.file("muted.wav"), 120);
    mutedArgs.push_back("--mute");
    const ProcessResult loud = runGame(dir, landingArgs(dir.file("loud.wav"), 120));
    const ProcessResult muted = runGame(dir, mutedArgs);
    ASSERT_EQ(loud.exitCode, 0) << loud.output;
    ASSERT_EQ(muted.exitCode, 0) << muted.output;
    const WavFile heard = readWavFile(dir.file("loud.wav"));
    const WavFile silent = readWavFile(dir.file("muted.wav"));
    ASSERT_GT(heard.peak(0, heard.frames()), 0.1);
    EXPECT_EQ(silent.frames(), heard.frames());
    EXPECT_EQ(silent.peak(0, silent.frames()), 0.0);
}

// M acts once per press, not on its repeats; muted, a sound goes on unheard and is heard again
// from where it has got to once the sound is back.
TEST(AudioOut, MTurnsTheSoundOffAndOnOncePerPress) {
    TempDir dir;
    dir.write("m.replay",
              "dt 1/64\n"  // the first frame's events come before the game listens
              "dt 1/64 press M repeat M release M\n"
              "frames 3 dt 1/64 keys SPACE\n"
              "dt 1/64 keys SPACE press M release M\n"
              "frames 10 dt 1/64 keys SPACE\n");
    const ProcessResult run = runGame(dir, {"--fast-forward", "--replay", dir.file("m.replay"),
                                            "--frames", "16", "--audio-out", dir.file("m.wav")});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(countOccurrences(run.output, "Sound: Off\n"), 1u) << run.output;
    EXPECT_EQ(countOccurrences(run.output, "Sound: On\n"), 1u) << run.output;
    EXPECT_LT(run.output.find("Sound: Off"), run.output.find("Sound: On"));
    const WavFile wav = readWavFile(dir.file("m.wav"));
    const int64_t frame = 48000 / 64;
    ASSERT_EQ(wav.frames(), 16 * frame);
    // The lift-off starts in frame 2, muted; the sound is back in frame 6.
    EXPECT_EQ(wav.peak(0, 6 * frame), 0.0);
    EXPECT_GT(wav.peak(6 * frame, frame), 0.01);
}

TEST(AudioOut, WithoutAnAudioDeviceTheGameSaysSoOnceAndPlaysOn) {
    TempDir dir;
    const ProcessResult run =
        runGame(dir, {"--fast-forward", "--replay", kLandingReplay, "--frames", "120"},
                {"ALSOFT_DRIVERS=nosuchdriver"});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    const std::vector<std::string> lines = splitLines(run.output);
    int soundLines = 0;
    for (const std::string& line : lines) {
        soundLines += line.rfind("Sound is off: ", 0) == 0 ? 1 : 0;
    }
    EXPECT_EQ(soundLines, 1) << run.output;
    EXPECT_NE(run.output.find("Welcome to >>Orbquest<<\n"), std::string::npos) << run.output;
}

TEST(AudioOut, AFileThatCannotBeWrittenIsRefusedBeforeTheWindowOpens) {
    TempDir dir;
    const ProcessResult run =
        runGame(dir, {"--frames", "1", "--audio-out", "/no/such/folder/out.wav"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output,
              "Executing: " + std::string(ORBQUEST_BINARY) +
                  "\nCannot write the sound file /no/such/folder/out.wav: No such file or "
                  "directory\n");
}

// The file is only begun once the game has started: a start-up that fails leaves nothing.
TEST(AudioOut, AGameThatFailsToStartLeavesNoFile) {
    TempDir home;
    TempDir out;
    const ProcessResult run = runGame(home, {"--frames", "1", "--audio-out", out.file("x.wav")},
                                      {"GALLIUM_DRIVER=softpipe"});  // OpenGL 3.3 at most
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("Failed to create a window!"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("AL lib"), std::string::npos) << run.output;
    EXPECT_TRUE(std::filesystem::is_empty(out.path()));
}

// Refused like a missing model: the file named, exit code 1.
TEST(AudioOut, AMissingOrUnreadableSoundFileEndsTheGameNamingIt) {
    const struct {
        const char* what;
        bool remove;
    } cases[] = {{"missing", true}, {"not a sound", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        dir.copyGameAssets();
        const std::string chime = dir.file("Orbquest/Scene/Content/Sounds/chime.wav");
        if (c.remove) {
            std::remove(chime.c_str());
        } else {
            dir.write("Orbquest/Scene/Content/Sounds/chime.wav", "RIFF and nothing more");
        }
        const ProcessResult run = runProcess({ORBQUEST_BINARY, "--frames", "1"}, dir.path());
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.output.rfind(
                      "Failed to load the sound file Orbquest/Scene/Content/Sounds/chime.wav! ", 0),
                  0u)
            << run.output;
        EXPECT_EQ(countOccurrences(run.output, "\n"), 1u) << run.output;
    }
}

}  // namespace
