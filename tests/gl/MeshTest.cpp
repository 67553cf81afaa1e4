// Meshes: the vertex layout in the vertex array, sampler names and units,
// the triangles drawn, and the texture state left behind.
#include <gtest/gtest.h>

#include <memory>

#include "gl/GlTestSupport.h"
#include "gl/RenderTestFiles.h"
#include "render/Mesh.h"
#include "render/Shader.h"

namespace {

const char* kVertex = R"(#version 330 core
layout (location = 0) in vec3 position;
layout (location = 2) in vec2 texCoords;
out vec2 uv;
void main() { uv = texCoords; gl_Position = vec4(position, 1.0); }
)";

// Shows the sampler chosen by "pick", so a read-back tells which texture sat
// on the unit each sampler names while the mesh was drawn.
const char* kFragment = R"(#version 330 core
in vec2 uv;
out vec4 FragColor;
uniform sampler2D texture_diffuse1;
uniform sampler2D texture_diffuse2;
uniform sampler2D texture_diffuse3;
uniform sampler2D texture_specular;
uniform float shininess;
uniform int pick;
void main() {
    if (pick == 0) FragColor = texture(texture_diffuse1, uv);
    else if (pick == 1) FragColor = texture(texture_diffuse2, uv);
    else if (pick == 2) FragColor = texture(texture_diffuse3, uv);
    else FragColor = texture(texture_specular, uv);
    if (shininess < 0.0) FragColor = vec4(1.0);
}
)";

std::unique_ptr<Shader> samplerProgram() {
    const auto v = writeTempFile("mesh.vert", kVertex);
    const auto f = writeTempFile("mesh.frag", kFragment);
    return std::make_unique<Shader>(v.c_str(), f.c_str());
}

// A quad over the whole viewport, counter-clockwise.
std::vector<Vertex> quadVertices() {
    const glm::vec3 up(0, 0, 1);
    return {{{-1, -1, 0}, up, {0, 0}},
            {{1, -1, 0}, up, {1, 0}},
            {{1, 1, 0}, up, {1, 1}},
            {{-1, 1, 0}, up, {0, 1}}};
}
const std::vector<unsigned int> kQuadIndices = {0, 1, 2, 0, 2, 3};

Texture texture(GLuint id, const char* type) {
    return Texture{id, type, "t.png"};
}

GLint activeUnit() {
    GLint unit = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    return unit - GL_TEXTURE0;
}

GLuint primitivesDrawn(const Mesh& mesh, Shader* shader) {
    GLuint query = 0, count = 0;
    glGenQueries(1, &query);
    glBeginQuery(GL_PRIMITIVES_GENERATED, query);
    mesh.draw(shader);
    glEndQuery(GL_PRIMITIVES_GENERATED);
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &count);
    glDeleteQueries(1, &query);
    return count;
}

}  // namespace

