#include <gtest/gtest.h>

#include <glm/gtc/type_ptr.hpp>

#include "camera/Camera.h"
#include "camera/Projection.h"
#include "gl/GlTestSupport.h"
#include "render/Shader.h"

namespace {

const char* const kVertex = R"(#version 330 core
uniform mat4 view;
uniform mat4 projection;
uniform vec3 viewPos;
void main() { gl_Position = projection * view * vec4(viewPos, 1.0); }
)";

const char* const kFragment = R"(#version 330 core
out vec4 color;
void main() { color = vec4(1.0); }
)";

Shader makeProgram() {
    const auto vert = writeTempFile("camera_upload_vert.txt", kVertex);
    const auto frag = writeTempFile("camera_upload_frag.txt", kFragment);
    return Shader(vert.string().c_str(), frag.string().c_str());
}

glm::mat4 readMat4(GLuint program, const char* name) {
    glm::mat4 m(0.0f);
    glGetUniformfv(program, glGetUniformLocation(program, name), glm::value_ptr(m));
    return m;
}

GLint currentProgram() {
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    return program;
}

}  // namespace

TEST(CameraUpload, ApplyViewSetsViewAndViewPosAndReleasesTheProgram) {
    takeGlError();
    Shader shader = makeProgram();
    Shader other = makeProgram();
    ASSERT_NE(glGetUniformLocation(shader.program, "view"), -1);
    ASSERT_NE(glGetUniformLocation(shader.program, "viewPos"), -1);

    Camera camera({4.0f, 3.0f, -2.0f}, nullptr);
    camera.front = glm::normalize(glm::vec3(1.0f, -0.25f, 0.5f));
    camera.controlPoints.assign(4, glm::vec3(0.0f));  // path mode keeps front
    camera.updateCameraVectors();

    other.use();  // whatever was current before, nothing is afterwards
    camera.applyView(&shader);
    EXPECT_EQ(currentProgram(), 0);
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));

    EXPECT_NE(camera.view, glm::mat4(1.0f));
    EXPECT_EQ(readMat4(shader.program, "view"), camera.view);
    glm::vec3 viewPos(0.0f);
    glGetUniformfv(shader.program, glGetUniformLocation(shader.program, "viewPos"),
                   glm::value_ptr(viewPos));
    EXPECT_EQ(viewPos, camera.position);
    // The other program received nothing.
    EXPECT_EQ(readMat4(other.program, "view"), glm::mat4(0.0f));
}

TEST(CameraUpload, ProjectionGoesToEveryListedProgram) {
    takeGlError();
    Shader first = makeProgram();
    Shader second = makeProgram();
    const std::vector<Shader*> shaders = {&first, nullptr, &second};
    const glm::mat4 lens = screenProjection(1080, 720);

    first.use();
    uploadProjection(shaders, lens);
    EXPECT_EQ(currentProgram(), 0);
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(readMat4(first.program, "projection"), lens);
    EXPECT_EQ(readMat4(second.program, "projection"), lens);

    uploadProjection(&second, captureProjection());
    EXPECT_EQ(readMat4(second.program, "projection")[0][0], 1.0f);
    EXPECT_EQ(currentProgram(), 0);
}
