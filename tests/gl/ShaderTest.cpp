#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <glm/glm.hpp>
#include <sstream>
#include <string>

#include "effects/FrameBuffer.h"
#include "gl/GlTestSupport.h"
#include "lighting/LightReach.h"
#include "platform/GlslDialect.h"
#include "render/LightVariants.h"
#include "render/Shader.h"

namespace {

const char* kVertex = R"(#version 330 core
layout (location = 0) in vec3 position;
uniform mat4 model;
void main() { gl_Position = model * vec4(position, 1.0); }
)";

const char* kFragment = R"(#version 330 core
out vec4 FragColor;
uniform int mode;
uniform float level;
uniform vec3 tint;
uniform vec4 extra;
void main() { FragColor = vec4(tint * level, float(mode)) + extra; }
)";

int countOf(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
    return n;
}

const std::string kModelVertex = std::string(MD_SOURCE_DIR) + "/shader/model_loadingVert.txt";
const std::string kModelFragment = std::string(MD_SOURCE_DIR) + "/shader/model_loadingFrag.txt";

// The program's full model program, built without a word on standard output.
Shader* fullModelProgram() {
    Shader* full = nullptr;
    captureStdout([&] { full = new Shader(kModelVertex.c_str(), kModelFragment.c_str()); });
    return full;
}

GLint currentProgram() {
    GLint p = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &p);
    return p;
}

}  // namespace

TEST(Shader, GoodPairLinksSilentlyAndSettersWriteTheCurrentProgram) {
    const auto v = writeTempFile("good.vert", kVertex);
    const auto f = writeTempFile("good.frag", kFragment);
    Shader* shader = nullptr;
    const std::string out = captureStdout([&] { shader = new Shader(v.c_str(), f.c_str()); });
    EXPECT_EQ(out, "");
    GLint linked = 0;
    glGetProgramiv(shader->program, GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE);
    // Stage objects are only flagged for deletion; the program keeps them attached.
    GLint flagged = 0;
    glGetShaderiv(shader->vertexShader, GL_DELETE_STATUS, &flagged);
    EXPECT_EQ(flagged, GL_TRUE);

    shader->use();
    EXPECT_EQ(currentProgram(), GLint(shader->program));
    shader->setInt("mode", 3);
    shader->setFloat("level", 0.25f);
    shader->setVec3("tint", 1.0f, 2.0f, 3.0f);
    shader->setVec4("extra", 4.0f, 5.0f, 6.0f, 7.0f);
    glm::mat4 m(1.0f);
    m[3][0] = 9.0f;  // a translation, to see it is not transposed
    shader->setMat4("model", m);
    shader->setFloat("notDeclared", 1.0f);  // ignored without error
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));

    const GLuint p = shader->program;
    GLint mode = 0;
    glGetUniformiv(p, glGetUniformLocation(p, "mode"), &mode);
    EXPECT_EQ(mode, 3);
    GLfloat level = 0, tint[3] = {}, extra[4] = {}, model[16] = {};
    glGetUniformfv(p, glGetUniformLocation(p, "level"), &level);
    glGetUniformfv(p, glGetUniformLocation(p, "tint"), tint);
    glGetUniformfv(p, glGetUniformLocation(p, "extra"), extra);
    glGetUniformfv(p, glGetUniformLocation(p, "model"), model);
    EXPECT_FLOAT_EQ(level, 0.25f);
    EXPECT_FLOAT_EQ(tint[2], 3.0f);
    EXPECT_FLOAT_EQ(extra[3], 7.0f);
    EXPECT_FLOAT_EQ(model[12], 9.0f);
    EXPECT_FLOAT_EQ(model[3], 0.0f);
    glUseProgram(0);

    delete shader;  // detaches, deletes the program; no GL error from freed stage names
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
    EXPECT_EQ(glIsProgram(p), GL_FALSE);
}

TEST(Shader, MissingFilesReportOnlyCompileAndLinkFailures) {
    Shader* shader = nullptr;
    const std::string out =
        captureStdout([&] { shader = new Shader("/nonexistent/a.vert", "/nonexistent/b.frag"); });
    EXPECT_EQ(out.find("File could not"), std::string::npos);
    EXPECT_NE(out.find("ERROR::SHADER::PROGRAM::Linking failed\n"), std::string::npos) << out;
    EXPECT_NE(shader->program, 0u);
    delete shader;
    takeGlError();
}

