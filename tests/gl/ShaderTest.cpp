#include "render/Shader.h"

#include <gtest/gtest.h>

#include "support/GlContext.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace {

const std::string kShaderDir = "Orbquest/Scene/Shader/";

class ShaderTest : public testing::Test {
  protected:
    void SetUp() override { sharedGlContext(); }

    static GLint attachedCount(GLuint program) {
        GLint count = 0;
        glGetProgramiv(program, GL_ATTACHED_SHADERS, &count);
        return count;
    }
};

TEST_F(ShaderTest, SceneProgramLinksFromTwoStagesWithEveryUniformItIsSent) {
    Shader shader(kShaderDir + "omni.vert", kShaderDir + "omni.frag");
    EXPECT_FALSE(shader.hasGeometryShader);
    EXPECT_EQ(shader.geometryShaderHandle, 0u);
    EXPECT_EQ(attachedCount(shader.programHandle), 2);
    for (const char* name :
         {"view_proj", "model", "viewPos", "light.ambient", "light.diffuse", "light.specular",
          "light.position", "depthCube", "far_plane", "transparency", "diffuseTexture",
          "material.ambient", "material.diffuse", "material.specular", "material.shininess"}) {
        EXPECT_NE(glGetUniformLocation(shader.programHandle, name), -1) << name;
    }
    for (const char* name : {"position", "normal", "uv"}) {
        EXPECT_NE(glGetAttribLocation(shader.programHandle, name), -1) << name;
    }
}

TEST_F(ShaderTest, DepthProgramLinksFromThreeStagesAndSharesThePositionLocation) {
    Shader depth(kShaderDir + "depthC.vert", kShaderDir + "depthC.geom",
                 kShaderDir + "depthC.frag");
    Shader scene(kShaderDir + "omni.vert", kShaderDir + "omni.frag");
    EXPECT_TRUE(depth.hasGeometryShader);
    EXPECT_NE(depth.geometryShaderHandle, 0u);
    EXPECT_EQ(attachedCount(depth.programHandle), 3);
    for (int i = 0; i < 6; ++i) {
        const std::string name = "shadowMatrices[" + std::to_string(i) + "]";
        EXPECT_NE(glGetUniformLocation(depth.programHandle, name.c_str()), -1) << name;
    }
    for (const char* name : {"far_plane", "lightPos", "model"}) {
        EXPECT_NE(glGetUniformLocation(depth.programHandle, name), -1) << name;
    }
    // The depth pass draws the vertex arrays set up with the scene program's locations.
    EXPECT_EQ(glGetAttribLocation(depth.programHandle, "position"),
              glGetAttribLocation(scene.programHandle, "position"));
}

TEST_F(ShaderTest, UseMakesTheProgramCurrentAndDestructionDeletesEverything) {
    auto* shader = new Shader(kShaderDir + "depthC.vert", kShaderDir + "depthC.geom",
                              kShaderDir + "depthC.frag");
    shader->use();
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLuint>(current), shader->programHandle);

    const GLuint program = shader->programHandle;
    const GLuint stages[] = {shader->vertexShaderHandle, shader->geometryShaderHandle,
                             shader->fragmentShaderHandle};
    glUseProgram(0);
    delete shader;
    EXPECT_FALSE(glIsProgram(program));
    for (GLuint stage : stages) {
        EXPECT_FALSE(glIsShader(stage));
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Every build failure ends the process, so each case runs in a probe child process.
class ShaderFailureTest : public testing::Test {
  protected:
    ProcessResult probe(const std::vector<std::string>& paths) {
        std::vector<std::string> args{ORBQUEST_GL_PROBE, "shader"};
        args.insert(args.end(), paths.begin(), paths.end());
        return runProcess(args, ORBQUEST_SOURCE_DIR);
    }

    TempDir dir;
    const std::string goodVertex =
        "#version 430 core\nlayout(location = 0) in vec3 position;\n"
        "void main() { gl_Position = vec4(position, 1.0); }\n";
    const std::string goodFragment =
        "#version 430 core\nout vec4 colour;\nvoid main() { colour = vec4(1.0); }\n";
};

TEST_F(ShaderFailureTest, MissingVertexFileNamesThePathAsGiven) {
    dir.write("good.frag", goodFragment);
    const std::string missing = dir.path() + "/./missing.vert";
    const ProcessResult result = probe({missing, dir.file("good.frag")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.output, "Failed to load the shader file " + missing + " in Shader!\n");
}

TEST_F(ShaderFailureTest, MissingFragmentIsReportedAfterTheEarlierStagesCompiled) {
    // A broken geometry stage would have been reported first; a good one lets the load fail.
    const ProcessResult result =
        probe({kShaderDir + "depthC.vert", kShaderDir + "depthC.geom", "no/such.frag"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.output, "Failed to load the shader file no/such.frag in Shader!\n");
}

TEST_F(ShaderFailureTest, EmptyFileFailsToCompileWithTheDriverLog) {
    dir.write("empty.vert", "");
    dir.write("good.frag", goodFragment);
    const ProcessResult result = probe({dir.file("empty.vert"), dir.file("good.frag")});
    EXPECT_EQ(result.exitCode, 1);
    const std::string prefix = "Failed to get a parameter from a shader object! Failure-Message: ";
    EXPECT_EQ(result.output.rfind(prefix, 0), 0u) << result.output;
    EXPECT_GT(result.output.size(), prefix.size() + 1) << "the driver's log is missing";
}

TEST_F(ShaderFailureTest, CompileErrorPrintsTheDriverLog) {
    dir.write("good.vert", goodVertex);
    dir.write("broken.frag", "#version 430 core\nvoid main() { undeclaredThing = 1; }\n");
    const ProcessResult result = probe({dir.file("good.vert"), dir.file("broken.frag")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(
        result.output.rfind("Failed to get a parameter from a shader object! Failure-Message: ", 0),
        0u)
        << result.output;
    EXPECT_NE(result.output.find("undeclaredThing"), std::string::npos) << result.output;
}

TEST_F(ShaderFailureTest, LinkErrorPrintsTheProgramLog) {
    dir.write("good.vert", goodVertex);
    dir.write("unfed.frag",
              "#version 430 core\nin vec3 neverWritten;\nout vec4 colour;\n"
              "void main() { colour = vec4(neverWritten, 1.0); }\n");
    const ProcessResult result = probe({dir.file("good.vert"), dir.file("unfed.frag")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.output.rfind(
                  "Failed to get a parameter from a program object! Failure-Message: ", 0),
              0u)
        << result.output;
    EXPECT_NE(result.output.find("neverWritten"), std::string::npos) << result.output;
}

TEST_F(ShaderFailureTest, GoodFilesBuildInTheProbeToo) {
    const ProcessResult result = probe({kShaderDir + "omni.vert", kShaderDir + "omni.frag"});
    EXPECT_EQ(result.exitCode, 0) << result.output;
}

}  // namespace