TEST(Mesh, DiffuseMapsAreNumberedAndTheSpecularMapIsNot) {
    auto shader = samplerProgram();
    OffscreenTarget target(4, 4);
    ASSERT_TRUE(target.complete());
    const Mesh mesh(quadVertices(), kQuadIndices,
                    {texture(solidTexture(255, 0, 0), "texture_diffuse"),
                     texture(solidTexture(0, 255, 0), "texture_diffuse"),
                     texture(solidTexture(0, 0, 255), "texture_diffuse"),
                     texture(solidTexture(255, 255, 0), "texture_specular")});
    const GLuint p = shader->program;
    const std::vector<std::vector<unsigned char>> expected = {
        {255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 255, 0, 255}};
    for (int pick = 0; pick < 4; ++pick) {
        shader->use();
        shader->setInt("pick", pick);
        mesh.draw(shader.get());
        EXPECT_EQ(target.pixel(1, 1), expected[pick]) << pick;
    }
    EXPECT_EQ(uniformInt(p, "texture_diffuse1"), 0);
    EXPECT_EQ(uniformInt(p, "texture_diffuse2"), 1);
    EXPECT_EQ(uniformInt(p, "texture_diffuse3"), 2);
    EXPECT_EQ(uniformInt(p, "texture_specular"), 3);
    EXPECT_FLOAT_EQ(uniformFloat(p, "shininess"), 16.0f);

    // The program stays current; the units are emptied, the last one stays active.
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(GLuint(current), p);
    for (int unit = 0; unit < 4; ++unit) EXPECT_EQ(boundTexture2D(unit), 0) << unit;
    EXPECT_EQ(activeUnit(), 3);
    glUseProgram(0);
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

TEST(Mesh, ASpecularMapAloneTakesUnitZeroAndLeavesDiffuseSamplersAlone) {
    auto shader = samplerProgram();
    OffscreenTarget target(4, 4);
    const GLuint p = shader->program;
    shader->use();
    shader->setInt("texture_diffuse1", 7);
    shader->setInt("texture_specular", 5);
    shader->setInt("pick", 3);
    const Mesh mesh(quadVertices(), kQuadIndices,
                    {texture(solidTexture(0, 255, 255), "texture_specular")});
    mesh.draw(shader.get());
    EXPECT_EQ(target.pixel(2, 2), (std::vector<unsigned char>{0, 255, 255, 255}));
    EXPECT_EQ(uniformInt(p, "texture_specular"), 0);
    EXPECT_EQ(uniformInt(p, "texture_diffuse1"), 7);
    EXPECT_EQ(boundTexture2D(0), 0);
    glUseProgram(0);
}

TEST(Mesh, WithoutTexturesOnlyShininessIsSetAndTheUnitsAreUntouched) {
    auto shader = samplerProgram();
    const GLuint p = shader->program;
    const GLuint kept = solidTexture(1, 2, 3);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, kept);
    glActiveTexture(GL_TEXTURE3);
    shader->use();
    shader->setInt("texture_diffuse1", 6);
    const Mesh mesh(quadVertices(), kQuadIndices, {});
    mesh.draw(shader.get());
    EXPECT_FLOAT_EQ(uniformFloat(p, "shininess"), 16.0f);
    EXPECT_EQ(uniformInt(p, "texture_diffuse1"), 6);
    EXPECT_EQ(activeUnit(), 3);
    EXPECT_EQ(boundTexture2D(0), GLint(kept));
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glUseProgram(0);
}

TEST(Mesh, LayoutAndTheNumberOfIndicesDrawn) {
    auto shader = samplerProgram();
    OffscreenTarget target(4, 4);
    shader->use();

    const Mesh quad(quadVertices(), kQuadIndices, {});
    glBindVertexArray(quad.VAO);
    GLint elementBuffer = 0, stride = 0, size = 0, enabled = 0;
    void* offset = nullptr;
    glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &elementBuffer);
    EXPECT_EQ(GLuint(elementBuffer), quad.EBO);
    const GLint sizes[3] = {3, 3, 2};
    const uintptr_t offsets[3] = {0, 12, 24};
    for (GLuint a = 0; a < 3; ++a) {
        glGetVertexAttribiv(a, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
        glGetVertexAttribiv(a, GL_VERTEX_ATTRIB_ARRAY_STRIDE, &stride);
        glGetVertexAttribiv(a, GL_VERTEX_ATTRIB_ARRAY_SIZE, &size);
        glGetVertexAttribPointerv(a, GL_VERTEX_ATTRIB_ARRAY_POINTER, &offset);
        EXPECT_EQ(enabled, GL_TRUE) << a;
        EXPECT_EQ(stride, 32) << a;
        EXPECT_EQ(size, sizes[a]) << a;
        EXPECT_EQ(reinterpret_cast<uintptr_t>(offset), offsets[a]) << a;
    }
    glBindVertexArray(0);
    EXPECT_EQ(primitivesDrawn(quad, shader.get()), 2u);

    // Four indices: one whole triangle, the stray index draws nothing.
    const Mesh odd(quadVertices(), {0, 1, 2, 3}, {});
    EXPECT_EQ(primitivesDrawn(odd, shader.get()), 1u);

    const Mesh empty({}, {}, {});
    GLint bytes = -1;
    glBindBuffer(GL_ARRAY_BUFFER, empty.VBO);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &bytes);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    EXPECT_EQ(bytes, 0);
    EXPECT_EQ(primitivesDrawn(empty, shader.get()), 0u);
    glUseProgram(0);
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

