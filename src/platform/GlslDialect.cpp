#include "platform/GlslDialect.h"

#include <regex>
#include <sstream>

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

}  // namespace

std::string toGlslEs(const std::string& source, std::vector<UniformDefault>& defaults) {
    static const std::regex initialised(R"(^(\s*uniform\s+(\w+)\s+(\w+))\s*=\s*([^;]+);)");
    std::istringstream in(source);
    std::ostringstream out;
    std::string line;
    bool first = true;
    while (std::getline(in, line)) {
        if (first && line.rfind("#version", 0) == 0) {
            // Extension directives must come before everything but the version.
            out << kEsVersion;
            if (source.find("gl_ClipDistance") != std::string::npos)
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

std::string glslForThisGL(const std::string& source, std::vector<UniformDefault>& defaults) {
#if defined(__EMSCRIPTEN__)
    return toGlslEs(source, defaults);
#else
    (void)defaults;
    return source;
#endif
}
