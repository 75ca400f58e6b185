#pragma once

#include <cstddef>
#include <string>
#include <vector>

// A replay is plain text, one line per frame or per run of identical frames:
//
//   frames 90 dt 1/60 keys W            hold W for 90 frames of 1/60 s
//   frames 1 dt 0.0166667 keys W SPACE cursor 512 384 press F3 release F3
//
// Words: "frames N" (default 1), "dt SECONDS" (a decimal or a fraction; required),
// "keys NAME..." (down during the frame; none if absent), "cursor X Y" (screen pixels; the
// previous line's position if absent), and key events "press NAME", "release NAME",
// "repeat NAME", delivered in order during each frame's event poll, among them "unfocus",
// the window losing the keyboard focus (which pauses the game). '#' starts a comment.
// Lines end in LF, CR LF or CR.
//
// The limits below keep a file from asking for unbounded memory or a clock the game cannot
// keep; the recorder stays within the same ones, so every recording plays back.

constexpr std::size_t kMaxReplayBytes = 16 * 1024 * 1024;  // the whole file
constexpr std::size_t kMaxReplayLineLength = 32 * 1024;    // characters, line end excluded
constexpr std::size_t kMaxEventsPerLine = 1000;            // press, release and repeat together
constexpr long kMaxFramesPerLine = 1000000;
constexpr double kMinFrameTime = 1e-6;  // seconds
constexpr double kMaxFrameTime = 10.0;  // seconds
constexpr double kMaxCursor = 1e9;      // pixels either way from the origin, on both axes

// The key of the event a window's focus loss is noted as; GLFW has no key of this code.
constexpr int kFocusLost = -2;

// One event of a frame's poll: a key's press, release or repeat, or (key kFocusLost) the
// window losing the focus, kept among the key events so that their order plays back.
struct KeyEvent {
    int key;
    int action;  // GLFW_PRESS, GLFW_RELEASE or GLFW_REPEAT; GLFW_RELEASE for a focus loss
};

struct ReplayFrame {
    long repeat = 1;         // how many identical frames this entry stands for
    float frameTime = 0.0f;  // seconds since the previous frame
    std::vector<int> keysDown;
    double cursorX = 0.0;
    double cursorY = 0.0;
    std::vector<KeyEvent> events;
};

struct ReplayScript {
    std::vector<ReplayFrame> frames;  // one entry per line; 'repeat' frames each
    std::string error;                // "line N: what is wrong"; empty when the text is valid
};

// The shortest frame time a replay holds, as the float the game adds up: the float nearest
// kMinFrameTime lies below it, so a recording of it would be refused.
float shortestReplayFrameTime();

// Refuses a text without frames, and any line beyond the limits above.
ReplayScript parseReplay(const std::string& text);
// Seconds as a replay or the command line writes them: a decimal or a fraction such as 1/60.
bool parseSeconds(const std::string& word, double& seconds);
// One line of a recording (frame times round-trip bit for bit).
std::string formatReplayFrame(const ReplayFrame& frame);

// Key names as replays write them ("W", "SPACE", "F3", "ESCAPE", ...); unnamed keys are
// written as "KEY" followed by the GLFW key code.
std::string keyName(int key);
int keyFromName(const std::string& name);  // -1 if unknown
// Every key a recording looks at when it notes which keys are down.
const std::vector<int>& recordableKeys();
