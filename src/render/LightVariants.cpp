#include "render/LightVariants.h"

#include <iostream>

#include "lighting/LightReach.h"

LightVariants* modelLightVariants = nullptr;
LightVariants* terrainLightVariants = nullptr;

int LightVariants::buildsLeft = -1;
long LightVariants::builds = 0;

LightVariants::LightVariants(Shader* full, std::string vertexPath, std::string fragmentPath)
    : full(full), vertexPath(std::move(vertexPath)), fragmentPath(std::move(fragmentPath)) {}

LightVariants::~LightVariants() = default;

namespace {

// Marks a variant's key as built with CUT_OUT_DONE, and with LEAN; above the
// lights' bits.
constexpr unsigned kCutOutDoneKey = 1u << 8;
constexpr unsigned kLeanKey = 1u << 9;

}  // namespace

LightVariants::Variant& LightVariants::variantFor(unsigned key) {
    auto found = variants.find(key);
    if (found != variants.end()) return found->second;
    Variant& variant = variants[key];
    ++builds;
    const unsigned mask = key & kEveryLight;
    std::string define = "#define LIGHT_MASK " + std::to_string(mask);
    if (key & kCutOutDoneKey) define += "\n#define CUT_OUT_DONE";
    if (key & kLeanKey) define += "\n#define LEAN";
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

Shader* LightVariants::current(unsigned mask, bool cutOutDone, bool lean) {
    mask &= kEveryLight;
    if (!full) return nullptr;
    if (mask == kEveryLight && !cutOutDone && !lean) {
        full->use();
        return full;
    }
    const unsigned key = mask | (cutOutDone ? kCutOutDoneKey : 0u) | (lean ? kLeanKey : 0u);
    if (variants.count(key) == 0) {
        if (buildsLeft == 0) {
            full->use();
            return full;
        }
        if (buildsLeft > 0) --buildsLeft;
    }
    Variant& variant = variantFor(key);
    if (!variant.usable) {
        full->use();
        return full;
    }
    variant.shader->takeOver(*full);
    return variant.shader.get();
}
