#pragma once

#include <GL/glew.h>

#include <string>

#include "render/ShaderDefines.h"

// One linked GL program built from GLSL files read at start-up. Any failure while building
// ends the process, so a Shader that exists is always linked. Users look uniforms and
// attributes up themselves on programHandle. With 'defines', each source is compiled with
// those definitions after its #version line (the game's programs take gameShaderDefines()).
class Shader {
  public:
    GLuint programHandle = 0;
    GLuint vertexShaderHandle = 0;
    GLuint fragmentShaderHandle = 0;
    GLuint geometryShaderHandle = 0;  // only meaningful when hasGeometryShader
    bool hasGeometryShader = false;

    Shader(const std::string& vertexPath, const std::string& fragmentPath,
           const ShaderDefines& defines = {});
    Shader(const std::string& vertexPath, const std::string& geometryPath,
           const std::string& fragmentPath, const ShaderDefines& defines = {});
    ~Shader();

    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;

    void use();

  private:
    void createProgram();
    void loadShader(const std::string& path, GLenum type, GLuint& handle);
    void linkProgram();

    ShaderDefines defines_;
    std::string paths_;  // the source files, as a failure to link names them
};
