#pragma once
// Leaving out entities a pass cannot show: the box around an entity's model,
// placed by its model matrix, tested against the pass's view volume. It only
// ever skips what would draw no pixel, and nothing unless the frame takes the
// entity-boxes choice.

#include "core/FrameChoices.h"
#include "render/ViewVolume.h"

class Entity;

// True when the entity's placed model lies wholly outside the volume. An
// entity without a model or without vertices is never reported hidden.
bool hiddenFrom(const ViewVolume& volume, Entity* entity, const FrameChoices& choices);
