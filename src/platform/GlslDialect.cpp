#include "platform/GlslDialect.h"

#include <cstring>
#include <regex>
#include <sstream>

#include "platform/GlCompat.h"

namespace {

const char* const kEsVersion = "#version 300 es\n";
const char* const kEsHeader =
    "precision highp float;\n"
    "precision highp int;\n"
    "precision highp sampler2D;\n"
    "precision highp samplerCube;\n"
    "#define MD_GLES 1\n";

// The numbers of an initialiser such as "1", "0.5" or "vec2(1.0, 0.0)"; a
// vector given one number has it in every component.
void readValue(const std::string& text, UniformDefault& out) {
    static const std::regex number(R"([-+]?[0-9]*\.?[0-9]+(?:[eE][-+]?[0-9]+)?)");
    // Inside a constructor's parentheses only: the 2 of "vec2" is no value.
    const size_t open = text.find('(');
    const std::string inside = open == std::string::npos ? text : text.substr(open + 1);
    std::vector<float> values;
    for (auto it = std::sregex_iterator(inside.begin(), inside.end(), number);
         it != std::sregex_iterator(); ++it)
        values.push_back(std::stof(it->str()));
    if (values.empty()) return;
    for (int k = 0; k < 4; ++k) out.f[k] = values[size_t(k) < values.size() ? size_t(k) : 0];
    out.i = static_cast<int>(values[0]);
}

// `declaration` on a line of its own right after the ES header.
void declareAfterHeader(std::string& es, const std::string& declaration) {
    const size_t header = es.find(kEsHeader);
    if (header == std::string::npos) return;
    es.insert(header + std::strlen(kEsHeader), declaration + "\n");
}

const char* const kClipVarying = "md_clipDistance";

}  // namespace

std::string toGlslEs(const std::string& source, std::vector<UniformDefault>& defaults,
                     EsClipping clipping) {
    static const std::regex initialised(R"(^(\s*uniform\s+(\w+)\s+(\w+))\s*=\s*([^;]+);)");
    std::istringstream in(source);
    std::ostringstream out;
    std::string line;
    bool first = true;
    while (std::getline(in, line)) {
        if (first && line.rfind("#version", 0) == 0) {
            // Extension directives must come before everything but the version.
            out << kEsVersion;
            if (clipping == EsClipping::Extension &&
                source.find("gl_ClipDistance") != std::string::npos)
                out << "#extension GL_ANGLE_clip_cull_distance : enable\n";
            out << kEsHeader;
            first = false;
            continue;
        }
        first = false;
        std::smatch m;
        if (std::regex_search(line, m, initialised)) {
            UniformDefault d;
            d.type = m[2].str();
            d.name = m[3].str();
            readValue(m[4].str(), d);
            defaults.push_back(d);
            out << m[1].str() << ";" << m.suffix().str() << "\n";
            continue;
        }
        out << line << "\n";
    }
    return out.str();
}

void programToGlslEs(std::string& vertex, std::string& fragment,
                     std::vector<UniformDefault>& defaults, EsClipping clipping) {
    const bool clips = vertex.find("gl_ClipDistance[0]") != std::string::npos;
    vertex = toGlslEs(vertex, defaults, clipping);
    fragment = toGlslEs(fragment, defaults, clipping);
    if (clipping != EsClipping::Discard || !clips) return;
    // Interpolated as the clip interpolates the distance, so a pixel is
    // discarded exactly where the clip would have cut the primitive.
    vertex = std::regex_replace(vertex, std::regex(R"(gl_ClipDistance\[0\])"), kClipVarying);
    declareAfterHeader(vertex, std::string("out float ") + kClipVarying + ";");
    declareAfterHeader(fragment, std::string("in float ") + kClipVarying + ";");
    static const std::regex mainStart(R"((void\s+main\s*\(\s*(?:void)?\s*\)\s*\{))");
    fragment = std::regex_replace(fragment, mainStart,
                                  std::string("$1\n    if (") + kClipVarying + " < 0.0) discard;");
}

void programForThisGL(std::string& vertex, std::string& fragment,
                      std::vector<UniformDefault>& defaults) {
#if defined(__EMSCRIPTEN__)
    programToGlslEs(vertex, fragment, defaults,
                    hasClipDistances() ? EsClipping::Extension : EsClipping::Discard);
#else
    (void)vertex;
    (void)fragment;
    (void)defaults;
#endif
}
