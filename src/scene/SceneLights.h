#pragma once
// The scene's own lights as the lit programs see them: which of them can
// reach the surfaces inside a world box, as a LIGHT_MASK (see LightReach).

#include "render/ScreenRect.h"

// The lights that can reach `box`. The sun's shadow bit is kept unless
// `normals` (the box of the surfaces' normals) shows it cannot matter, or
// the map the receivers read (shadowTestMap) says no shadow can fall in the
// box; a light the scene has not made keeps its bit.
unsigned sceneLightsReaching(const Box& box, const Box* normals = nullptr);

class ShadowMap;
// The map whose shadows the receivers read, once its tests may be trusted
// (set at start-up, cleared before the map goes); null: a shadow may fall
// anywhere.
extern const ShadowMap* shadowTestMap;
