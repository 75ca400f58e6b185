#pragma once

#include <GL/glew.h>

#include <string>

// Asks the driver to report its debug messages, each printed as one console line. Needs a
// current context with the entry points loaded. The game installs it only with --gl-debug.
void installDebugOutput();

void GLAPIENTRY debugCallback(GLenum source, GLenum type, GLuint id, GLenum severity,
                              GLsizei length, const GLchar* message, const void* userParam);
// The AMD interface has one category where the others have a source and a type.
void GLAPIENTRY debugCallbackAMD(GLuint id, GLenum category, GLenum severity, GLsizei length,
                                 const GLchar* message, void* userParam);

std::string formatDebugMessage(GLenum source, GLenum type, GLuint id, GLenum severity,
                               const char* message);

const char* debugSourceName(GLenum source);
const char* debugTypeName(GLenum type);
const char* debugSeverityName(GLenum severity);
