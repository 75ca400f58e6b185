#pragma once

struct GLFWwindow;

class FrameCapture;
class FrameStats;
struct Options;

// Runs frames until quitting is requested, the window is closed or the game has ended.
// 'capture', when given, keeps the last frame drawn; 'stats', when given, times every frame.
void runMainLoop(GLFWwindow* window, const Options& options, FrameCapture* capture,
                 FrameStats* stats);
