#include "app/DebugOutput.h"

#include <GLFW/glfw3.h>

#include <iostream>
#include <sstream>

namespace {

// Driver chatter about buffer placement and usage hints that says nothing about our code.
constexpr GLuint kBufferInfoMessageId = 131185;
constexpr GLuint kBufferPerformanceMessageId = 131218;

}  // namespace

void installDebugOutput() {
    auto standard = reinterpret_cast<PFNGLDEBUGMESSAGECALLBACKPROC>(
        glfwGetProcAddress("glDebugMessageCallback"));
    auto arb = reinterpret_cast<PFNGLDEBUGMESSAGECALLBACKARBPROC>(
        glfwGetProcAddress("glDebugMessageCallbackARB"));
    auto amd = reinterpret_cast<PFNGLDEBUGMESSAGECALLBACKAMDPROC>(
        glfwGetProcAddress("glDebugMessageCallbackAMD"));

    if (standard) {
        standard(debugCallback, nullptr);
    } else if (arb) {
        arb(debugCallback, nullptr);
    } else if (amd) {
        amd(debugCallbackAMD, nullptr);
    }
    if (standard || arb) {
        // Messages then arrive on this thread, inside the call that caused them.
        glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    }
}

void GLAPIENTRY debugCallback(GLenum source, GLenum type, GLuint id, GLenum severity, GLsizei,
                              const GLchar* message, const void*) {
    if (id == kBufferInfoMessageId || id == kBufferPerformanceMessageId) {
        return;
    }
    std::cout << formatDebugMessage(source, type, id, severity, message) << std::endl;
}

void GLAPIENTRY debugCallbackAMD(GLuint id, GLenum category, GLenum severity, GLsizei,
                                 const GLchar* message, void*) {
    std::cout << formatDebugMessage(category, category, id, severity, message) << std::endl;
}

std::string formatDebugMessage(GLenum source, GLenum type, GLuint id, GLenum severity,
                               const char* message) {
    std::ostringstream line;
    line << "OpenGL Error: " << message << " [Source = " << debugSourceName(source)
         << ", Type = " << debugTypeName(type) << ", Severity = " << debugSeverityName(severity)
         << ", ID = " << id << "]";
    return line.str();
}

const char* debugSourceName(GLenum source) {
    switch (source) {
        case GL_DEBUG_SOURCE_API:
        case GL_DEBUG_CATEGORY_API_ERROR_AMD:
            return "API";
        case GL_DEBUG_SOURCE_WINDOW_SYSTEM:
        case GL_DEBUG_CATEGORY_WINDOW_SYSTEM_AMD:
            return "Window System";
        case GL_DEBUG_SOURCE_SHADER_COMPILER:
        case GL_DEBUG_CATEGORY_SHADER_COMPILER_AMD:
            return "Shader Compiler";
        case GL_DEBUG_SOURCE_THIRD_PARTY:
            return "Third Party";
        case GL_DEBUG_SOURCE_APPLICATION:
        case GL_DEBUG_CATEGORY_APPLICATION_AMD:
            return "Application";
        case GL_DEBUG_SOURCE_OTHER:
        case GL_DEBUG_CATEGORY_OTHER_AMD:
            return "Other";
        default:
            return "Unknown";
    }
}

const char* debugTypeName(GLenum type) {
    switch (type) {
        case GL_DEBUG_TYPE_ERROR:
            return "Error";
        case GL_DEBUG_TYPE_DEPRECATED_BEHAVIOR:
        case GL_DEBUG_CATEGORY_DEPRECATION_AMD:
            return "Deprecated Behavior";
        case GL_DEBUG_TYPE_UNDEFINED_BEHAVIOR:
        case GL_DEBUG_CATEGORY_UNDEFINED_BEHAVIOR_AMD:
            return "Undefined Behavior";
        case GL_DEBUG_TYPE_PORTABILITY:
            return "Portability";
        case GL_DEBUG_TYPE_PERFORMANCE:
        case GL_DEBUG_CATEGORY_PERFORMANCE_AMD:
            return "Performance";
        case GL_DEBUG_TYPE_OTHER:
        case GL_DEBUG_CATEGORY_OTHER_AMD:
            return "Other";
        default:
            return "Unknown";
    }
}

const char* debugSeverityName(GLenum severity) {
    switch (severity) {
        case GL_DEBUG_SEVERITY_HIGH:
            return "High";
        case GL_DEBUG_SEVERITY_MEDIUM:
            return "Medium";
        case GL_DEBUG_SEVERITY_LOW:
            return "Low";
        default:
            return "Unknown";
    }
}
