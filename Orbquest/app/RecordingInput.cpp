#include "app/RecordingInput.h"

#include <cerrno>
#include <cstring>

namespace {
RecordingInput* activeRecording = nullptr;  // GLFW callbacks carry no user pointer of ours
}  // namespace

RecordingInput::~RecordingInput() { finish(); }

bool RecordingInput::open(const std::string& path, std::string& error) {
    file_ = std::fopen(path.c_str(), "w");
    if (!file_) {
        error = std::strerror(errno);
        return false;
    }
    std::fputs("# Orbquest replay: one line per frame (see README)\n", file_);
    return true;
}

void RecordingInput::finish() {
    if (!file_) {
        return;
    }
    flushFrame();
    std::fclose(file_);
    file_ = nullptr;
    if (activeRecording == this) {
        activeRecording = nullptr;
    }
}

float RecordingInput::frameStartTime(GLFWwindow* window) {
    flushFrame();
    const float clock = source_.frameStartTime(window);
    frame_ = ReplayFrame();
    // The same single-precision difference the main loop takes, so a replay adds it back exactly.
    frame_.frameTime = clock - lastClock_;
    lastClock_ = clock;
    for (int key : recordableKeys()) {
        if (source_.getKey(window, key) != GLFW_RELEASE) {
            frame_.keysDown.push_back(key);
        }
    }
    // Nothing changes the keys or the cursor before this frame's event poll, so what the game
    // reads during the frame is what is noted here.
    source_.getCursorPos(window, &frame_.cursorX, &frame_.cursorY);
    frameOpen_ = true;
    return clock;
}

void RecordingInput::setKeyCallback(GLFWwindow* window, GLFWkeyfun callback) {
    gameCallback_ = callback;
    activeRecording = this;
    source_.setKeyCallback(window, callback ? recordingKeyCallback : nullptr);
}

void RecordingInput::recordingKeyCallback(GLFWwindow* window, int key, int scancode, int action,
                                          int mods) {
    RecordingInput* recording = activeRecording;
    if (!recording) {
        return;
    }
    if (recording->frameOpen_ && key >= GLFW_KEY_SPACE && key <= GLFW_KEY_LAST) {
        recording->frame_.events.push_back({key, action});
    }
    if (recording->gameCallback_) {
        recording->gameCallback_(window, key, scancode, action, mods);
    }
}

void RecordingInput::flushFrame() {
    if (!frameOpen_ || !file_) {
        return;
    }
    std::fprintf(file_, "%s\n", formatReplayFrame(frame_).c_str());
    std::fflush(file_);
    frameOpen_ = false;
}
