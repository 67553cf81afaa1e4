#include "render/ViewVolume.h"

#include "render/Model.h"

glm::mat4 drawnPartOfViewport{1.0f};

glm::mat4 clipToPart(const PixelRect& part, int width, int height) {
    glm::mat4 m(1.0f);
    if (part.empty() || width <= 0 || height <= 0) return m;
    // The part spans centre +- half in normalized device coordinates.
    const float halfX = float(part.width()) / float(width);
    const float halfY = float(part.height()) / float(height);
    const float centreX = float(part.x0 + part.x1) / float(width) - 1.0f;
    const float centreY = float(part.y0 + part.y1) / float(height) - 1.0f;
    m[0][0] = 1.0f / halfX;
    m[3][0] = -centreX / halfX;
    m[1][1] = 1.0f / halfY;
    m[3][1] = -centreY / halfY;
    return m;
}

bool ViewVolume::hides(const Box& box) const {
    return outsideClip(clipFromWorld, box) || (clipping && belowPlane(clipPlane, box));
}

Box modelBox(const Model& model) {
    Box box;
    if (model.meshes.empty()) return box;
    box.add(model.boundsMin);
    box.add(model.boundsMax);
    return box;
}

Box worldBox(const Model& model, const glm::mat4& modelMatrix) {
    return transformBox(modelMatrix, modelBox(model));
}
