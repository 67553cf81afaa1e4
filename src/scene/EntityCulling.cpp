#include "scene/EntityCulling.h"

#include "core/Globals.h"
#include "core/QualityProfile.h"
#include "render/Model.h"
#include "scene/Entity.h"

bool hiddenFrom(const ViewVolume& volume, Entity* entity) {
    if (!quality.uses(Shortcut::EntityBoxes) || !entity || !entity->model ||
        entity->model->meshes.empty())
        return false;
    entity->updateModelMatrix();
    return volume.hides(worldBox(*entity->model, entity->modelMatrix));
}
