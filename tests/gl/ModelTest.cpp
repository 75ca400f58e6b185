#include "scene/Model.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <set>

#include "base/AssetPaths.h"
#include "render/SceneRenderer.h"
#include "render/Shader.h"
#include "support/GlContext.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace {

using scene::Model;

// A unit square of two triangles sharing an edge, facing +z.
const std::string kQuadObj =
    "v -1 -1 0\nv 1 -1 0\nv -1 1 0\nv 1 1 0\n"
    "vt 0 0\nvt 1 0\nvt 0 1\nvt 1 1\nvn 0 0 1\n"
    "f 1/1/1 2/2/1 3/3/1\nf 2/2/1 4/4/1 3/3/1\n";

// n separate triangles in a row; with 'attributes', every corner also gets a texture coordinate
// and the shared normal.
std::string rowOfTriangles(int n, bool attributes = false) {
    std::string obj = attributes ? "vt 0 0\nvt 1 0\nvt 0 1\nvn 0 0 1\n" : "";
    for (int i = 0; i < n; ++i) {
        obj += "v " + std::to_string(i) + " 0 0\nv " + std::to_string(i + 1) + " 0 0\nv " +
               std::to_string(i) + " 1 0\n";
    }
    for (int i = 0; i < n; ++i) {
        obj += "f";
        for (int j = 1; j <= 3; ++j) {
            obj += " " + std::to_string(3 * i + j);
            if (attributes) {
                obj += "/" + std::to_string(j) + "/1";
            }
        }
        obj += "\n";
    }
    return obj;
}

GLint bufferSize(GLuint buffer) {
    GLint size = -1;
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return size;
}

std::vector<float> bufferContents(GLuint buffer, size_t floats) {
    std::vector<float> data(floats);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(floats * sizeof(float)),
                       data.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return data;
}

struct Attribute {
    GLint enabled = 0;
    GLint buffer = 0;
    GLint size = 0;
    GLint type = 0;
};

Attribute attribute(GLuint vertexArray, GLuint location) {
    Attribute a;
    glBindVertexArray(vertexArray);
    glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &a.enabled);
    glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &a.buffer);
    glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_SIZE, &a.size);
    glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_TYPE, &a.type);
    glBindVertexArray(0);
    return a;
}

std::set<GLuint> enabledLocations(GLuint vertexArray) {
    GLint count = 0;
    glGetIntegerv(GL_MAX_VERTEX_ATTRIBS, &count);
    std::set<GLuint> enabled;
    for (GLuint location = 0; location < static_cast<GLuint>(count); ++location) {
        if (attribute(vertexArray, location).enabled) {
            enabled.insert(location);
        }
    }
    return enabled;
}

// The triangles one draw call sends down the pipeline.
GLuint trianglesDrawn(Model& model, Shader& program) {
    GLuint query = 0;
    glGenQueries(1, &query);
    program.use();
    glBeginQuery(GL_PRIMITIVES_GENERATED, query);
    model.draw();
    glEndQuery(GL_PRIMITIVES_GENERATED);
    GLuint count = 0;
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &count);
    glDeleteQueries(1, &query);
    glUseProgram(0);
    return count;
}

class ModelTest : public testing::Test {
  protected:
    void SetUp() override {
        sharedGlContext();
        while (glGetError() != GL_NO_ERROR) {
        }
        scene.reset(newSceneShader());
        // Both samplers default to unit 0, which makes every draw an invalid operation.
        scene->use();
        glUniform1i(glGetUniformLocation(scene->programHandle, "depthCube"), 1);
        glUseProgram(0);
    }

    std::unique_ptr<Model> load(const std::string& name, const std::string& obj) {
        dir.write(name, obj);
        return std::make_unique<Model>(glm::mat4(1.0f), scene.get(), dir.file(name));
    }

    TempDir dir;
    std::unique_ptr<Shader> scene;
};

