#include "support/GameSession.h"

#include <X11/Xlib.h>

#include <chrono>
#include <cstring>
#include <sstream>
#include <thread>

GameSession::GameSession(const std::vector<std::string>& gameArgs,
                         const std::string& workingDirectory) {
    std::vector<std::string> args{ORBQUEST_BINARY};
    args.insert(args.end(), gameArgs.begin(), gameArgs.end());
    process_ = std::make_unique<ChildProcess>(args, workingDirectory);
}

bool GameSession::waitForWelcome(double timeoutSeconds) {
    return process_->waitForOutput("Welcome to >>Orbquest<<", timeoutSeconds);
}

std::string GameSession::windowId(double timeoutSeconds) {
    const auto start = std::chrono::steady_clock::now();
    while (windowId_.empty() && process_->running()) {
        // --all: without it xdotool matches either condition, i.e. any game's window.
        const std::string found = xdotool("search --all --onlyvisible --pid " +
                                          std::to_string(process_->pid()) + " --name Orbquest");
        std::istringstream lines(found);
        lines >> windowId_;
        if (!windowId_.empty()) {
            break;
        }
        if (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() >
            timeoutSeconds) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return windowId_;
}

void GameSession::focus() {
    xdotool("windowfocus --sync " + windowId());
}

void GameSession::pressKey(const std::string& key) {
    focus();
    xdotool("key --delay 50 " + key);
}

void GameSession::keyDown(const std::string& key) {
    focus();
    xdotool("keydown " + key);
}

void GameSession::keyUp(const std::string& key) {
    xdotool("keyup " + key);
}

bool GameSession::turnOnCullingInfo() {
    for (int attempt = 0; attempt < 30 && process_->running(); ++attempt) {
        const std::string& output = process_->output();
        const size_t on = countOccurrences(output, "Culling-Info: On\n");
        const size_t off = countOccurrences(output, "Culling-Info: Off\n");
        if (on > off) {
            return true;
        }
        pressKey("F7");
        for (int wait = 0; wait < 40; ++wait) {
            if (countOccurrences(process_->output(), "Culling-Info: ") > on + off) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    return false;
}

ProcessResult runGame(const std::vector<std::string>& gameArgs, const std::string& workingDirectory,
                      double timeoutSeconds) {
    std::vector<std::string> args{ORBQUEST_BINARY};
    args.insert(args.end(), gameArgs.begin(), gameArgs.end());
    return runProcess(args, workingDirectory, timeoutSeconds);
}

std::string xdotool(const std::string& arguments) {
    return shellOutput("timeout " + std::to_string(kXdotoolSeconds) + " xdotool " + arguments);
}

void GameSession::requestClose() {
    sendCloseRequest(std::stoul(windowId()));
}

bool sendCloseRequest(unsigned long window) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        return false;
    }
    XEvent event;
    std::memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", True);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XCloseDisplay(display);
    return sent != 0;
}

std::pair<int, int> windowSize(const std::string& windowId) {
    const std::string geometry = xdotool("getwindowgeometry " + windowId);
    const size_t at = geometry.find("Geometry: ");
    int width = 0;
    int height = 0;
    if (at != std::string::npos) {
        std::sscanf(geometry.c_str() + at, "Geometry: %dx%d", &width, &height);
    }
    return {width, height};
}
