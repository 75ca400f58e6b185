#include "input/RecordingInput.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iostream>
#include <limits>
#include <sstream>

namespace {
// The recording that GLFW's key and focus callbacks reach (they carry no object of ours): set
// when a recording installs them, cleared when that recording goes, whatever ended it, so a
// callback left on a window that outlives the recording reaches nothing.
RecordingInput* activeRecording = nullptr;
const char* const kHeader = "# Orbquest replay: one line per frame (see README)\n";
}  // namespace

// Unfinished, the temporary file goes with it.
RecordingInput::~RecordingInput() {
    if (activeRecording == this) {
        activeRecording = nullptr;
    }
}

bool RecordingInput::open(const std::string& path, std::string& error, const std::string& level) {
    const std::string header =
        kHeader + (level.empty() ? std::string() : formatReplayLevel(level) + "\n");
    if (!file_.open(path) || !file_.write(header)) {
        error = file_.error();
        file_.discard();
        return false;
    }
    path_ = path;
    writing_ = true;
    bytesWritten_ = header.size();
    return true;
}

bool RecordingInput::finish(std::string& error) {
    flushFrame();
    writing_ = false;
    if (!file_.isOpen()) {
        error = file_.error();
        return !file_.failed();
    }
    if (!file_.commit()) {
        error = file_.error();
        return false;
    }
    return true;
}

float RecordingInput::frameStartTime(GLFWwindow* window) {
    flushFrame();
    const float now = source_.frameStartTime(window);
    frame_ = ReplayFrame();
    frame_.frameTime = replayableFrameTime(now - lastSourceClock_);
    lastSourceClock_ = now;
    // The game runs on the replay's clock, added up in the same single precision, so the
    // recording plays back exactly what the player saw.
    clock_ += frame_.frameTime;
    for (int key : recordableKeys()) {
        if (source_.getKey(window, key) != GLFW_RELEASE) {
            frame_.keysDown.push_back(key);
        }
    }
    // Nothing changes the keys or the cursor before this frame's event poll, so what the game
    // reads during the frame is what is noted here.
    source_.getCursorPos(window, &frame_.cursorX, &frame_.cursorY);
    frame_.pad = source_.getGamepad(window);
    frameOpen_ = true;
    return clock_;
}

// A stalled frame counts as the longest frame a replay takes, and one too short for the clock
// (two frames within the timer's resolution) as the shortest that still moves it.
float RecordingInput::replayableFrameTime(float measured) {
    float frameTime =
        std::clamp(measured, shortestReplayFrameTime(), static_cast<float>(kMaxFrameTime));
    while (!replayClock_.add(frameTime, 1) && frameTime <= kMaxFrameTime) {
        frameTime *= 2.0f;
    }
    if (frameTime > kMaxFrameTime && writing_) {
        stop("the game's clock has run too long for a replay");
    }
    return frameTime;
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

void RecordingInput::setFocusCallback(GLFWwindow* window, GLFWwindowfocusfun callback) {
    gameFocusCallback_ = callback;
    activeRecording = this;
    source_.setFocusCallback(window, callback ? recordingFocusCallback : nullptr);
}

// Only the losses are noted: the game does nothing when the window gets the focus back.
void RecordingInput::recordingFocusCallback(GLFWwindow* window, int focused) {
    RecordingInput* recording = activeRecording;
    if (!recording) {
        return;
    }
    if (recording->frameOpen_ && !focused) {
        recording->frame_.events.push_back({kFocusLost, GLFW_RELEASE});
    }
    if (recording->gameFocusCallback_) {
        recording->gameFocusCallback_(window, focused);
    }
}

// A frame the replay parser would refuse ends the recording before it; what was written stays
// a valid replay.
void RecordingInput::flushFrame() {
    if (!frameOpen_ || !writing_) {
        return;
    }
    frameOpen_ = false;
    if (frame_.events.size() > kMaxEventsPerLine) {
        stop("a frame had more than " + std::to_string(kMaxEventsPerLine) + " key events");
        return;
    }
    if (std::abs(frame_.cursorX) > kMaxCursor || std::abs(frame_.cursorY) > kMaxCursor) {
        stop("the cursor went beyond the replay's limit");
        return;
    }
    const std::string line = formatReplayFrame(frame_, writtenPad_) + "\n";
    if (bytesWritten_ + line.size() > kMaxReplayBytes) {
        stop("the file reached the replay size limit of " +
             std::to_string(kMaxReplayBytes / (1024 * 1024)) + " MiB");
        return;
    }
    if (!file_.write(line)) {
        stop(file_.error());
        return;
    }
    bytesWritten_ += line.size();
    ++framesWritten_;
    writtenPad_ = frame_.pad;
}

void RecordingInput::stop(const std::string& reason) {
    std::cout << "Recording to " << path_ << " stopped after " << framesWritten_
              << " frames: " << reason << std::endl;
    writing_ = false;
}