TEST_F(ModelTest, ExpandsEveryFaceCornerInOrderIntoItsOwnVertex) {
    const auto model = load("quad.obj", kQuadObj);
    ASSERT_EQ(model->faceCount, 2u);
    ASSERT_EQ(model->vertexCount, 6u);
    const std::vector<float> positions{-1, -1, 0, 1, -1, 0, -1, 1, 0, 1, -1, 0, 1, 1, 0, -1, 1, 0};
    const std::vector<float> uvs{0, 0, 1, 0, 0, 1, 1, 0, 1, 1, 0, 1};
    const std::vector<float> normals{0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1};
    EXPECT_EQ(std::vector<float>(model->positions, model->positions + 18), positions);
    EXPECT_EQ(std::vector<float>(model->uvs, model->uvs + 12), uvs);
    EXPECT_EQ(std::vector<float>(model->normals, model->normals + 18), normals);
    // What the GPU got is what the arrays hold.
    EXPECT_EQ(bufferContents(model->positionBuffer, 18), positions);
    EXPECT_EQ(bufferContents(model->uvBuffer, 12), uvs);
    EXPECT_EQ(bufferContents(model->normalBuffer, 18), normals);
}

TEST_F(ModelTest, BufferSizesFollowTheTriangleCount) {
    for (int n : {1, 2, 7}) {
        SCOPED_TRACE(n);
        const auto model = load("row.obj", rowOfTriangles(n, true));
        EXPECT_EQ(model->faceCount, static_cast<GLuint>(n));
        EXPECT_EQ(model->vertexCount, static_cast<GLuint>(3 * n));
        EXPECT_EQ(bufferSize(model->positionBuffer), 36 * n);
        EXPECT_EQ(bufferSize(model->normalBuffer), 36 * n);
        EXPECT_EQ(bufferSize(model->uvBuffer), 24 * n);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

TEST_F(ModelTest, VertexArrayFeedsTheSceneProgramsThreeAttributes) {
    const auto model = load("quad.obj", kQuadObj);
    const GLuint program = scene->programHandle;
    const struct {
        const char* name;
        GLuint buffer;
        GLint size;
    } expected[] = {{"position", model->positionBuffer, 3},
                    {"normal", model->normalBuffer, 3},
                    {"uv", model->uvBuffer, 2}};
    std::set<GLuint> locations;
    for (const auto& e : expected) {
        SCOPED_TRACE(e.name);
        const GLint location = glGetAttribLocation(program, e.name);
        ASSERT_NE(location, -1);
        locations.insert(static_cast<GLuint>(location));
        const Attribute a = attribute(model->vertexArray, static_cast<GLuint>(location));
        EXPECT_TRUE(a.enabled);
        EXPECT_NE(e.buffer, 0u);
        EXPECT_EQ(static_cast<GLuint>(a.buffer), e.buffer);
        EXPECT_EQ(a.size, e.size);
        EXPECT_EQ(a.type, GL_FLOAT);
    }
    EXPECT_EQ(enabledLocations(model->vertexArray), locations);

    // Construction leaves nothing bound behind.
    GLint bound = -1;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &bound);
    EXPECT_EQ(bound, 0);
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &bound);
    EXPECT_EQ(bound, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ModelTest, MeshWithoutTextureCoordinatesHasNoUvBufferAndStillDraws) {
    const auto model = load("bare.obj", rowOfTriangles(3));
    EXPECT_EQ(model->uvBuffer, 0u);
    EXPECT_NE(model->positionBuffer, 0u);
    const GLint uv = glGetAttribLocation(scene->programHandle, "uv");
    ASSERT_NE(uv, -1);
    EXPECT_FALSE(attribute(model->vertexArray, static_cast<GLuint>(uv)).enabled);
    EXPECT_EQ(enabledLocations(model->vertexArray).count(static_cast<GLuint>(uv)), 0u);

    EXPECT_EQ(trianglesDrawn(*model, *scene), 3u);
    GLint bound = -1;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &bound);
    EXPECT_EQ(bound, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ModelTest, AttributeTheProgramLacksStaysDisabled) {
    dir.write("flat.vert",
              "#version 430 core\nlayout(location = 0) in vec3 position;\n"
              "layout(location = 2) in vec2 uv;\nout vec2 coordinate;\n"
              "void main() { coordinate = uv; gl_Position = vec4(position, 1.0); }\n");
    dir.write("flat.frag",
              "#version 430 core\nin vec2 coordinate;\nout vec4 colour;\n"
              "void main() { colour = vec4(coordinate, 0.0, 1.0); }\n");
    Shader flat(dir.file("flat.vert"), dir.file("flat.frag"));
    dir.write("quad.obj", kQuadObj);
    Model model(glm::mat4(1.0f), &flat, dir.file("quad.obj"));

    EXPECT_NE(model.normalBuffer, 0u);  // the buffer exists, only the program has no use for it
    EXPECT_EQ(enabledLocations(model.vertexArray), (std::set<GLuint>{0, 2}));
    EXPECT_EQ(trianglesDrawn(model, flat), 2u);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ModelTest, InitPlacesTheModelAndUpdateOnlyMovesIt) {
    const glm::mat4 placement = glm::translate(glm::mat4(1.0f), {1.0f, 2.0f, 3.0f});
    const glm::mat4 moved = glm::scale(glm::mat4(1.0f), {2.0f, 2.0f, 2.0f});
    const auto model = load("quad.obj", kQuadObj);
    EXPECT_EQ(model->modelMatrix, glm::mat4(1.0f));

    model->init(0.016f, placement);
    EXPECT_EQ(model->modelMatrix, placement);
    EXPECT_EQ(model->baseMatrix, placement);

    model->update(0.016f, moved);
    EXPECT_EQ(model->modelMatrix, moved);
    EXPECT_EQ(model->baseMatrix, placement);
    EXPECT_EQ(model->rotationMatrix, glm::mat4(1.0f));
    EXPECT_EQ(model->translationMatrix, glm::mat4(1.0f));
}

TEST_F(ModelTest, KeepsTheGivenMatrixAndTheSameBoundingCubeForAnyMesh) {
    const glm::mat4 given = glm::translate(glm::mat4(1.0f), {5.0f, 0.0f, -2.0f});
    dir.write("row.obj", rowOfTriangles(4));
    Model model(given, scene.get(), dir.file("row.obj"));
    EXPECT_EQ(model.initialMatrix, given);
    EXPECT_EQ(model.shader, scene.get());

    const glm::vec4 corners[8] = {{-1.6f, -1.6f, -1.6f, 1}, {-1.6f, -1.6f, 1.6f, 1},
                                  {-1.6f, 1.6f, -1.6f, 1},  {-1.6f, 1.6f, 1.6f, 1},
                                  {1.6f, -1.6f, -1.6f, 1},  {1.6f, -1.6f, 1.6f, 1},
                                  {1.6f, 1.6f, -1.6f, 1},   {1.6f, 1.6f, 1.6f, 1}};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(model.boundingCorners[i], corners[i]) << "corner " << i;
    }
}

