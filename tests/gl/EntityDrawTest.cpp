#include <gtest/gtest.h>

#include "gl/GlTestSupport.h"
#include "render/Shader.h"
#include "scene/Entity.h"

namespace {

glm::mat4 readModel(const Shader& shader) {
    glm::mat4 m(-1.0f);
    glGetUniformfv(shader.program, glGetUniformLocation(shader.program, "model"), &m[0][0]);
    return m;
}

}  // namespace

// Without a model an entity still goes through the draw protocol: its shader
// receives the fresh model matrix and is released afterwards.
TEST(EntityDraw, ModelUniformFollowsTheEntityOnlyAtDraw) {
    const auto vert = writeTempFile("entityVert.txt", R"(#version 330 core
uniform mat4 model;
void main() { gl_Position = model * vec4(1.0); }
)");
    const auto frag = writeTempFile("entityFrag.txt", R"(#version 330 core
out vec4 color;
void main() { color = vec4(1.0); }
)");
    Shader shader(vert.c_str(), frag.c_str());
    Entity e(nullptr, glm::vec3(1, 2, 3), glm::vec3(0, -90, 0), glm::vec3(2), 5);

    e.draw(&shader);
    const glm::mat4 first = readModel(shader);
    EXPECT_EQ(first, e.modelMatrix);
    EXPECT_FLOAT_EQ(first[3][0], 1.0f);
    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);

    e.setPosition(glm::vec3(9, 9, 9));
    EXPECT_EQ(readModel(shader), first);  // nothing is sent until the next draw
    e.draw(&shader);
    EXPECT_EQ(readModel(shader)[3], glm::vec4(9, 9, 9, 1));

    e.draw(nullptr);  // no shader: nothing to draw with, and no GL error
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}