TEST(Shader, BrokenFragmentIsReportedThenLinkFails) {
    const auto v = writeTempFile("ok.vert", kVertex);
    const auto f = writeTempFile("bad.frag", "#version 330 core\nvoid main() { nonsense; }\n");
    Shader* shader = nullptr;
    const std::string out = captureStdout([&] { shader = new Shader(v.c_str(), f.c_str()); });
    EXPECT_EQ(countOf(out, "ERROR::SHADER::FRAGMENT::Compilation failed\n"), 1) << out;
    EXPECT_EQ(countOf(out, "ERROR::SHADER::VERTEX::Compilation failed"), 0) << out;
    const size_t frag = out.find("FRAGMENT::Compilation failed");
    const size_t link = out.find("ERROR::SHADER::PROGRAM::Linking failed\n");
    ASSERT_NE(link, std::string::npos) << out;
    EXPECT_LT(frag, link);
    EXPECT_NE(shader->vertexShader, 0u);
    EXPECT_NE(shader->fragmentShader, 0u);
    delete shader;
    takeGlError();
}

TEST(Shader, LinkFailureWithCompilingStagesIsReported) {
    // Both stages compile, but the fragment stage has no main function.
    const auto v = writeTempFile("nolink.vert", kVertex);
    const auto f = writeTempFile(
        "nolink.frag", "#version 330 core\nout vec4 c;\nvoid helper() { c = vec4(1.0); }\n");
    Shader* shader = nullptr;
    const std::string out = captureStdout([&] { shader = new Shader(v.c_str(), f.c_str()); });
    EXPECT_EQ(out.find("Compilation failed"), std::string::npos) << out;
    EXPECT_NE(out.find("ERROR::SHADER::PROGRAM::Linking failed\n"), std::string::npos) << out;
    delete shader;
    takeGlError();
}

TEST(Shader, LongLogIsCutToTheBuffer) {
    std::string source = "#version 330 core\nvoid main() {\n";
    for (int i = 0; i < 200; ++i) source += "undefinedThing" + std::to_string(i) + " = 1;\n";
    source += "}\n";
    const auto v = writeTempFile("long.vert", source);
    const auto f = writeTempFile("long.frag", kFragment);
    Shader* shader = nullptr;
    const std::string out = captureStdout([&] { shader = new Shader(v.c_str(), f.c_str()); });
    const std::string head = "ERROR::SHADER::VERTEX::Compilation failed\n";
    const size_t start = out.find(head);
    ASSERT_NE(start, std::string::npos) << out;
    const size_t logStart = start + head.size();
    const size_t logEnd = out.find("ERROR::SHADER::PROGRAM", logStart);
    ASSERT_NE(logEnd, std::string::npos);
    // The log plus its closing newline: at most 511 characters of log.
    EXPECT_LE(logEnd - logStart, 512u);
    EXPECT_GT(logEnd - logStart, 400u);
    delete shader;
    takeGlError();
}

TEST(Shader, ZeroByteEndsTheSource) {
    std::string fragment = kFragment;
    fragment += std::string(1, '\0') + "this is not GLSL at all";
    const auto v = writeTempFile("zero.vert", kVertex);
    const auto f = writeTempFile("zero.frag", fragment);
    Shader* shader = nullptr;
    const std::string out = captureStdout([&] { shader = new Shader(v.c_str(), f.c_str()); });
    EXPECT_EQ(out, "");
    delete shader;
}