TEST_F(ModelTest, DestructionDeletesTheBuffersAndTheVertexArray) {
    auto model = load("quad.obj", kQuadObj);
    const GLuint buffers[] = {model->positionBuffer, model->normalBuffer, model->uvBuffer};
    const GLuint vertexArray = model->vertexArray;
    for (GLuint buffer : buffers) {
        EXPECT_TRUE(glIsBuffer(buffer));
    }
    EXPECT_TRUE(glIsVertexArray(vertexArray));

    model.reset();
    for (GLuint buffer : buffers) {
        EXPECT_FALSE(glIsBuffer(buffer));
    }
    EXPECT_FALSE(glIsVertexArray(vertexArray));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// The committed models are generated; these only check that what the game ships loads whole.
TEST_F(ModelTest, ShippedCubeAndSphereLoadWithTheirShapes) {
    const struct {
        const char* file;
        GLuint minFaces;
        GLuint maxFaces;
        bool onUnitSphere;  // else on the surface of the cube: x, y in -1..1, z in 0..2
    } shipped[] = {{"cube.dae", 12, 12, false}, {"sphere.dae", 200, 20000, true}};
    for (const auto& s : shipped) {
        SCOPED_TRACE(s.file);
        const std::string path = assets::model(s.file);
        if (!std::filesystem::exists(path)) {
            ADD_FAILURE() << path << " is missing";
            continue;
        }
        Model model(glm::mat4(1.0f), scene.get(), path);
        EXPECT_GE(model.faceCount, s.minFaces);
        EXPECT_LE(model.faceCount, s.maxFaces);
        EXPECT_NE(model.uvBuffer, 0u);
        EXPECT_NE(model.normalBuffer, 0u);
        for (GLuint v = 0; v < model.vertexCount; ++v) {
            glm::vec3 p(model.positions[3 * v], model.positions[3 * v + 1],
                        model.positions[3 * v + 2]);
            if (!s.onUnitSphere) {
                p.z -= 1.0f;
            }
            const float extent = s.onUnitSphere
                                     ? glm::length(p)
                                     : std::max({std::abs(p.x), std::abs(p.y), std::abs(p.z)});
            ASSERT_NEAR(extent, 1.0f, 1e-4f) << "vertex " << v;
        }
        EXPECT_EQ(trianglesDrawn(model, *scene), model.faceCount);
    }
}

// Every load failure ends the process, so each case runs in a probe child process.
class ModelFailureTest : public testing::Test {
  protected:
    static ProcessResult probe(const std::string& path) {
        return runProcess({ORBQUEST_GL_PROBE, "model", path}, ORBQUEST_SOURCE_DIR);
    }
    static std::string message(const std::string& path, const std::string& reason) {
        return "Failed to load the model file " + path + " in Model! " + reason + "\n";
    }

    TempDir dir;
};

TEST_F(ModelFailureTest, MissingFileReportsTheImportersReason) {
    const std::string path = dir.file("missing.dae");
    const ProcessResult result = probe(path);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.output, message(path, "Unable to open file \"" + path + "\"."));
}

