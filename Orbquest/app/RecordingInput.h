#pragma once

#include <cstdio>
#include <string>

#include "app/Input.h"
#include "app/Replay.h"
#include "app/ReplayClock.h"

// Live input that also writes every frame to a replay file: its frame time, the keys down,
// the cursor, and the key events delivered to the game's callback. The game runs on the
// recorded frame times, kept within what a replay takes; a frame beyond the replay limits
// (or a failed write) ends the recording with a console line, and the game goes on.
class RecordingInput : public LiveInput {
public:
    RecordingInput() = default;
    ~RecordingInput() override;
    RecordingInput(const RecordingInput&) = delete;
    RecordingInput& operator=(const RecordingInput&) = delete;

    // Opens the file for writing; false (with the reason) if it cannot be.
    bool open(const std::string& path, std::string& error);
    // Writes the frame still in progress and closes the file.
    void finish();

    float frameStartTime(GLFWwindow* window) override;
    void setKeyCallback(GLFWwindow* window, GLFWkeyfun callback) override;

private:
    static void recordingKeyCallback(GLFWwindow* window, int key, int scancode, int action,
                                     int mods);
    void flushFrame();
    float replayableFrameTime(float measured);
    void stop(const std::string& reason);

    std::FILE* file_ = nullptr;
    std::string path_;
    size_t bytesWritten_ = 0;
    long framesWritten_ = 0;
    ReplayFrame frame_;
    bool frameOpen_ = false;
    float lastLiveClock_ = 0.0f;  // GLFW's clock at the previous frame
    float clock_ = 0.0f;          // the game's clock: the recorded frame times added up
    ReplayClock replayClock_;
    GLFWkeyfun gameCallback_ = nullptr;
};