namespace {
std::string sourceText(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
}  // namespace

TEST(Shader, ProjectSourcesValidateAndEveryPairLinks) {
    const std::string dir = std::string(MD_SOURCE_DIR) + "/shader/";
    const char* pairs[][2] = {
        {"model_loadingVert.txt", "model_loadingFrag.txt"},
        {"terrainVert.txt", "terrainFrag.txt"},
        {"cubemapVert.txt", "cubemapFrag.txt"},
        {"waterVert.txt", "waterFrag.txt"},
        {"depthVert.txt", "depthFrag.txt"},
        {"frameBufferVert.txt", "horizontalGlowFrag.txt"},
        {"frameBufferVert.txt", "verticalGlowFrag.txt"},
        {"frameBufferVert.txt", "frameBufferFrag.txt"},
        {"reflectionVert.txt", "reflectionFrag.txt"},
        {"effectShaderVert.txt", "effectShaderFrag.txt"},
        {"particleVert.txt", "particleFrag.txt"},
    };
    // In a browser without clip distances a pair is rewritten to clip by
    // discarding; its two stages must still compile and link as ES.
    const auto linksAsEs = [](std::string vertex, std::string fragment) {
        std::vector<UniformDefault> defaults;
        programToGlslEs(vertex, fragment, defaults, EsClipping::Discard);
        const std::string esLink = "glslangValidator -l " +
                                   writeTempFile("es.vert", vertex).string() + " " +
                                   writeTempFile("es.frag", fragment).string() + " > /dev/null";
        return std::system(esLink.c_str()) == 0;
    };
    for (const auto& pair : pairs) {
        for (int stage = 0; stage < 2; ++stage) {
            const std::string cmd = std::string("glslangValidator -S ") +
                                    (stage == 0 ? "vert " : "frag ") + dir + pair[stage] +
                                    " > /dev/null";
            EXPECT_EQ(std::system(cmd.c_str()), 0) << pair[stage];
        }
        // Clip distance 0 is enabled for the whole run; a vertex shader that
        // leaves it unwritten gets whatever the driver makes of it.
        EXPECT_NE(sourceText(dir + pair[0]).find("gl_ClipDistance[0] ="), std::string::npos)
            << pair[0];
        EXPECT_TRUE(linksAsEs(sourceText(dir + pair[0]), sourceText(dir + pair[1])))
            << pair[0] << " + " << pair[1] << " as ES";
        Shader* shader = nullptr;
        const std::string out = captureStdout(
            [&] { shader = new Shader((dir + pair[0]).c_str(), (dir + pair[1]).c_str()); });
        EXPECT_EQ(out, "") << pair[0] << " + " << pair[1];
        delete shader;
        // The lit programs' lean builds (reduced frames), natively and as ES.
        if (sourceText(dir + pair[1]).find("#ifdef LEAN") == std::string::npos) continue;
        const std::string leanOut = captureStdout([&] {
            shader = new Shader((dir + pair[0]).c_str(), (dir + pair[1]).c_str(), "#define LEAN");
        });
        EXPECT_EQ(leanOut, "") << pair[0] << " + " << pair[1] << " lean";
        EXPECT_TRUE(shader->linked()) << pair[1] << " lean";
        delete shader;
        const auto leanSource = [](std::string source) {
            return source.insert(source.find('\n') + 1, "#define LEAN\n");
        };
        EXPECT_TRUE(
            linksAsEs(leanSource(sourceText(dir + pair[0])), leanSource(sourceText(dir + pair[1]))))
            << pair[1] << " lean as ES";
    }
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

// A narrower lighting program is built once from the full one's files with
// LIGHT_MASK set, drops the uniforms of the lights it leaves out, and takes
// over every other uniform the full program holds at the moment it is handed
// out; the full mask, or a build that fails, gives the full program.
TEST(Shader, LightVariantsTakeOverTheFullProgramsUniforms) {
    Shader* full = fullModelProgram();
    LightVariants variants(full, kModelVertex, kModelFragment);
    const long builtBefore = LightVariants::totalBuilt();
    EXPECT_EQ(variants.current(kEveryLight), full);
    EXPECT_EQ(variants.built(), 0u);
    // A frame without a build left draws with the full program.
    LightVariants::allowBuildsThisFrame(0);
    EXPECT_EQ(variants.current(kSunShadowBit), full);
    EXPECT_EQ(variants.built(), 0u);
    LightVariants::allowBuildsThisFrame(1);

    full->use();
    full->setVec3("viewPos", 1.0f, 2.0f, 3.0f);
    full->setInt("transparent", 1);
    full->setFloat("pointLights[2].linear", 0.5f);
    full->setFloat("spotLights[0].quadratic", 0.25f);
    const unsigned sunAndLastPoint = kSunShadowBit | (kFirstPointBit << 2);
    Shader* narrow = variants.current(sunAndLastPoint);
    ASSERT_NE(narrow, full);
    EXPECT_EQ(currentProgram(), GLint(narrow->program));
    const GLuint p = narrow->program;
    EXPECT_EQ(glGetUniformLocation(p, "spotLights[0].quadratic"), -1);  // left out
    GLfloat view[3] = {}, linear = 0;
    GLint transparent = 0;
    glGetUniformfv(p, glGetUniformLocation(p, "viewPos"), view);
    glGetUniformfv(p, glGetUniformLocation(p, "pointLights[2].linear"), &linear);
    glGetUniformiv(p, glGetUniformLocation(p, "transparent"), &transparent);
    EXPECT_FLOAT_EQ(view[2], 3.0f);
    EXPECT_FLOAT_EQ(linear, 0.5f);
    EXPECT_EQ(transparent, 1);

    // Handed out again: the same program, with what the full one holds now.
    full->use();
    full->setVec3("viewPos", 7.0f, 8.0f, 9.0f);
    EXPECT_EQ(variants.current(sunAndLastPoint), narrow);
    glGetUniformfv(p, glGetUniformLocation(p, "viewPos"), view);
    EXPECT_FLOAT_EQ(view[0], 7.0f);
    EXPECT_EQ(variants.built(), 1u);
    EXPECT_EQ(variants.current(kSunShadowBit), full);  // this frame's build is spent
    LightVariants::allowBuildsThisFrame(-1);
    // The count that tells a frame with a build, over all instances.
    EXPECT_EQ(LightVariants::totalBuilt(), builtBefore + 1);

    // A reduced frame's lean builds are programs of their own, every light's
    // one included, and take the full program's uniforms over too.
    Shader* lean = variants.current(kEveryLight, false, true);
    ASSERT_NE(lean, full);
    EXPECT_TRUE(lean->linked());
    EXPECT_EQ(variants.current(kEveryLight, false, true), lean);
    Shader* leanNarrow = variants.current(sunAndLastPoint, false, true);
    EXPECT_NE(leanNarrow, narrow);
    EXPECT_NE(leanNarrow, lean);
    EXPECT_NE(variants.current(kEveryLight, true, true), lean);
    EXPECT_EQ(variants.current(sunAndLastPoint), narrow);
    EXPECT_EQ(variants.built(), 4u);
    glGetUniformfv(leanNarrow->program, glGetUniformLocation(leanNarrow->program, "viewPos"), view);
    EXPECT_FLOAT_EQ(view[1], 8.0f);
    EXPECT_EQ(LightVariants::totalBuilt(), builtBefore + 4);

    LightVariants missing(full, "/nonexistent/a.vert", "/nonexistent/b.frag");
    Shader* fallback = nullptr;
    const std::string said = captureStdout([&] { fallback = missing.current(kSunShadowBit); });
    EXPECT_EQ(fallback, full);
    EXPECT_NE(said.find("Linking failed"), std::string::npos) << said;
    EXPECT_EQ(LightVariants::totalBuilt(), builtBefore + 5);  // a failed build was paid too
    EXPECT_EQ(currentProgram(), GLint(full->program));
    glUseProgram(0);
    delete full;
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

// The model program's lit pass after a depth pass may leave the cut-out test
// to that pass: its variant with `cutOutDone` (even one that keeps every
// light) is a program of its own, and it lights a texel that the full
// program throws away, giving it alpha 0 so that the pass's blending can
// leave that pixel to a kept texel.
TEST(Shader, ACutOutDoneVariantLightsTheTexelsTheFullProgramThrowsAway) {
    Shader* full = fullModelProgram();
    LightVariants variants(full, kModelVertex, kModelFragment);
    Shader* done = variants.current(kEveryLight, true);
    ASSERT_NE(done, full);
    EXPECT_EQ(variants.current(kEveryLight, true), done);
    EXPECT_EQ(variants.current(kEveryLight), full);

    // Two triangles over the whole target, textured with one cut-away texel.
    const float corners[] = {-1, -1, 0, 0, 0, 1, 0, 0, 1, -1, 0, 0, 0, 1, 1, 0,
                             -1, 1,  0, 0, 0, 1, 0, 1, 1, 1,  0, 0, 0, 1, 1, 1};
    GLuint vao = 0, vbo = 0, texture = 0;
    glGenVertexArrays(1, &vao);
    glGenBuffers(1, &vbo);
    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glBufferData(GL_ARRAY_BUFFER, sizeof corners, corners, GL_STATIC_DRAW);
    for (GLuint a = 0; a < 3; ++a) {
        glEnableVertexAttribArray(a);
        glVertexAttribPointer(a, a == 2 ? 2 : 3, GL_FLOAT, GL_FALSE, 8 * sizeof(float),
                              reinterpret_cast<void*>(a * 3 * sizeof(float)));
    }
    const unsigned char cutAway[4] = {255, 255, 255, 0};
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, cutAway);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    FrameBuffer target(nullptr, 4, 4);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);

    // The target's pixel after clearing it to 0.5 and drawing with `program`
    // (no light set: a lit texel comes out black).
    const auto drawn = [&](Shader* program) {
        glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
        glViewport(0, 0, 4, 4);
        glClearColor(0.5f, 0.5f, 0.5f, 0.5f);
        glClear(GL_COLOR_BUFFER_BIT);
        program->use();
        for (const char* m : {"model", "view", "projection"}) program->setMat4(m, glm::mat4(1.0f));
        program->setVec4("waterClipPlane", 0.0f, 0.0f, 0.0f, 1.0f);
        program->setInt("texture_diffuse1", 0);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, texture);
        glBindVertexArray(vao);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        glm::vec4 pixel(-1.0f);
        glReadPixels(1, 1, 1, 1, GL_RGBA, GL_FLOAT, &pixel[0]);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        return pixel;
    };
    EXPECT_EQ(drawn(full), glm::vec4(0.5f));
    EXPECT_EQ(drawn(variants.current(kEveryLight, true)), glm::vec4(0.0f));

    glEnable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glEnable(GL_CULL_FACE);
    glBindVertexArray(0);
    glUseProgram(0);
    glDeleteTextures(1, &texture);
    glDeleteBuffers(1, &vbo);
    glDeleteVertexArrays(1, &vao);
    delete full;
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}