TEST_F(ModelFailureTest, UnreadableFileReportsTheImportersReason) {
    dir.write("garbage.dae", std::string("\x01\x7f<<not xml\xff\x00}}", 15));
    const std::string path = dir.file("garbage.dae");
    const ProcessResult result = probe(path);
    EXPECT_EQ(result.exitCode, 1);
    // The reason is the importer's own wording, so only its presence is checked.
    const std::string prefix = "Failed to load the model file " + path + " in Model! ";
    EXPECT_EQ(result.output.rfind(prefix, 0), 0u) << result.output;
    EXPECT_GT(result.output.size(), prefix.size() + 1) << "no reason given";
    EXPECT_EQ(splitLines(result.output).size(), 1u) << result.output;
}

TEST_F(ModelFailureTest, FilesWithoutATriangleMeshFirstNameTheProblem) {
    const struct {
        const char* name;
        const char* content;
        const char* reason;
    } cases[] = {
        {"comments.obj", "# exported empty\n# nothing else here\n", "The file holds no mesh."},
        {"lines.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nl 1 2\nl 2 3\n",
         "Its first mesh is not made of triangles."},
        {"points.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\np 1\np 2 3\n",
         "Its first mesh is not made of triangles."},
        {"cloud.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\n", "Its first mesh is not made of triangles."},
        // Assimp sorts the lines into a mesh of their own, and it comes first.
        {"mixed.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nl 1 2\nf 1 2 3\n",
         "Its first mesh is not made of triangles."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write(c.name, c.content);
        const ProcessResult result = probe(dir.file(c.name));
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.output, message(dir.file(c.name), c.reason));
    }
}

TEST_F(ModelFailureTest, AGoodFileLoadsInTheProbe) {
    dir.write("quad.obj", kQuadObj);
    const ProcessResult result = probe(dir.file("quad.obj"));
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(result.output, "loaded 2 faces\n");
}

}  // namespace
