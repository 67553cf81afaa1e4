#pragma once
// The scene's own lights as the lit programs see them: which of them can
// reach the surfaces inside a world box, as a LIGHT_MASK (see LightReach).

#include "render/ScreenRect.h"

// The lights that can reach `box`. The sun's shadow bit is kept unless
// `normals` (the box of the surfaces' normals) shows it cannot matter, or
// shadowMayFall says no shadow can fall in the box; a light the scene has
// not made keeps its bit.
unsigned sceneLightsReaching(const Box& box, const Box* normals = nullptr);

// Set by the shadow pass while its map is the one the programs read: false
// when nothing in the map can shadow a surface inside the box. Null: always
// may.
extern bool (*shadowMayFall)(const Box& box);
