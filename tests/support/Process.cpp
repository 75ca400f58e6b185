#include "support/Process.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fcntl.h>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& args,
                           const std::string& workingDirectory) {
    std::string home = "/tmp/orbquest-xdg-XXXXXX";
    if (!mkdtemp(home.data())) {
        throw std::runtime_error("mkdtemp failed");
    }
    xdgHome_ = home;
    // Whatever the game stores (records, settings) goes to the child's own folders, never to
    // a real home. Made before the fork: the child only calls what is safe after it.
    // OpenAL Soft's silent output: the game hears the same with or without a sound card, and
    // the tests never play through the speakers. A test wanting otherwise starts the game
    // through env.
    std::vector<std::string> environment = {"XDG_DATA_HOME=" + xdgHome_ + "/data",
                                            "XDG_CONFIG_HOME=" + xdgHome_ + "/config",
                                            "ALSOFT_DRIVERS=null"};
    for (char** variable = environ; *variable; ++variable) {
        const std::string entry = *variable;
        if (entry.rfind("XDG_DATA_HOME=", 0) != 0 && entry.rfind("XDG_CONFIG_HOME=", 0) != 0 &&
            entry.rfind("ALSOFT_DRIVERS=", 0) != 0) {
            environment.push_back(entry);
        }
    }
    std::vector<char*> envp;
    for (std::string& entry : environment) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);
    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        throw std::runtime_error("pipe failed");
    }
    pid_ = fork();
    if (pid_ < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid_ == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        dup2(pipeFds[1], STDERR_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        const int devNull = open("/dev/null", O_RDONLY);
        dup2(devNull, STDIN_FILENO);
        if (!workingDirectory.empty() && chdir(workingDirectory.c_str()) != 0) {
            _exit(127);
        }
        execvpe(argv[0], argv.data(), envp.data());  // a bare name is looked up on PATH
        _exit(127);
    }
    close(pipeFds[1]);
    outputFd_ = pipeFds[0];
    fcntl(outputFd_, F_SETFL, O_NONBLOCK);
}

ChildProcess::~ChildProcess() {
    if (running()) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (outputFd_ >= 0) {
        close(outputFd_);
    }
    std::error_code ignored;
    std::filesystem::remove_all(xdgHome_, ignored);
}

void ChildProcess::drain(int timeoutMilliseconds) {
    if (outputFd_ < 0) {
        return;
    }
    pollfd descriptor{outputFd_, POLLIN, 0};
    if (poll(&descriptor, 1, timeoutMilliseconds) <= 0) {
        return;
    }
    char buffer[4096];
    ssize_t count;
    while ((count = read(outputFd_, buffer, sizeof buffer)) > 0) {
        output_.append(buffer, static_cast<size_t>(count));
    }
    if (count == 0) {  // every writer has gone
        close(outputFd_);
        outputFd_ = -1;
    }
}

bool ChildProcess::running() {
    if (exited_) {
        return false;
    }
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        exited_ = true;
        exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return false;
    }
    return true;
}

bool ChildProcess::waitForOutput(const std::string& text, double timeoutSeconds) {
    const auto start = std::chrono::steady_clock::now();
    while (output_.find(text) == std::string::npos) {
        if (secondsSince(start) > timeoutSeconds) {
            return false;
        }
        if (!running()) {
            drain(0);
            return output_.find(text) != std::string::npos;
        }
        drain(50);
    }
    return true;
}

int ChildProcess::wait(double timeoutSeconds) {
    const auto start = std::chrono::steady_clock::now();
    while (running()) {
        if (secondsSince(start) > timeoutSeconds) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
            exited_ = true;
            exitCode_ = -1;
            break;
        }
        drain(50);
    }
    // The pipe closes once the child is gone, unless something it started still holds it.
    for (int attempt = 0; attempt < 20 && outputFd_ >= 0; ++attempt) {
        drain(100);
    }
    return exitCode_;
}

const std::string& ChildProcess::output() {
    drain(0);
    return output_;
}

ProcessResult runProcess(const std::vector<std::string>& args, const std::string& workingDirectory,
                         double timeoutSeconds) {
    ChildProcess child(args, workingDirectory);
    const int exitCode = child.wait(timeoutSeconds);
    return {exitCode, child.output()};
}

std::string shellOutput(const std::string& command) {
    std::string result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return result;
    }
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe)) {
        result += buffer;
    }
    pclose(pipe);
    return result;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line)) {
        lines.push_back(line);
    }
    return lines;
}

size_t countOccurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}
