#include "scene/EntityCulling.h"

#include "core/Globals.h"
#include "render/Model.h"
#include "scene/Entity.h"

bool hiddenFrom(const ViewVolume& volume, Entity* entity, const FrameChoices& choices) {
    if (!choices.entityBoxes || !entity || !entity->model ||
        entity->model->meshes.empty())
        return false;
    entity->updateModelMatrix();
    return volume.hides(worldBox(*entity->model, entity->modelMatrix));
}
