#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// A child process with its standard output and error captured together, standard input
// closed (so the game's fatal pause never waits), and XDG_DATA_HOME and XDG_CONFIG_HOME in a
// folder of its own that goes with it (a test that needs another starts /usr/bin/env).
class ChildProcess {
  public:
    ChildProcess(const std::vector<std::string>& args, const std::string& workingDirectory = "");
    ~ChildProcess();

    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Waits until the output holds 'text' or the process ends; false on timeout or end.
    bool waitForOutput(const std::string& text, double timeoutSeconds);
    // Waits for the end; returns the exit code, or -1 on timeout (the process is then killed).
    int wait(double timeoutSeconds);
    bool running();
    const std::string& output();
    pid_t pid() const { return pid_; }

  private:
    void drain(int timeoutMilliseconds);

    pid_t pid_ = -1;
    int outputFd_ = -1;
    int exitCode_ = -1;
    bool exited_ = false;
    std::string output_;
    std::string xdgHome_;  // the child's data and configuration folders lie below it
};

struct ProcessResult {
    int exitCode;
    std::string output;
};

ProcessResult runProcess(const std::vector<std::string>& args,
                         const std::string& workingDirectory = "", double timeoutSeconds = 120);

// Runs a shell command line and returns what it printed (for xdotool and friends).
std::string shellOutput(const std::string& command);

// How many times 'part' occurs in 'text' (overlapping occurrences count).
size_t countOccurrences(const std::string& text, const std::string& part);

// Lines of 'text', without their line ends.
std::vector<std::string> splitLines(const std::string& text);
