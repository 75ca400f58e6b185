#pragma once

#include <memory>
#include <string>
#include <vector>

#include "support/Process.h"

// The real orbquest binary started as a child process on the test display, with the window
// found and driven through real X events (xdotool).
class GameSession {
  public:
    explicit GameSession(const std::vector<std::string>& gameArgs,
                         const std::string& workingDirectory = ORBQUEST_SOURCE_DIR);

    bool waitForWelcome(double timeoutSeconds = 120);
    // The X window id of the game window, once it is mapped; empty if it never appears.
    std::string windowId(double timeoutSeconds = 30);
    // Focuses the window and sends a real key press and release, e.g. "Escape", "F3".
    void pressKey(const std::string& key);
    void keyDown(const std::string& key);
    void keyUp(const std::string& key);
    // Key events before the end of the first frame find no callback yet, so F7 is pressed
    // until the culling info is on; from then on the game hears keys and every frame prints a
    // count line. False if it never comes on.
    bool turnOnCullingInfo();
    // Asks the window to close as a window manager would (WM_DELETE_WINDOW).
    void requestClose();

    ChildProcess& process() { return *process_; }

  private:
    void focus();

    std::unique_ptr<ChildProcess> process_;
    std::string windowId_;
};

// The game run to its end with these arguments, from the repository root unless told otherwise;
// ended should it run longer than 'timeoutSeconds'.
ProcessResult runGame(const std::vector<std::string>& gameArgs,
                      const std::string& workingDirectory = ORBQUEST_SOURCE_DIR,
                      double timeoutSeconds = 300);

// xdotool with the arguments given, ended after kXdotoolSeconds should it hang (e.g. waiting
// for a window that never maps); returns what it printed on standard output.
constexpr int kXdotoolSeconds = 20;
std::string xdotool(const std::string& arguments);

// Sends WM_DELETE_WINDOW to an X window, the message a window manager sends on a close click.
bool sendCloseRequest(unsigned long window);

// Width and height of an X window as xdotool reports them; {0, 0} if unknown.
std::pair<int, int> windowSize(const std::string& windowId);
