#pragma once

#include <GL/glew.h>

#include <chrono>
#include <string>

#include "base/AtomicFile.h"

// One frame's figures, in milliseconds. The two passes come from GL timer queries (the
// renderer's own work); the others are CPU clock readings on the game's thread.
struct FrameTimes {
    double frame = 0;         // start of the shadow pass to the end of the swap
    double shadowPass = 0;    // GL_TIME_ELAPSED around the shadow pass
    double colourPass = 0;    // GL_TIME_ELAPSED around the colour pass
    double shadowSubmit = 0;  // CPU: issuing the shadow pass
    double update = 0;        // CPU: the camera and level update between the passes
    double colourSubmit = 0;  // CPU: issuing the colour pass
    double swap = 0;          // CPU: the buffer swap
    // CPU time of the whole process over the frame, the renderer's threads included: unlike
    // the clock figures it hardly grows when other programs share the cores.
    double processCpu = 0;
};

// The CSV header line and one row, both without the line break.
std::string frameStatsHeader();
std::string formatFrameTimes(int frame, const FrameTimes& times);

// Times every frame into a CSV file (--frame-stats), written through a temporary file that
// takes the file's name when the game ends. The main loop calls it only when asked, so a game
// without the option creates no queries and reads no clocks.
class FrameStats {
  public:
    FrameStats() = default;
    ~FrameStats();
    FrameStats(const FrameStats&) = delete;
    FrameStats& operator=(const FrameStats&) = delete;

    // Opens the file and creates the timer queries; needs the GL context current and must be
    // destroyed while it still is.
    bool open(const std::string& path, std::string& error);
    // Puts the file in place; false, with the reason, if any of it could not be written.
    bool finish(std::string& error);

    // In the order the main loop runs the frame; swapEnds writes the frame's row.
    void shadowPassBegins();
    void shadowPassEnds();
    void colourPassBegins();
    void colourPassEnds();
    void swapBegins();
    void swapEnds();

  private:
    using Clock = std::chrono::steady_clock;
    enum Query { kShadowQuery, kColourQuery, kQueryCount };

    static double millisecondsBetween(Clock::time_point from, Clock::time_point to);
    static double processCpuMilliseconds();
    double queryMilliseconds(Query query) const;  // waits for the renderer to finish the pass

    AtomicFile file_;
    GLuint queries_[kQueryCount] = {0, 0};
    int frame_ = 0;
    Clock::time_point shadowBegin_;
    Clock::time_point shadowEnd_;
    Clock::time_point colourBegin_;
    Clock::time_point colourEnd_;
    Clock::time_point swapBegin_;
    double shadowBeginCpu_ = 0;  // process CPU time in ms
};
