// The render targets: their GL objects, the quad and the state it leaves, the
// glow blur, the tone-mapping resolve and the stretch of a reduced frame's
// 8-bit picture, read back as floats.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "effects/FrameBuffer.h"
#include "gl/GlTestSupport.h"
#include "render/Shader.h"

namespace {

const std::string kShaderDir = std::string(MD_SOURCE_DIR) + "/shader/";

// Writes "value" everywhere, whatever the input texture holds.
const char* kFillFragment = R"(#version 330 core
in vec2 TexCoords;
out vec4 FragColor;
uniform vec4 value;
void main() { FragColor = value; }
)";

// Writes the quad's "width" and "height" into red and green.
const char* kSizeFragment = R"(#version 330 core
in vec2 TexCoords;
out vec4 FragColor;
uniform float width;
uniform float height;
void main() { FragColor = vec4(width, height, 0.0, 1.0); }
)";

std::unique_ptr<Shader> quadShader(const std::string& name, const char* fragment) {
    const auto frag = writeTempFile(name, fragment);
    return std::make_unique<Shader>((kShaderDir + "frameBufferVert.txt").c_str(), frag.c_str());
}

std::unique_ptr<Shader> projectShader(const char* vertex, const char* fragment) {
    return std::make_unique<Shader>((kShaderDir + vertex).c_str(), (kShaderDir + fragment).c_str());
}

// Draws `from`'s quad into `into`, with blending off so values pass unchanged.
void drawInto(FrameBuffer& from, FrameBuffer& into) {
    glBindFramebuffer(GL_FRAMEBUFFER, into.framebuffer);
    glViewport(0, 0, into.width, into.height);
    glDisable(GL_BLEND);
    from.drawQuad();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void clearToZero(const FrameBuffer& buffer) {
    glBindFramebuffer(GL_FRAMEBUFFER, buffer.framebuffer);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

std::vector<float> readBack(const FrameBuffer& buffer) {
    std::vector<float> pixels(size_t(buffer.width) * buffer.height * 4);
    glBindFramebuffer(GL_FRAMEBUFFER, buffer.framebuffer);
    glReadPixels(0, 0, buffer.width, buffer.height, GL_RGBA, GL_FLOAT, pixels.data());
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return pixels;
}

// Red of pixel (x, y) of a read-back buffer.
float redAt(const std::vector<float>& pixels, int width, int x, int y) {
    return pixels[(size_t(y) * width + x) * 4];
}

// The resolve's curve: the display-encoded value taken to linear light,
// exponential tone mapping with the exposure (scaled by 1.8), or with HDR off
// the linear value clipped at 1; then gamma 2.2 again.
float resolved(float hdr, float exposure, bool hdrOn) {
    const float linear = std::pow(hdr, 2.2f);
    const float mapped =
        hdrOn ? 1.0f - std::exp(-linear * exposure * 1.8f) : std::fmin(linear, 1.0f);
    return std::pow(mapped, 1.0f / 2.2f);
}

}  // namespace

TEST(FrameBuffer, WindowSizedFloatColourAndDepthAttachmentsAreComplete) {
    auto fill = quadShader("fill.frag", kFillFragment);
    FrameBuffer buffer(fill.get(), 1080, 720);
    GLint bound = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    EXPECT_EQ(bound, 0);  // init leaves the window bound

    GLint format = 0, w = 0, h = 0;
    glBindTexture(GL_TEXTURE_2D, buffer.colorBuffer);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(format, GL_RGBA16F);
    EXPECT_EQ(w, 1080);
    EXPECT_EQ(h, 720);

    GLint depthBits = 0, rw = 0, rh = 0;
    glBindRenderbuffer(GL_RENDERBUFFER, buffer.renderbuffer);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_DEPTH_SIZE, &depthBits);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_WIDTH, &rw);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_HEIGHT, &rh);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    EXPECT_GT(depthBits, 0);
    EXPECT_EQ(rw, 1080);
    EXPECT_EQ(rh, 720);

    glBindFramebuffer(GL_FRAMEBUFFER, buffer.framebuffer);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
    GLint attached = 0;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0,
                                          GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &attached);
    EXPECT_EQ(GLuint(attached), buffer.colorBuffer);
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                          GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &attached);
    EXPECT_EQ(GLuint(attached), buffer.renderbuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);

    // A second buffer of the same size has its own objects.
    FrameBuffer other(fill.get(), 1080, 720);
    EXPECT_NE(other.colorBuffer, buffer.colorBuffer);
    EXPECT_NE(other.renderbuffer, buffer.renderbuffer);
    EXPECT_NE(other.framebuffer, buffer.framebuffer);
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

