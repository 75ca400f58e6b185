#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "input/PadState.h"

// A replay is plain text, one line per frame or per run of identical frames:
//
//   frames 90 dt 1/60 keys W            hold W for 90 frames of 1/60 s
//   frames 1 dt 0.0166667 keys W SPACE cursor 512 384 press F3 release F3
//
// Words: "frames N" (default 1), "dt SECONDS" (a decimal or a fraction; required),
// "keys NAME..." (down during the frame; none if absent), "cursor X Y" (screen pixels; the
// previous line's position if absent), and key events "press NAME", "release NAME",
// "repeat NAME", delivered in order during each frame's event poll, among them "unfocus",
// the window losing the keyboard focus (which pauses the game), and "pad LX LY RX RY BUTTONS"
// (the gamepad: both sticks from -1 to 1, and the buttons down as a hexadecimal bit set, bit
// n for GLFW's button n; the previous line's pad if absent, at rest before the first).
// '#' starts a comment. A line "level NAME" before the first frame names the level the replay
// was recorded on; a replay without one is the road's.
// Lines end in LF, CR LF or CR.
//
// The limits below keep a file from asking for unbounded memory or a clock the game cannot
// keep; the recorder stays within the same ones, so every recording plays back.

constexpr std::size_t kMaxReplayBytes = 16 * 1024 * 1024;  // the whole file
constexpr std::size_t kMaxReplayLineLength = 32 * 1024;    // characters, line end excluded
constexpr std::size_t kMaxEventsPerLine = 1000;            // press, release and repeat together
constexpr long kMaxFramesPerLine = 1000000;
constexpr double kMinFrameTime = 1e-6;       // seconds
constexpr double kMaxFrameTime = 10.0;       // seconds
constexpr double kMaxCursor = 1e9;           // pixels either way from the origin, on both axes
constexpr unsigned kMaxPadButtons = 0x7fff;  // GLFW's 15 gamepad buttons, all down

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
    PadState pad;
    std::vector<KeyEvent> events;
};

constexpr std::size_t kMaxReplayLevelName = 64;  // characters of the "level" word's name

struct ReplayScript {
    std::string level;                // the "level" line's name; empty for the road
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
// One line of a recording (frame times and the pad round-trip bit for bit). The pad is
// written only when it differs from the one the line before left.
std::string formatReplayFrame(const ReplayFrame& frame, const PadState& previousPad = PadState());

// The line a recording on a level other than the road starts with.
std::string formatReplayLevel(const std::string& level);

// Key names as replays write them ("W", "SPACE", "F3", "ESCAPE", ...); unnamed keys are
// written as "KEY" followed by the GLFW key code.
std::string keyName(int key);
int keyFromName(const std::string& name);  // -1 if unknown
// Every key a recording looks at when it notes which keys are down.
const std::vector<int>& recordableKeys();
