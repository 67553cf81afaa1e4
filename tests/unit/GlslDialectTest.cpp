// The load-time rewrite of our GLSL 3.30 sources for a WebGL2 context.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/GlslDialect.h"

namespace {

// The lines of `text`.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = text.find('\n', at);
        lines.push_back(text.substr(at, end - at));
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return lines;
}

}  // namespace

TEST(GlslDialect, HeaderBecomesEsWithTheExtensionDirectiveBeforeAnyStatement) {
    std::vector<UniformDefault> defaults;
    const std::string es = toGlslEs(
        "#version 330 core\nuniform vec4 plane;\nvoid main() { gl_ClipDistance[0] = 1.0; }\n",
        defaults);
    const std::vector<std::string> lines = linesOf(es);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "#version 300 es");
    // ES refuses an #extension after the first statement, precision included.
    EXPECT_EQ(lines[1], "#extension GL_ANGLE_clip_cull_distance : enable");
    EXPECT_NE(es.find("precision highp float;"), std::string::npos);
    EXPECT_NE(es.find("#define MD_GLES 1"), std::string::npos);
    EXPECT_EQ(es.find("330"), std::string::npos);
    EXPECT_NE(es.find("uniform vec4 plane;\n"), std::string::npos);

    // A source that writes no clip distance asks for no extension.
    const std::string plain = toGlslEs("#version 330 core\nvoid main() {}\n", defaults);
    EXPECT_EQ(plain.find("#extension"), std::string::npos);
    EXPECT_TRUE(defaults.empty());
}

TEST(GlslDialect, UniformInitialisersMoveToDefaults) {
    std::vector<UniformDefault> defaults;
    const std::string es = toGlslEs(
        "#version 330 core\n"
        "uniform int hdrOn = 1;\n"
        "uniform vec2 uvScale = vec2(1.0); // share of the buffer\n"
        "  uniform vec2 targetMin = vec2(0.25, -2.5e-1);\n"
        "uniform float width;\n"
        "const float K = 2.0;\n",
        defaults);
    EXPECT_NE(es.find("uniform int hdrOn;\n"), std::string::npos);
    EXPECT_NE(es.find("uniform vec2 uvScale; // share of the buffer\n"), std::string::npos);
    EXPECT_NE(es.find("  uniform vec2 targetMin;\n"), std::string::npos);
    EXPECT_NE(es.find("uniform float width;\n"), std::string::npos);
    EXPECT_NE(es.find("const float K = 2.0;\n"), std::string::npos);

    ASSERT_EQ(defaults.size(), 3u);
    EXPECT_EQ(defaults[0].name, "hdrOn");
    EXPECT_EQ(defaults[0].type, "int");
    EXPECT_EQ(defaults[0].i, 1);
    // One number in a vector's constructor fills every component.
    EXPECT_EQ(defaults[1].name, "uvScale");
    EXPECT_FLOAT_EQ(defaults[1].f[0], 1.0f);
    EXPECT_FLOAT_EQ(defaults[1].f[1], 1.0f);
    EXPECT_EQ(defaults[2].type, "vec2");
    EXPECT_FLOAT_EQ(defaults[2].f[0], 0.25f);
    EXPECT_FLOAT_EQ(defaults[2].f[1], -0.25f);
}

// Without the extension the vertex stage hands its clip distance on as a
// varying and every entry point of the fragment stage discards below 0; a
// pair whose vertex stage clips nothing gets neither.
TEST(GlslDialect, DiscardClippingHandsTheDistanceToTheFragmentStage) {
    const std::string clippingVertex =
        "#version 330 core\nuniform vec4 plane;\n"
        "void main() { gl_Position = vec4(0.0); gl_ClipDistance[0] = dot(gl_Position, plane); }\n";
    const std::string fragment =
        "#version 330 core\nout vec4 c;\n"
        "#ifdef DEEP\nvoid main()\n{\n    c = vec4(1.0);\n}\n"
        "#else\nvoid main( void ) {\n    c = vec4(0.0);\n}\n#endif\n";
    std::vector<UniformDefault> defaults;

    std::string v = clippingVertex, f = fragment;
    programToGlslEs(v, f, defaults, EsClipping::Discard);
    EXPECT_EQ(v.find("gl_ClipDistance"), std::string::npos);
    EXPECT_EQ(v.find("#extension"), std::string::npos);
    EXPECT_NE(v.find("md_clipDistance = dot(gl_Position, plane);"), std::string::npos);
    // Declared after the header, before anything that could use it.
    const size_t header = v.find("#define MD_GLES 1\n");
    ASSERT_NE(header, std::string::npos);
    EXPECT_EQ(v.find("out float md_clipDistance;"), header + 18);
    EXPECT_LT(f.find("in float md_clipDistance;"), f.find("void main"));
    const std::string discard = "\n    if (md_clipDistance < 0.0) discard;";
    EXPECT_NE(f.find("void main()\n{" + discard + "\n    c = vec4(1.0);"), std::string::npos);
    EXPECT_NE(f.find("void main( void ) {" + discard + "\n    c = vec4(0.0);"), std::string::npos);

    // The extension path keeps gl_ClipDistance and adds no varying.
    v = clippingVertex;
    f = fragment;
    programToGlslEs(v, f, defaults, EsClipping::Extension);
    EXPECT_NE(v.find("#extension GL_ANGLE_clip_cull_distance : enable"), std::string::npos);
    EXPECT_EQ(v.find("md_clipDistance"), std::string::npos);
    EXPECT_EQ(f.find("md_clipDistance"), std::string::npos);

    v = "#version 330 core\nvoid main() { gl_Position = vec4(0.0); }\n";
    f = fragment;
    programToGlslEs(v, f, defaults, EsClipping::Discard);
    EXPECT_EQ(v.find("md_clipDistance"), std::string::npos);
    EXPECT_EQ(f.find("md_clipDistance"), std::string::npos);
}

TEST(GlslDialect, DesktopBuildTakesTheSourcesAsTheyAre) {
    std::vector<UniformDefault> defaults;
    const std::string vertex = "#version 330 core\nvoid main() { gl_ClipDistance[0] = 1.0; }\n";
    const std::string fragment = "#version 330 core\nuniform vec2 uvScale = vec2(1.0);\n";
    std::string v = vertex, f = fragment;
    programForThisGL(v, f, defaults);
    EXPECT_EQ(v, vertex);
    EXPECT_EQ(f, fragment);
    EXPECT_TRUE(defaults.empty());
}
