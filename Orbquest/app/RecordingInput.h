#pragma once

#include <cstdio>
#include <string>

#include "app/Input.h"
#include "app/Replay.h"

// Passes another input source (live play, the autopilot) through to the game and writes every
// frame to a replay file: its frame time, the keys down, the cursor, and the key events
// delivered to the game's callback.
class RecordingInput : public InputSource {
public:
    explicit RecordingInput(InputSource& source) : source_(source) {}
    ~RecordingInput() override;
    RecordingInput(const RecordingInput&) = delete;
    RecordingInput& operator=(const RecordingInput&) = delete;

    // Opens the file for writing; false (with the reason) if it cannot be.
    bool open(const std::string& path, std::string& error);
    // Writes the frame still in progress and closes the file.
    void finish();

    float frameStartTime(GLFWwindow* window) override;
    int getKey(GLFWwindow* window, int key) override { return source_.getKey(window, key); }
    void getCursorPos(GLFWwindow* window, double* x, double* y) override {
        source_.getCursorPos(window, x, y);
    }
    void pollEvents(GLFWwindow* window) override { source_.pollEvents(window); }
    void setKeyCallback(GLFWwindow* window, GLFWkeyfun callback) override;

private:
    static void recordingKeyCallback(GLFWwindow* window, int key, int scancode, int action,
                                     int mods);
    void flushFrame();

    InputSource& source_;
    std::FILE* file_ = nullptr;
    ReplayFrame frame_;
    bool frameOpen_ = false;
    float lastClock_ = 0.0f;
    GLFWkeyfun gameCallback_ = nullptr;
};
