#include "platform/UniformDefaults.h"

#include "render/Shader.h"

void setUniformDefaults(const Shader& shader, const std::vector<UniformDefault>& defaults) {
    if (defaults.empty()) return;
    shader.use();
    for (const UniformDefault& d : defaults) {
        const char* name = d.name.c_str();
        if (d.type == "int" || d.type == "bool")
            shader.setInt(name, d.i);
        else if (d.type == "float")
            shader.setFloat(name, d.f[0]);
        else if (d.type == "vec2")
            shader.setVec2(name, d.f[0], d.f[1]);
        else if (d.type == "vec3")
            shader.setVec3(name, d.f[0], d.f[1], d.f[2]);
        else if (d.type == "vec4")
            shader.setVec4(name, d.f[0], d.f[1], d.f[2], d.f[3]);
    }
    glUseProgram(0);
}
