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

// How an ES context gets the clip distance our vertex stages write.
enum class EsClipping {
    Extension,  // gl_ClipDistance itself, through GL_ANGLE_clip_cull_distance
    Discard,    // handed on as a varying; the fragment stage discards below 0
};

// `source` (GLSL 3.30 core) as GLSL ES 3.00: the #version line becomes the ES
// header with precisions and the MD_GLES define (so a source can keep a
// fallback for what ES lacks), the clip-distance extension is asked for
// where the source writes gl_ClipDistance (with EsClipping::Extension), and
// every `uniform T name = v;` loses its initialiser, which is appended to
// `defaults`.
std::string toGlslEs(const std::string& source, std::vector<UniformDefault>& defaults,
                     EsClipping clipping = EsClipping::Extension);

// A program's two stages as GLSL ES 3.00 (toGlslEs). With EsClipping::Discard
// a vertex stage that writes gl_ClipDistance[0] writes the varying
// md_clipDistance instead, and the fragment stage discards where it is below
// 0: the pixels the clip would have left out, with no extension.
void programToGlslEs(std::string& vertex, std::string& fragment,
                     std::vector<UniformDefault>& defaults, EsClipping clipping);

// A program's sources as this build's context takes them: unchanged on
// desktop GL; in the browser programToGlslEs, clipping by discard where the
// context has no clip distances (hasClipDistances).
void programForThisGL(std::string& vertex, std::string& fragment,
                      std::vector<UniformDefault>& defaults);
