// The generated models as the program reads them: every mesh triangulated,
// with unit normals and texture coordinates, within its triangle budget,
// wound counter-clockwise seen from outside, with decodable material maps.

#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include <cmath>
#include <ostream>
#include <string>

#include "unit/ModelAssetImport.h"

using namespace modeltest;

namespace {

struct ModelCase {
    const char* path;
    size_t budget;
    bool cutout;  // cut-out leaves or blades: RGBA maps allowed, normals not tied to faces
    bool solid;   // has at least one closed part
};

const ModelCase kModels[] = {
    {"boat2/boat.obj", 8000, false, true},
    {"streetLamp/streetLamp.obj", 8000, false, true},
    {"streetLamp/lightBulbs.obj", 3000, false, true},
    {"jetty/jetty.obj", 3000, false, true},
    {"sun/sun2.obj", 3000, false, true},
    {"furniture/furniture.obj", 8000, false, true},
    {"breakfast/breakfast/breakfast.obj", 8000, false, true},
    {"breakfast/coffeeCup/coffee.obj", 3000, false, true},
    {"breakfast/waterGlass/juice.obj", 3000, false, true},
    {"breakfast/waterGlass/glasses.obj", 3000, false, true},
    {"vase/vase.obj", 3000, false, true},
    {"flower/flower.obj", 3000, false, true},
    {"tree2/tree.obj", 6000, true, false},
    {"tree2/treeFar.obj", 1500, true, false},
    {"tree2/treeThin.obj", 4500, true, false},
    {"tree2/treeDistant.obj", 600, true, false},
    {"grass/grassModel.obj", 4000, true, false},
    {"grass/grassThin.obj", 2000, true, false},
};

void PrintTo(const ModelCase& c, std::ostream* os) {
    *os << c.path;
}

class ModelFileTest : public testing::TestWithParam<ModelCase> {
protected:
    void SetUp() override {
        model_ = importModel(GetParam().path);
        ASSERT_TRUE(model_.ok) << GetParam().path << ": " << model_.error;
        ASSERT_FALSE(model_.meshes.empty()) << GetParam().path;
    }
    ImportedModel model_;
};

TEST_P(ModelFileTest, ImportsAsTrianglesWithUnitNormalsAndTextureCoordinatesWithinBudget) {
    EXPECT_LE(model_.triangleCount(), GetParam().budget);
    for (const ImportedMesh& m : model_.meshes) {
        SCOPED_TRACE(m.name);
        EXPECT_EQ(m.nonTriangles, 0u);
        EXPECT_FALSE(m.indices.empty());
        ASSERT_EQ(m.normals.size(), m.positions.size());
        ASSERT_EQ(m.uvs.size(), m.positions.size());
        size_t badNormals = 0, badValues = 0;
        for (size_t i = 0; i < m.positions.size(); ++i) {
            if (std::abs(glm::length(m.normals[i]) - 1.0f) > 1e-3f) ++badNormals;
            for (int k = 0; k < 3; ++k)
                if (!std::isfinite(m.positions[i][k])) ++badValues;
            if (!std::isfinite(m.uvs[i].x) || !std::isfinite(m.uvs[i].y)) ++badValues;
        }
        EXPECT_EQ(badNormals, 0u);
        EXPECT_EQ(badValues, 0u);
    }
}

TEST_P(ModelFileTest, EveryMaterialHasOneDecodableDiffuseAndSpecularMapBesideIt) {
    for (const ImportedMesh& m : model_.meshes) {
        SCOPED_TRACE(m.name);
        ASSERT_EQ(m.diffuseMaps.size(), 1u);
        ASSERT_EQ(m.specularMaps.size(), 1u);
        for (const std::string& name : {m.diffuseMaps[0], m.specularMaps[0]}) {
            SCOPED_TRACE(name);
            EXPECT_EQ(name.find_first_of("/\\"), std::string::npos) << "a bare file name";
            const std::string file = model_.directory + "/" + name;
            int w = 0, h = 0, channels = 0;
            unsigned char* data = stbi_load(file.c_str(), &w, &h, &channels, 0);
            ASSERT_NE(data, nullptr) << stbi_failure_reason();
            stbi_image_free(data);
            EXPECT_GT(w, 0);
            EXPECT_LE(w, 512);
            EXPECT_GT(h, 0);
            EXPECT_LE(h, 512);
            EXPECT_TRUE(channels == 3 || channels == 4) << channels << " channels";
            if (channels == 4) {
                EXPECT_TRUE(GetParam().cutout) << "alpha only for cut-out leaves and grass";
            }
        }
    }
}

TEST_P(ModelFileTest, FacesWindCounterClockwiseSeenFromOutside) {
    bool sawSolid = false;
    for (const ImportedMesh& m : model_.meshes) {
        SCOPED_TRACE(m.name);
        if (!GetParam().cutout) {
            // The face's own normal (from its winding) agrees with its vertex normals.
            size_t disagree = 0, faces = 0;
            for (size_t t = 0; t + 2 < m.indices.size(); t += 3) {
                const unsigned a = m.indices[t], b = m.indices[t + 1], c = m.indices[t + 2];
                const glm::vec3 face =
                    glm::cross(m.positions[b] - m.positions[a], m.positions[c] - m.positions[a]);
                if (glm::length(face) < 1e-9f) continue;
                ++faces;
                if (glm::dot(face, m.normals[a] + m.normals[b] + m.normals[c]) <= 0.0f) ++disagree;
            }
            EXPECT_GT(faces, 0u);
            EXPECT_EQ(disagree, 0u) << "of " << faces << " faces";
        }
        if (isClosed(m)) {
            // Outward faces enclose a positive volume; a two-sided sheet encloses none.
            const Bounds b = boundsOf(m.positions);
            const float size = glm::length(b.hi - b.lo);
            const double volume = signedVolume(m);
            EXPECT_GT(volume, -1e-7 * size * size * size);
            sawSolid = sawSolid || volume > 1e-7 * size * size * size;
        }
    }
    EXPECT_EQ(sawSolid, GetParam().solid) << "a closed part enclosing a positive volume";
}

INSTANTIATE_TEST_SUITE_P(AllModels, ModelFileTest, testing::ValuesIn(kModels),
                         [](const testing::TestParamInfo<ModelCase>& info) {
                             std::string name = info.param.path;
                             name = name.substr(name.find_last_of('/') + 1);
                             return name.substr(0, name.find('.'));
                         });

TEST(ModelFiles, CutOutModelsCarryAnAlphaMap) {
    for (const char* path : {"tree2/tree.obj", "grass/grassModel.obj"}) {
        SCOPED_TRACE(path);
        const ImportedModel model = importModel(path);
        ASSERT_TRUE(model.ok) << model.error;
        bool alpha = false;
        for (const ImportedMesh& m : model.meshes) {
            int w = 0, h = 0, channels = 0;
            if (stbi_info((model.directory + "/" + m.diffuseMaps.at(0)).c_str(), &w, &h, &channels))
                alpha = alpha || channels == 4;
        }
        EXPECT_TRUE(alpha);
    }
}

}  // namespace
