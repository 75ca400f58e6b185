#include "app/FrameStats.h"

#include <cstdio>
#include <ctime>

std::string frameStatsHeader() {
    return "frame,frame_ms,shadow_pass_ms,colour_pass_ms,shadow_submit_ms,update_ms,"
           "colour_submit_ms,swap_ms,process_cpu_ms";
}

std::string formatFrameTimes(int frame, const FrameTimes& times) {
    char row[256];
    std::snprintf(row, sizeof row, "%d,%.3f,%.3f,%.3f,%.3f,%.3f,%.3f,%.3f,%.3f", frame, times.frame,
                  times.shadowPass, times.colourPass, times.shadowSubmit, times.update,
                  times.colourSubmit, times.swap, times.processCpu);
    return row;
}

FrameStats::~FrameStats() {
    if (queries_[0] != 0) {
        glDeleteQueries(kQueryCount, queries_);
    }
}

bool FrameStats::open(const std::string& path, std::string& error) {
    if (!file_.open(path) || !file_.write(frameStatsHeader() + "\n")) {
        error = file_.error();
        file_.discard();
        return false;
    }
    glGenQueries(kQueryCount, queries_);
    return true;
}

bool FrameStats::finish(std::string& error) {
    if (!file_.commit()) {
        error = file_.error();
        return false;
    }
    return true;
}

void FrameStats::shadowPassBegins() {
    shadowBeginCpu_ = processCpuMilliseconds();
    shadowBegin_ = Clock::now();
    glBeginQuery(GL_TIME_ELAPSED, queries_[kShadowQuery]);
}

void FrameStats::shadowPassEnds() {
    glEndQuery(GL_TIME_ELAPSED);
    shadowEnd_ = Clock::now();
}

void FrameStats::colourPassBegins() {
    colourBegin_ = Clock::now();
    glBeginQuery(GL_TIME_ELAPSED, queries_[kColourQuery]);
}

void FrameStats::colourPassEnds() {
    glEndQuery(GL_TIME_ELAPSED);
    colourEnd_ = Clock::now();
}

void FrameStats::swapBegins() {
    swapBegin_ = Clock::now();
}

void FrameStats::swapEnds() {
    const Clock::time_point swapEnd = Clock::now();
    FrameTimes times;
    times.processCpu = processCpuMilliseconds() - shadowBeginCpu_;
    times.frame = millisecondsBetween(shadowBegin_, swapEnd);
    times.shadowSubmit = millisecondsBetween(shadowBegin_, shadowEnd_);
    times.update = millisecondsBetween(shadowEnd_, colourBegin_);
    times.colourSubmit = millisecondsBetween(colourBegin_, colourEnd_);
    times.swap = millisecondsBetween(swapBegin_, swapEnd);
    // Read after the clocks, so waiting for the results does not count in any figure.
    times.shadowPass = queryMilliseconds(kShadowQuery);
    times.colourPass = queryMilliseconds(kColourQuery);
    // A failed write is kept and reported when the game ends.
    file_.write(formatFrameTimes(frame_++, times) + "\n");
}

double FrameStats::millisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double FrameStats::processCpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double FrameStats::queryMilliseconds(Query query) const {
    GLuint64 nanoseconds = 0;
    glGetQueryObjectui64v(queries_[query], GL_QUERY_RESULT, &nanoseconds);
    return static_cast<double>(nanoseconds) / 1e6;
}
