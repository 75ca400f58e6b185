#pragma once

#include <string>

#include "base/AtomicFile.h"
#include "input/Input.h"
#include "input/Replay.h"
#include "input/ReplayClock.h"

// Passes another input source (live play, the autopilot) through to the game and writes every
// frame to a replay file: its frame time, the keys down, the cursor, the pad, and the key events
// delivered to the game's callback. The game runs on the recorded frame times, kept within
// what a replay takes; a frame beyond the replay limits (or a failed write) ends the
// recording with a console line, and the game goes on. The lines go to a temporary file beside
// the replay file as each frame ends, and it takes the file's name when the recording finishes;
// one that is never finished (the game crashed) keeps every line written, which still plays.
class RecordingInput : public InputSource {
  public:
    explicit RecordingInput(InputSource& source) : source_(source) {}
    ~RecordingInput() override;
    RecordingInput(const RecordingInput&) = delete;
    RecordingInput& operator=(const RecordingInput&) = delete;

    // Begins the file; false (with the reason) if it cannot be. Nothing is written under 'path'
    // before finish(). A recording on a level other than the road ('level' empty) names it first.
    bool open(const std::string& path, std::string& error, const std::string& level = "");
    // Writes the frame still in progress and puts the file in place; false, with the reason,
    // when it could not be written, and then the file at 'path' is as it was. A recording that
    // a limit ended is kept up to that frame. Without a file, there is nothing to do.
    bool finish(std::string& error);

    float frameStartTime(GLFWwindow* window) override;
    int getKey(GLFWwindow* window, int key) override { return source_.getKey(window, key); }
    void getCursorPos(GLFWwindow* window, double* x, double* y) override {
        source_.getCursorPos(window, x, y);
    }
    PadState getGamepad(GLFWwindow* window) override { return source_.getGamepad(window); }
    void pollEvents(GLFWwindow* window) override { source_.pollEvents(window); }
    void setKeyCallback(GLFWwindow* window, GLFWkeyfun callback) override;
    void setFocusCallback(GLFWwindow* window, GLFWwindowfocusfun callback) override;
    void waitForEvents(GLFWwindow* window, double seconds,
                       const std::function<bool()>& done) override {
        source_.waitForEvents(window, seconds, done);
    }

  private:
    static void recordingKeyCallback(GLFWwindow* window, int key, int scancode, int action,
                                     int mods);
    static void recordingFocusCallback(GLFWwindow* window, int focused);
    void flushFrame();
    float replayableFrameTime(float measured);
    void stop(const std::string& reason);

    InputSource& source_;
    AtomicFile file_;
    bool writing_ = false;  // frames still go into the file; a limit or a failed write ends that
    std::string path_;
    size_t bytesWritten_ = 0;
    long framesWritten_ = 0;
    ReplayFrame frame_;
    PadState writtenPad_;  // the pad as the lines written so far leave it
    bool frameOpen_ = false;
    float lastSourceClock_ = 0.0f;  // the passed-through source's clock at the previous frame
    float clock_ = 0.0f;            // the game's clock: the recorded frame times added up
    ReplayClock replayClock_;
    GLFWkeyfun gameCallback_ = nullptr;
    GLFWwindowfocusfun gameFocusCallback_ = nullptr;
};
