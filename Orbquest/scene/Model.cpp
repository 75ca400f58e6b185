#include "scene/Model.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include "base/Fatal.h"
#include "render/Shader.h"

namespace scene {

namespace {

// Half the edge of the cube every model is culled with, in model units.
constexpr float kBoundingHalfEdge = 1.6f;

[[noreturn]] void failToLoad(const std::string& path, const std::string& reason) {
    fatalError("Failed to load the model file " + path + " in Model! " + reason);
}

// Ends the process unless the scene's first mesh can be expanded into triangles.
const aiMesh& firstTriangleMesh(const aiScene* imported, const Assimp::Importer& importer,
                                const std::string& path) {
    if (imported == nullptr) {
        failToLoad(path, importer.GetErrorString());
    }
    if (imported->mNumMeshes == 0 || imported->mMeshes[0] == nullptr) {
        failToLoad(path, "The file holds no mesh.");
    }
    const aiMesh& mesh = *imported->mMeshes[0];
    bool triangles = mesh.mPrimitiveTypes == aiPrimitiveType_TRIANGLE && mesh.mNumFaces > 0;
    for (unsigned int i = 0; triangles && i < mesh.mNumFaces; ++i) {
        triangles = mesh.mFaces[i].mNumIndices == 3;
    }
    if (!triangles) {
        failToLoad(path, "Its first mesh is not made of triangles.");
    }
    return mesh;
}

GLuint uploadArrayBuffer(const float* data, GLsizeiptr bytes) {
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, bytes, data, GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return buffer;
}

// Expects the vertex array bound. A name the program optimised away or never declared is left
// disabled.
void attachAttribute(GLuint buffer, GLuint program, const char* name, GLint components) {
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    const GLint location = glGetAttribLocation(program, name);
    if (location != -1) {
        glEnableVertexAttribArray(static_cast<GLuint>(location));
        glVertexAttribPointer(static_cast<GLuint>(location), components, GL_FLOAT, GL_FALSE, 0,
                              nullptr);
    }
}

}  // namespace

Model::Model(const glm::mat4& matrix, Shader* shader, const std::string& path)
    : SceneObject(matrix), modelMatrix(1.0f), shader(shader) {
    for (glm::vec4& corner : boundingCorners) {
        corner = glm::vec4(0.0f);
    }

    Assimp::Importer importer;
    const aiScene* imported = importer.ReadFile(path, aiProcessPreset_TargetRealtime_Fast);
    const aiMesh& mesh = firstTriangleMesh(imported, importer, path);

    faceCount = mesh.mNumFaces;
    vertexCount = 3 * faceCount;
    positions = new float[9 * static_cast<size_t>(faceCount)];
    normals = new float[9 * static_cast<size_t>(faceCount)];
    uvs = new float[6 * static_cast<size_t>(faceCount)];

    // Every corner of every face gets its own vertex, so no index buffer is needed.
    const bool hasUvs = mesh.HasTextureCoords(0);
    const bool hasNormals = mesh.HasNormals();
    const bool hasPositions = mesh.HasPositions();
    float* uv = uvs;
    float* normal = normals;
    float* position = positions;
    for (unsigned int i = 0; i < faceCount; ++i) {
        for (unsigned int j = 0; j < 3; ++j) {
            const unsigned int k = mesh.mFaces[i].mIndices[j];
            if (hasUvs) {
                *uv++ = mesh.mTextureCoords[0][k].x;
                *uv++ = mesh.mTextureCoords[0][k].y;
            }
            if (hasNormals) {
                *normal++ = mesh.mNormals[k].x;
                *normal++ = mesh.mNormals[k].y;
                *normal++ = mesh.mNormals[k].z;
            }
            if (hasPositions) {
                *position++ = mesh.mVertices[k].x;
                *position++ = mesh.mVertices[k].y;
                *position++ = mesh.mVertices[k].z;
            }
        }
    }

    const GLsizeiptr vertices = static_cast<GLsizeiptr>(vertexCount);
    if (hasPositions) {
        positionBuffer = uploadArrayBuffer(positions, vertices * 3 * sizeof(float));
    }
    if (hasNormals) {
        normalBuffer = uploadArrayBuffer(normals, vertices * 3 * sizeof(float));
    }
    if (hasUvs) {
        uvBuffer = uploadArrayBuffer(uvs, vertices * 2 * sizeof(float));
    }

    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    if (hasPositions) {
        attachAttribute(positionBuffer, shader->programHandle, "position", 3);
    }
    if (hasNormals) {
        attachAttribute(normalBuffer, shader->programHandle, "normal", 3);
    }
    if (hasUvs) {
        attachAttribute(uvBuffer, shader->programHandle, "uv", 2);
    }
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);

    int corner = 0;
    for (float x : {-kBoundingHalfEdge, kBoundingHalfEdge}) {
        for (float y : {-kBoundingHalfEdge, kBoundingHalfEdge}) {
            for (float z : {-kBoundingHalfEdge, kBoundingHalfEdge}) {
                boundingCorners[corner++] = glm::vec4(x, y, z, 1.0f);
            }
        }
    }
}

Model::~Model() {
    // Name 0 is silently ignored, so buffers of absent attributes need no check.
    glDeleteBuffers(1, &positionBuffer);
    glDeleteBuffers(1, &normalBuffer);
    glDeleteBuffers(1, &uvBuffer);
    glDeleteVertexArrays(1, &vertexArray);
    delete[] positions;
    delete[] normals;
    delete[] uvs;
}

void Model::init(float /*deltaTime*/, glm::mat4 matrix) {
    modelMatrix = matrix;
    baseMatrix = matrix;
}

void Model::resetPlacement() {
    modelMatrix = baseMatrix;
    rotationMatrix = glm::mat4(1.0f);
    translationMatrix = glm::mat4(1.0f);
}

void Model::update(float /*deltaTime*/, glm::mat4 matrix) {
    modelMatrix = matrix;
}

void Model::draw() {
    glBindVertexArray(vertexArray);
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertexCount));
    glBindVertexArray(0);
}

}  // namespace scene
