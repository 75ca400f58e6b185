#include "render/Shader.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

#include "base/Fatal.h"

namespace {

// Reads the driver's whole info log of a shader or program object and ends the process with
// it; 'files' says on a line of its own which files the log is about.
[[noreturn]] void failWithInfoLog(const std::string& prefix, GLuint object,
                                  PFNGLGETSHADERIVPROC getParameter,
                                  PFNGLGETSHADERINFOLOGPROC getInfoLog, const std::string& files) {
    GLint logLength = 0;
    getParameter(object, GL_INFO_LOG_LENGTH, &logLength);
    std::vector<char> log(static_cast<size_t>(logLength) + 1, '\0');
    getInfoLog(object, logLength, nullptr, log.data());
    const std::string message = prefix + log.data();
    log = std::vector<char>();  // released before the process ends
    std::cout << message << std::endl;
    fatalError(files);
}

}  // namespace

Shader::Shader(const std::string& vertexPath, const std::string& fragmentPath,
               const ShaderDefines& defines)
    : defines_(defines), paths_(vertexPath + " and " + fragmentPath) {
    hasGeometryShader = false;
    createProgram();
    loadShader(vertexPath, GL_VERTEX_SHADER, vertexShaderHandle);
    loadShader(fragmentPath, GL_FRAGMENT_SHADER, fragmentShaderHandle);
    linkProgram();
}

Shader::Shader(const std::string& vertexPath, const std::string& geometryPath,
               const std::string& fragmentPath, const ShaderDefines& defines)
    : defines_(defines), paths_(vertexPath + ", " + geometryPath + " and " + fragmentPath) {
    hasGeometryShader = true;
    createProgram();
    // Stage order matters for which failure is reported first: vertex, geometry, fragment.
    loadShader(vertexPath, GL_VERTEX_SHADER, vertexShaderHandle);
    loadShader(geometryPath, GL_GEOMETRY_SHADER, geometryShaderHandle);
    loadShader(fragmentPath, GL_FRAGMENT_SHADER, fragmentShaderHandle);
    linkProgram();
}

Shader::~Shader() {
    glDeleteProgram(programHandle);
    glDeleteShader(vertexShaderHandle);
    glDeleteShader(fragmentShaderHandle);
    if (hasGeometryShader) {
        glDeleteShader(geometryShaderHandle);
    }
}

void Shader::use() {
    glUseProgram(programHandle);
}

void Shader::createProgram() {
    programHandle = glCreateProgram();
    if (programHandle == 0) {
        fatalError("Failed to create a program handle in Shader!");
    }
}

void Shader::loadShader(const std::string& path, GLenum type, GLuint& handle) {
    // A directory opens like a file on Linux but cannot be read: refused like a missing file.
    std::error_code ignored;
    std::ifstream file(path);
    if (std::filesystem::is_directory(path, ignored) || !file.good()) {
        fatalError("Failed to load the shader file " + path + " in Shader!");
    }
    const std::string source{std::istreambuf_iterator<char>(file),
                             std::istreambuf_iterator<char>()};
    if (file.bad()) {
        fatalError("Failed to load the shader file " + path + " in Shader!");
    }
    file.close();

    handle = glCreateShader(type);
    if (handle == 0) {
        fatalError("Failed to create a handle in Shader!");
    }
    const std::string compiled = withDefines(source, defines_);
    const char* text = compiled.c_str();
    glShaderSource(handle, 1, &text, nullptr);
    glCompileShader(handle);

    GLint status = 0;
    glGetShaderiv(handle, GL_COMPILE_STATUS, &status);
    if (status != 0) {
        return;
    }
    failWithInfoLog("Failed to get a parameter from a shader object! Failure-Message: ", handle,
                    glGetShaderiv, glGetShaderInfoLog,
                    "The shader file " + path + " does not compile.");
}

void Shader::linkProgram() {
    glAttachShader(programHandle, vertexShaderHandle);
    if (hasGeometryShader) {
        glAttachShader(programHandle, geometryShaderHandle);
    }
    glAttachShader(programHandle, fragmentShaderHandle);
    glLinkProgram(programHandle);

    GLint status = 0;
    glGetProgramiv(programHandle, GL_LINK_STATUS, &status);
    if (status != 0) {
        return;
    }
    failWithInfoLog(
        "Failed to get a parameter from a program object! Failure-Message: ", programHandle,
        glGetProgramiv, glGetProgramInfoLog, "The shader files " + paths_ + " do not link.");
}