TEST(FrameBuffer, DrawQuadSendsItsSizeCoversTheViewportAndRestoresState) {
    auto sizes = quadShader("size.frag", kSizeFragment);
    auto fill = quadShader("fill2.frag", kFillFragment);
    FrameBuffer source(sizes.get(), 1080, 720);
    FrameBuffer target(fill.get(), 40, 30);

    glEnable(GL_DEPTH_TEST);
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    glViewport(0, 0, target.width, target.height);
    glDisable(GL_BLEND);
    source.drawQuad();

    GLint program = -1, vao = -1, texture = 0, unit = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vao);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    EXPECT_EQ(program, 0);
    EXPECT_EQ(vao, 0);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(unit, GL_TEXTURE0);
    EXPECT_EQ(GLuint(texture), source.colorBuffer);  // stays bound on unit 0

    GLfloat w = 0, h = 0;
    const GLuint p = sizes->program;
    glGetUniformfv(p, glGetUniformLocation(p, "width"), &w);
    glGetUniformfv(p, glGetUniformLocation(p, "height"), &h);
    EXPECT_FLOAT_EQ(w, 1080.0f);
    EXPECT_FLOAT_EQ(h, 720.0f);

    // The quad covers every pixel of the target, corners included, with
    // values far above 1 kept.
    const auto pixels = readBack(target);
    for (int y : {0, 15, 29})
        for (int x : {0, 20, 39}) {
            EXPECT_FLOAT_EQ(redAt(pixels, 40, x, y), 1080.0f) << x << "," << y;
            EXPECT_FLOAT_EQ(pixels[(size_t(y) * 40 + x) * 4 + 1], 720.0f);
        }
    glEnable(GL_BLEND);
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

