#pragma once

struct GLFWwindow;

class FrameCapture;
struct Options;

// Runs frames until quitting is requested, the window is closed or the game has ended.
// 'capture', when given, keeps the last frame drawn.
void runMainLoop(GLFWwindow* window, const Options& options, FrameCapture* capture);
