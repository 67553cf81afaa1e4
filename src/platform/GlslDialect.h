#pragma once
// The shading language the context takes. Our GLSL sources are written for
// 3.30 core; a WebGL2 context takes GLSL ES 3.00, which wants another header,
// default precisions and no initialisers on uniforms. The sources stay as
// they are and are rewritten when they are loaded.

#include <string>
#include <vector>

// An initialiser taken off a uniform declaration, to be set from C++.
struct UniformDefault {
    std::string name;
    std::string type;  // "int", "float", "vec2", "vec3" or "vec4"
    float f[4] = {};
    int i = 0;
};

// `source` (GLSL 3.30 core) as GLSL ES 3.00: the #version line becomes the ES
// header with precisions and the MD_GLES define (so a source can keep a
// fallback for what ES lacks), the clip-distance extension is asked for
// where the source writes gl_ClipDistance, and every `uniform T name = v;`
// loses its initialiser, which is appended to `defaults`.
std::string toGlslEs(const std::string& source, std::vector<UniformDefault>& defaults);

// The source as this build's context takes it: unchanged on desktop GL,
// toGlslEs in the browser.
std::string glslForThisGL(const std::string& source, std::vector<UniformDefault>& defaults);
