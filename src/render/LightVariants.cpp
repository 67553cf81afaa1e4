#include "render/LightVariants.h"

#include <iostream>

#include "lighting/LightReach.h"

LightVariants* modelLightVariants = nullptr;
LightVariants* terrainLightVariants = nullptr;

int LightVariants::buildsLeft = -1;

namespace {

bool linked(GLuint program) {
    GLint ok = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    return ok != 0;
}

}  // namespace

LightVariants::LightVariants(Shader* full, std::string vertexPath, std::string fragmentPath)
    : full(full), vertexPath(std::move(vertexPath)), fragmentPath(std::move(fragmentPath)) {}

LightVariants::~LightVariants() = default;

LightVariants::Variant& LightVariants::variantFor(unsigned mask) {
    auto found = variants.find(mask);
    if (found != variants.end()) return found->second;
    Variant& variant = variants[mask];
    const std::string define = "#define LIGHT_MASK " + std::to_string(mask);
    variant.shader =
        std::make_unique<Shader>(vertexPath.c_str(), fragmentPath.c_str(), define.c_str());
    const GLuint program = variant.shader->program;
    if (!linked(program) || !linked(full->program)) {
        std::cerr << "A narrower lighting program (mask " << mask
                  << ") did not build; the full one draws instead." << std::endl;
        return variant;
    }
    // Every uniform the narrower program uses, element by element, with its
    // place in the full program.
    GLint count = 0;
    glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
    for (GLint u = 0; u < count; ++u) {
        char name[256] = {0};
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniform(program, GLuint(u), sizeof(name), nullptr, &size, &type, name);
        if (!copyableUniformType(type)) {
            std::cerr << "A narrower lighting program (mask " << mask << ") declares \"" << name
                      << "\", which it cannot take over; the full one draws instead." << std::endl;
            variant.copies.clear();
            return variant;
        }
        std::string base = name;
        if (size > 1 && base.size() > 3 && base.compare(base.size() - 3, 3, "[0]") == 0)
            base.resize(base.size() - 3);
        for (GLint element = 0; element < size; ++element) {
            const std::string each =
                size > 1 ? base + "[" + std::to_string(element) + "]" : std::string(name);
            const GLint to = glGetUniformLocation(program, each.c_str());
            const GLint from = glGetUniformLocation(full->program, each.c_str());
            if (to >= 0 && from >= 0) variant.copies.push_back({type, from, to});
        }
    }
    variant.usable = true;
    return variant;
}

void LightVariants::takeOver(const Variant& variant) const {
    for (const Copy& c : variant.copies) copyUniformValue(full->program, c.from, c.to, c.type);
}

Shader* LightVariants::current(unsigned mask) {
    mask &= kEveryLight;
    if (!full) return nullptr;
    if (mask == kEveryLight) {
        full->use();
        return full;
    }
    if (variants.count(mask) == 0) {
        if (buildsLeft == 0) {
            full->use();
            return full;
        }
        if (buildsLeft > 0) --buildsLeft;
    }
    Variant& variant = variantFor(mask);
    if (!variant.usable) {
        full->use();
        return full;
    }
    variant.shader->use();
    takeOver(variant);
    return variant.shader.get();
}
