#pragma once
// Gives a linked program the values its sources' uniform initialisers held
// (see GlslDialect.h), through the program's setters so the program keeps
// them like any other value.

#include <vector>

#include "platform/GlslDialect.h"

class Shader;

void setUniformDefaults(const Shader& shader, const std::vector<UniformDefault>& defaults);