// Drawn backwards, the same triangles come last to first, each with its own
// winding: of two quads over the same pixels the first one is now on top.
// Sorted, the quad farther along the direction comes last, until the
// direction turns by more than a few degrees.
TEST(Mesh, BackwardsAndSortedOrdersKeepEveryTriangleAndItsWinding) {
    const auto v = writeTempFile("order.vert", R"(#version 330 core
layout (location = 0) in vec3 position;
layout (location = 1) in vec3 normal;
out vec3 colour;
void main() { colour = normal; gl_Position = vec4(position, 1.0); }
)");
    const auto f = writeTempFile("order.frag", R"(#version 330 core
in vec3 colour;
out vec4 FragColor;
void main() { FragColor = vec4(colour, 1.0); }
)");
    Shader shader(v.c_str(), f.c_str());
    OffscreenTarget target(4, 4);
    std::vector<Vertex> vertices = quadVertices();
    for (Vertex& vertex : vertices) vertex.normal = glm::vec3(1, 0, 0);
    for (Vertex vertex : quadVertices()) {
        vertex.normal = glm::vec3(0, 1, 0);
        vertex.position.z = 0.5f;  // the green quad lies farther along +z
        vertices.push_back(vertex);
    }
    std::vector<unsigned int> indices = kQuadIndices;
    for (unsigned int i : kQuadIndices) indices.push_back(i + 4);
    Mesh quads(vertices, indices, {});
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);  // a flipped winding would draw nothing
    shader.use();
    quads.draw(&shader);
    EXPECT_EQ(target.pixel(1, 1), (std::vector<unsigned char>{0, 255, 0, 255}));
    quads.draw(&shader, DrawOrder::Backwards);
    EXPECT_EQ(target.pixel(1, 1), (std::vector<unsigned char>{255, 0, 0, 255}));
    quads.sortAlong(glm::vec3(0, 0, -1),
                    DrawOrder::ViewSorted);  // the green quad first, the red on top
    quads.draw(&shader, DrawOrder::ViewSorted);
    EXPECT_EQ(target.pixel(1, 1), (std::vector<unsigned char>{255, 0, 0, 255}));
    quads.sortAlong(glm::vec3(0.02f, 0, -1),
                    DrawOrder::ViewSorted);  // a degree away: the order stays
    quads.draw(&shader, DrawOrder::ViewSorted);
    EXPECT_EQ(target.pixel(1, 1), (std::vector<unsigned char>{255, 0, 0, 255}));
    quads.sortAlong(glm::vec3(0, 0, 1), DrawOrder::ViewSorted);
    quads.draw(&shader, DrawOrder::ViewSorted);
    EXPECT_EQ(target.pixel(1, 1), (std::vector<unsigned char>{0, 255, 0, 255}));
    // A view and its mirror image take turns: each finds its own order.
    for (int turn = 0; turn < 2; ++turn) {
        quads.sortAlong(glm::vec3(0.01f, 0, -1), DrawOrder::ViewSorted);
        quads.draw(&shader, DrawOrder::ViewSorted);
        EXPECT_EQ(target.pixel(1, 1), (std::vector<unsigned char>{255, 0, 0, 255}));
        quads.sortAlong(glm::vec3(0.01f, 0, 1), DrawOrder::ViewSorted);
        quads.draw(&shader, DrawOrder::ViewSorted);
        EXPECT_EQ(target.pixel(1, 1), (std::vector<unsigned char>{0, 255, 0, 255}));
    }
    EXPECT_EQ(primitivesDrawn(quads, &shader), 4u);
    glDisable(GL_CULL_FACE);
    glUseProgram(0);
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}
