// The sound's file handling without a device: the samples per frame of a recording, the WAV
// writer, and reading sound files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/SampleClock.h"
#include "audio/SoundClip.h"
#include "audio/WavRecorder.h"
#include "support/TempDir.h"
#include "support/WavFile.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRate = 48000;

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

// Frame times as uneven as live play makes them, from a fixed generator.
std::vector<float> unevenFrameTimes(int count) {
    std::vector<float> times;
    uint32_t state = 12345;
    for (int i = 0; i < count; ++i) {
        state = state * 1664525u + 1013904223u;
        times.push_back(0.001f + static_cast<float>(state >> 8) / 16777216.0f * 0.2f);
    }
    return times;
}

TEST(SampleClock, EveryStepBringsTheTotalToTheRoundedGameTime) {
    SampleClock clock(kRate);
    float gameClock = 0.0f;  // kept as the game keeps it
    int64_t handedOut = 0;
    for (float dt : unevenFrameTimes(100000)) {
        const float last = gameClock;
        gameClock += dt;
        const int64_t step = clock.advance(gameClock - last);
        ASSERT_GE(step, 0);
        handedOut += step;
        ASSERT_EQ(handedOut, std::llround(static_cast<double>(gameClock) * kRate));
    }
    EXPECT_EQ(clock.total(), handedOut);
}

TEST(SampleClock, EvenFramesGetEvenShares) {
    const struct {
        double frameTime;
        int samples;
    } cases[] = {{1.0 / 64, 750}, {1.0 / 60, 800}, {1.0 / 75, 640}, {0.5, 24000}};
    for (const auto& c : cases) {
        SampleClock clock(kRate);
        for (int i = 0; i < 1000; ++i) {
            ASSERT_EQ(clock.advance(c.frameTime), c.samples) << c.frameTime << ", frame " << i;
        }
    }
    SampleClock clock(kRate);
    EXPECT_EQ(clock.advance(0.0), 0);
    EXPECT_EQ(clock.advance(-1.0), 0);
    EXPECT_EQ(clock.total(), 0);
}

TEST(WavRecorder, WritesClippedSixteenBitSamplesUnderTheNameOnlyWhenFinished) {
    TempDir dir;
    const std::string path = dir.file("out.wav");
    dir.write("out.wav", "an earlier file");
    WavRecorder recorder;
    std::string error;
    ASSERT_TRUE(recorder.open(path, kRate, 2, error)) << error;
    const float samples[] = {0.0f, 0.5f, -0.5f, 1.5f, -2.0f, 1.0f};
    recorder.write(samples, 3);
    EXPECT_EQ(readFile(path), "an earlier file") << "replaced before it is complete";
    ASSERT_TRUE(recorder.finish(error)) << error;
    EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"out.wav"});

    const WavFile wav = readWavFile(path);
    EXPECT_EQ(wav.sampleRate, kRate);
    EXPECT_EQ(wav.channels, 2);
    EXPECT_EQ(wav.samples, (std::vector<int16_t>{0, 16384, -16384, 32767, -32767, 32767}));
}

TEST(WavRecorder, AnUnfinishedRecordingLeavesNothingBehind) {
    TempDir dir;
    {
        WavRecorder recorder;
        std::string error;
        ASSERT_TRUE(recorder.open(dir.file("out.wav"), kRate, 2, error)) << error;
        const float silence[4] = {};
        recorder.write(silence, 2);
    }
    EXPECT_TRUE(filesIn(dir.path()).empty());
}

TEST(WavRecorder, RefusesWhatCannotBeWritten) {
    TempDir dir;
    fs::create_directory(dir.file("folder"));
    const struct {
        std::string path;
        const char* reason;
    } cases[] = {{dir.file("missing/out.wav"), "No such file or directory"},
                 {dir.file("folder"), "it is not a plain file"},
                 {"/dev/null", "it is not a plain file"}};  // a rename would replace it
    for (const auto& c : cases) {
        WavRecorder recorder;
        std::string error;
        EXPECT_FALSE(recorder.open(c.path, kRate, 2, error)) << c.path;
        EXPECT_NE(error.find(c.path + ": " + c.reason), std::string::npos) << error;
    }
}

TEST(SoundClip, ReadsAMonoFileAndRefusesAnyOtherWithItsReason) {
    TempDir dir;
    auto record = [&](const std::string& name, int channels, int64_t frames) {
        WavRecorder recorder;
        std::string error;
        ASSERT_TRUE(recorder.open(dir.file(name), kRate, channels, error));
        const std::vector<float> samples(static_cast<size_t>(frames * channels), 0.25f);
        recorder.write(samples.data(), frames);
        ASSERT_TRUE(recorder.finish(error));
    };
    record("mono.wav", 1, 480);
    record("stereo.wav", 2, 480);
    record("empty.wav", 1, 0);
    dir.write("text.wav", "not a sound at all");

    SoundClip clip;
    std::string error;
    ASSERT_TRUE(readSoundClip(dir.file("mono.wav"), clip, error)) << error;
    EXPECT_EQ(clip.sampleRate, kRate);
    EXPECT_EQ(clip.samples, std::vector<int16_t>(480, 8192));

    const struct {
        const char* name;
        const char* reason;  // a part of it
    } refused[] = {{"missing.wav", "No such file"},
                   {"text.wav", "not recognised"},
                   {"stereo.wav", "It has 2 channels; sounds must be mono."},
                   {"empty.wav", "It holds no sound."}};
    for (const auto& r : refused) {
        SoundClip none;
        error.clear();
        EXPECT_FALSE(readSoundClip(dir.file(r.name), none, error)) << r.name;
        EXPECT_NE(error.find(r.reason), std::string::npos) << r.name << ": " << error;
        EXPECT_TRUE(none.samples.empty());
    }
}

}  // namespace
