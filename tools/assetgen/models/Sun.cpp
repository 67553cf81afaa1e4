// The sun: a sphere of radius 8, bright yellow-white with a faint granulation.

#include "lib/Family.h"
#include "lib/Noise.h"
#include "lib/ObjWriter.h"
#include "lib/Shapes.h"
#include "lib/Surfaces.h"

using namespace assetgen;

ASSETGEN_FAMILY(sun) {
    const auto folder = root / "models/sun";
    Image face(256, 256, 3);
    face.fill([](int, int, float u, float v) {
        const float g = tileFbm(u, v, 16, 401u, 3);
        return glm::vec3(1.0f, 0.93f + 0.04f * g, 0.74f + 0.08f * g);
    });
    ObjModel model;
    model.addMaterial(saveMaterial(folder, "sun", face, greyTexture(64, 0.05f), 0.0f));
    model.add("sun", "sun", uvSphere(8.0f, 32, 16));
    writeObj(model, folder / "sun2.obj");
}