TEST(FrameBuffer, ResolveToneMapsWithTheExposureAndTheHdrSwitch) {
    auto fill = quadShader("fill3.frag", kFillFragment);
    auto effect = projectShader("effectShaderVert.txt", "effectShaderFrag.txt");
    auto plain = quadShader("fill4.frag", kFillFragment);
    FrameBuffer source(fill.get(), 8, 8);   // writes the HDR value
    FrameBuffer scene(effect.get(), 8, 8);  // resolves through the effect shader
    FrameBuffer screen(plain.get(), 8, 8);  // stands in for the window

    for (float hdr : {0.05f, 0.3f, 1.0f, 2.5f, 6.0f}) {
        fill->use();
        fill->setVec4("value", hdr, hdr * 0.5f, 0.0f, 1.0f);
        glUseProgram(0);
        drawInto(source, scene);
        EXPECT_NEAR(readBack(scene)[0], hdr, hdr * 1e-3f);  // above 1 survives in the buffer

        // "hdrOn" is not sent at first: the shader starts with tone mapping on.
        for (float exposure : {1.0f, 2.0f}) {
            effect->use();
            effect->setFloat("exposure", exposure);
            glUseProgram(0);
            drawInto(scene, screen);
            const auto out = readBack(screen);
            EXPECT_NEAR(out[0], resolved(hdr, exposure, true), 2e-3f) << hdr << " x" << exposure;
            EXPECT_NEAR(out[1], resolved(hdr * 0.5f, exposure, true), 2e-3f);
            EXPECT_FLOAT_EQ(out[3], 1.0f);
        }
        effect->use();
        effect->setInt("hdrOn", 0);
        effect->setFloat("exposure", 2.0f);
        glUseProgram(0);
        drawInto(scene, screen);
        EXPECT_NEAR(readBack(screen)[0], resolved(hdr, 2.0f, false), 2e-3f) << hdr << " off";
        effect->use();
        effect->setInt("hdrOn", 1);
        glUseProgram(0);
    }
    glEnable(GL_BLEND);
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

TEST(FrameBuffer, GlowBlursAlongEachAxisByItsOwnTexelSize) {
    // A single bright texel in a buffer wider than it is tall.
    constexpr int W = 96, H = 64, X = 48, Y = 32;
    auto fill = quadShader("fill5.frag", kFillFragment);
    auto horizontal = projectShader("frameBufferVert.txt", "horizontalGlowFrag.txt");
    auto vertical = projectShader("frameBufferVert.txt", "verticalGlowFrag.txt");
    FrameBuffer source(horizontal.get(), W, H);
    FrameBuffer across(fill.get(), W, H);
    FrameBuffer down(fill.get(), W, H);
    FrameBuffer pointSource(vertical.get(), W, H);  // the same texel through the vertical pass

    clearToZero(source);
    clearToZero(pointSource);
    const std::vector<float> point{10.0f, 10.0f, 10.0f, 1.0f};
    glBindTexture(GL_TEXTURE_2D, source.colorBuffer);
    glTexSubImage2D(GL_TEXTURE_2D, 0, X, Y, 1, 1, GL_RGBA, GL_FLOAT, point.data());
    glBindTexture(GL_TEXTURE_2D, pointSource.colorBuffer);
    glTexSubImage2D(GL_TEXTURE_2D, 0, X, Y, 1, 1, GL_RGBA, GL_FLOAT, point.data());
    glBindTexture(GL_TEXTURE_2D, 0);

    drawInto(source, across);
    drawInto(pointSource, down);
    const auto h = readBack(across);
    const auto v = readBack(down);

    // Horizontal: spread along the row only, symmetric, energy kept.
    float rowSum = 0.0f;
    for (int x = 0; x < W; ++x) rowSum += redAt(h, W, x, Y);
    EXPECT_NEAR(rowSum, 10.0f, 0.05f);
    EXPECT_LT(redAt(h, W, X, Y), 10.0f * 0.2f);  // a real spread, not the point again
    EXPECT_GT(redAt(h, W, X + 10, Y), 0.0f);
    for (int x = 0; x < W; ++x) {
        EXPECT_EQ(redAt(h, W, x, Y + 1), 0.0f);
        EXPECT_EQ(redAt(h, W, x, Y - 1), 0.0f);
    }
    for (int d = 1; d < 20; ++d)
        EXPECT_NEAR(redAt(h, W, X + d, Y), redAt(h, W, X - d, Y), 1e-3f) << d;

    // Vertical: the same profile down the column, in pixels (so each pass uses
    // its own axis' size), scaled by the glow's strength.
    float columnSum = 0.0f;
    for (int y = 0; y < H; ++y) columnSum += redAt(v, W, X, y);
    ASSERT_GT(columnSum, 0.0f);
    const float scale = columnSum / rowSum;
    EXPECT_GE(scale, 1.0f);
    for (int d = 0; d < 20; ++d)
        EXPECT_NEAR(redAt(v, W, X, Y + d), scale * redAt(h, W, X + d, Y), 5e-3f) << d;
    for (int y = 0; y < H; ++y) EXPECT_EQ(redAt(v, W, X + 1, y), 0.0f);
    glEnable(GL_BLEND);
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

TEST(FrameBuffer, StretchOfAReducedPictureReadsOnlyItsDrawnPart) {
    // A 16 x 16 picture in 8 bits whose lower-left 8 x 8 holds this frame
    // (grey) and the rest what an earlier, larger frame left there (white),
    // stretched over 32 x 32 as a reduced frame's resolve does.
    auto fill = quadShader("fill6.frag", kFillFragment);
    auto stretch = projectShader("frameBufferVert.txt", "frameBufferFrag.txt");
    FrameBuffer picture(stretch.get(), 16, 16, true);
    FrameBuffer source(fill.get(), 16, 16);
    FrameBuffer window(fill.get(), 32, 32);
    glBindFramebuffer(GL_FRAMEBUFFER, picture.framebuffer);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glViewport(0, 0, 8, 8);
    glDisable(GL_BLEND);
    fill->use();
    fill->setVec4("value", 0.5f, 0.5f, 0.5f, 1.0f);
    source.drawQuad();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    stretch->use();
    stretch->setVec2("uvScale", 0.5f, 0.5f);
    stretch->setVec2("uvMax", 7.5f / 16.0f, 7.5f / 16.0f);
    glUseProgram(0);
    drawInto(picture, window);

    // Every pixel, the edges and corners included, shows the grey as the 8
    // bits hold it: the filter reaches neither the stale texels above and to
    // the right nor, wrapping, those beyond the lower and left edges.
    const auto pixels = readBack(window);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_NEAR(redAt(pixels, 32, x, y), 128.0f / 255.0f, 1e-3f) << x << "," << y;
    EXPECT_FLOAT_EQ(pixels[3], 1.0f);
    glEnable(GL_BLEND);
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

TEST(FrameBufferDeathTest, AnIncompleteBufferEndsTheProgramWithItsMessage) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto fill = quadShader("fill6.frag", kFillFragment);
    // A zero-sized colour image cannot complete a framebuffer.
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);  // the message goes to standard output
            FrameBuffer(fill.get(), 0, 0);
        },
        testing::ExitedWithCode(1), "ERROR::FRAMEBUFFER:: Framebuffer is not complete!\n");
}
