#include "render/LightVariants.h"

#include <iostream>

#include "lighting/LightReach.h"

LightVariants* modelLightVariants = nullptr;
LightVariants* terrainLightVariants = nullptr;

int LightVariants::buildsLeft = -1;

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
    if (!variant.shader->linked() || !full->linked()) {
        std::cerr << "A narrower lighting program (mask " << mask
                  << ") did not build; the full one draws instead." << std::endl;
        return variant;
    }
    variant.usable = true;
    return variant;
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
    variant.shader->takeOver(*full);
    return variant.shader.get();
}
