#include "render/Shader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/AssetPaths.h"
#include "render/SceneRenderer.h"
#include "support/GlContext.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace {

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
    const std::unique_ptr<Shader> scene(newSceneShader());
    const Shader& shader = *scene;
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
    const std::unique_ptr<Shader> depthProgram(newDepthShader());
    const std::unique_ptr<Shader> sceneProgram(newSceneShader());
    const Shader& depth = *depthProgram;
    const Shader& scene = *sceneProgram;
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
    auto* shader = newDepthShader();
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
        probe({assets::shader("depthC.vert"), assets::shader("depthC.geom"), "no/such.frag"});
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

// The game's definitions go in after #version, yet the log counts the file's own lines, and
// the line after it names the file (here the geometry stage of a three-stage program).
TEST_F(ShaderFailureTest, CompileErrorPrintsTheDriverLogThenTheFile) {
    dir.write("good.vert", goodVertex);
    dir.write("good.frag", goodFragment);
    dir.write("broken.geom",
              "#version 430 core\nlayout(triangles) in;\n\nvoid main() { undeclaredThing = 1; }\n");
    const ProcessResult result =
        probe({dir.file("good.vert"), dir.file("broken.geom"), dir.file("good.frag")});
    EXPECT_EQ(result.exitCode, 1);
    const std::string prefix = "Failed to get a parameter from a shader object! Failure-Message: ";
    EXPECT_EQ(result.output.rfind(prefix, 0), 0u) << result.output;
    EXPECT_NE(result.output.find("0:4("), std::string::npos) << "the error is on line 4";
    EXPECT_NE(result.output.find("undeclaredThing"), std::string::npos) << result.output;
    const std::vector<std::string> lines = splitLines(result.output);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "The shader file " + dir.file("broken.geom") + " does not compile.");
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
    const ProcessResult result = probe({assets::shader("omni.vert"), assets::shader("omni.frag")});
    EXPECT_EQ(result.exitCode, 0) << result.output;
}

}  // namespace
