#include "render/ViewVolume.h"

#include <GL/glew.h>

#include "render/Model.h"
#include "render/Shader.h"

bool ViewVolume::hides(const Box& box) const {
    return outsideClip(clipFromWorld, box) || (clipping && belowPlane(clipPlane, box));
}

ViewVolume viewVolumeOf(const Shader* shader) {
    ViewVolume volume;
    if (!shader) return volume;
    const GLuint program = shader->program;
    glm::mat4 projection(1.0f), view(1.0f);
    const GLint projectionAt = glGetUniformLocation(program, "projection");
    const GLint viewAt = glGetUniformLocation(program, "view");
    if (projectionAt >= 0) glGetUniformfv(program, projectionAt, &projection[0][0]);
    if (viewAt >= 0) glGetUniformfv(program, viewAt, &view[0][0]);
    volume.clipFromWorld = projection * view;
    const GLint planeAt = glGetUniformLocation(program, "waterClipPlane");
    if (planeAt >= 0) glGetUniformfv(program, planeAt, &volume.clipPlane[0]);
    volume.clipping = planeAt >= 0 && glIsEnabled(GL_CLIP_DISTANCE0);
    return volume;
}

Box worldBox(const Model& model, const glm::mat4& modelMatrix) {
    Box box;
    if (model.meshes.empty()) return box;
    for (int i = 0; i < 8; ++i) {
        const glm::vec3 corner((i & 1) ? model.boundsMax.x : model.boundsMin.x,
                               (i & 2) ? model.boundsMax.y : model.boundsMin.y,
                               (i & 4) ? model.boundsMax.z : model.boundsMin.z);
        box.add(glm::vec3(modelMatrix * glm::vec4(corner, 1.0f)));
    }
    return box;
}
