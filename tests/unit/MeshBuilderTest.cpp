// The generator's mesh builders and OBJ writer: orientation of every shape,
// normals across creases and texture seams, triangulation of concave
// outlines, and files that import back as written.

#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <gtest/gtest.h>

#include <assimp/Importer.hpp>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>

#include "lib/ObjWriter.h"
#include "lib/Shapes.h"
#include "lib/Surfaces.h"

using namespace assetgen;

namespace {

constexpr float kPi = 3.14159265f;

float polygonArea(const std::vector<glm::vec2>& p) {
    float a = 0.0f;
    for (size_t i = 0; i < p.size(); ++i) {
        const glm::vec2 q = p[i], r = p[(i + 1) % p.size()];
        a += q.x * r.y - q.y * r.x;
    }
    return 0.5f * a;
}

// Outward normals on a shape around the y axis: every vertex normal points away from the axis
// or along y where the surface is flat.
size_t inwardNormals(const Mesh& m, glm::vec3 centre) {
    size_t bad = 0;
    for (size_t i = 0; i < m.vertexCount(); ++i)
        if (glm::dot(m.normals[i], m.positions[i] - centre) < -1e-4f) ++bad;
    return bad;
}

const std::vector<glm::vec2> kLetterL = {{0, 0}, {3, 0}, {3, 1}, {1, 1}, {1, 4}, {0, 4}};

TEST(MeshBuilder, ClosedShapesEncloseTheirVolumeWithNormalsOutwards) {
    const Mesh box = assetgen::box({-1, -2, -3}, {1, 2, 3});
    EXPECT_NEAR(box.signedVolume(), 2.0 * 4.0 * 6.0, 1e-4);
    EXPECT_EQ(inwardNormals(box, {0, 0, 0}), 0u);

    const Mesh sphere = uvSphere(2.0f, 32, 16);
    EXPECT_NEAR(sphere.signedVolume(), 4.0 / 3.0 * kPi * 8.0, 0.05 * 4.0 / 3.0 * kPi * 8.0);
    EXPECT_EQ(inwardNormals(sphere, {0, 0, 0}), 0u);

    const Mesh can = cylinder(1.0f, 0.0f, 3.0f, 24);
    EXPECT_NEAR(can.signedVolume(), kPi * 3.0, 0.03 * kPi * 3.0);
    EXPECT_EQ(inwardNormals(can, {0, 1.5f, 0}), 0u);

    const Mesh pipe = tube({{0, 0, 0}, {0, 0, 2}, {0, 0, 4}}, {0.5f, 0.5f, 0.5f}, 16, true, true);
    EXPECT_NEAR(pipe.signedVolume(), kPi * 0.25 * 4.0, 0.05 * kPi);

    // A concave outline extruded: volume is area times depth, either way round.
    const Mesh prism = extrude(kLetterL, 0.0f, 2.0f);
    EXPECT_NEAR(prism.signedVolume(), 6.0 * 2.0, 1e-4);
    std::vector<glm::vec2> clockwise(kLetterL.rbegin(), kLetterL.rend());
    EXPECT_NEAR(extrude(clockwise, 0.0f, 2.0f).signedVolume(), 12.0, 1e-4);

    const Mesh rounded = superellipsoid({1, 0.5f, 2}, 0.3f, 16, 8);
    EXPECT_GT(rounded.signedVolume(), 0.0);
    EXPECT_LT(rounded.signedVolume(), 8.0 * 1.0 * 0.5 * 2.0);
}

TEST(MeshBuilder, MirroringKeepsFacesOutwardsAndTwoSidedSheetsEncloseNothing) {
    Mesh box = assetgen::box({0, 0, 0}, {1, 1, 1});
    box.transform(glm::mat4(glm::vec4(-1, 0, 0, 0), glm::vec4(0, 1, 0, 0), glm::vec4(0, 0, 1, 0),
                            glm::vec4(0, 0, 0, 1)));
    EXPECT_NEAR(box.signedVolume(), 1.0, 1e-5);
    EXPECT_EQ(inwardNormals(box, {-0.5f, 0.5f, 0.5f}), 0u);

    const Mesh sheet = twoSided(quad({0, 0, 0}, {1, 0, 0}, {0, 0, -1}));
    EXPECT_EQ(sheet.triangleCount(), 4u);
    EXPECT_NEAR(sheet.signedVolume(), 0.0, 1e-9);
    EXPECT_GT(sheet.normals.front().y, 0.99f);
    EXPECT_LT(sheet.normals.back().y, -0.99f);
}

TEST(MeshBuilder, TriangulationCoversConcaveOutlinesCounterClockwise) {
    for (bool reversed : {false, true}) {
        std::vector<glm::vec2> outline = kLetterL;
        if (reversed) outline.assign(kLetterL.rbegin(), kLetterL.rend());
        const std::vector<glm::uvec3> tris = triangulate(outline);
        ASSERT_EQ(tris.size(), outline.size() - 2);
        float area = 0.0f;
        for (const glm::uvec3& t : tris) {
            const float a = polygonArea({outline[t.x], outline[t.y], outline[t.z]});
            EXPECT_GT(a, 0.0f);
            area += a;
        }
        EXPECT_NEAR(area, 6.0f, 1e-4f);
    }
    EXPECT_TRUE(triangulate({{0, 0}, {1, 0}}).empty());
}

TEST(MeshBuilder, NormalsSplitAtCreasesAndJoinAcrossTextureSeams) {
    Mesh sharp = box({0, 0, 0}, {1, 1, 1});
    sharp.smoothNormals(60.0f);
    EXPECT_EQ(sharp.vertexCount(), 24u);
    for (const glm::vec3& n : sharp.normals)
        EXPECT_NEAR(std::abs(n.x) + std::abs(n.y) + std::abs(n.z), 1.0f, 1e-5f);

    Mesh soft = box({0, 0, 0}, {1, 1, 1});
    soft.smoothNormals(100.0f);
    for (const glm::vec3& n : soft.normals)
        EXPECT_NEAR(std::abs(n.x), 1.0f / std::sqrt(3.0f), 1e-4f);

    // The lathe repeats its first column at u = 1; both copies get one normal.
    const Mesh can = cylinder(1.0f, 0.0f, 2.0f, 12);
    size_t seamPairs = 0;
    for (size_t i = 0; i < can.vertexCount(); ++i)
        for (size_t j = i + 1; j < can.vertexCount(); ++j)
            if (glm::distance(can.positions[i], can.positions[j]) < 1e-5f &&
                can.uvs[i].x != can.uvs[j].x && std::abs(can.normals[i].y) < 0.5f &&
                std::abs(can.normals[j].y) < 0.5f) {
                ++seamPairs;
                EXPECT_LT(glm::distance(can.normals[i], can.normals[j]), 1e-5f);
            }
    EXPECT_GT(seamPairs, 0u);

    // Shrinking rings to a point leaves no zero-area triangle behind.
    const Mesh ball = uvSphere(1.0f, 8, 4);
    EXPECT_EQ(ball.triangleCount(), 8u * 4u * 2u - 2u * 8u);
}

TEST(ObjWriterTest, WritesFilesThatImportBackWithMaterialsAndNormals) {
    const auto dir = std::filesystem::temp_directory_path() / "md_objwriter_test";
    std::filesystem::remove_all(dir);
    ObjModel model;
    Material paint;
    paint.name = "paint";
    paint.diffuseMap = "paint.png";
    paint.specularMap = "paint_spec.png";
    model.addMaterial(paint);
    Material metal = paint;
    metal.name = "metal";
    metal.diffuseMap = "metal.png";
    model.addMaterial(metal);
    model.add("body", "paint", box({0, 0, 0}, {1, 1, 1}));
    model.add("body", "paint", box({2, 0, 0}, {3, 1, 1}));
    model.add("handle", "metal", cylinder(0.2f, 1.0f, 2.0f, 8));
    writeObj(model, dir / "thing.obj");
    ASSERT_TRUE(std::filesystem::exists(dir / "thing.mtl"));

    Assimp::Importer importer;
    const aiScene* scene =
        importer.ReadFile((dir / "thing.obj").string(), aiProcess_Triangulate | aiProcess_FlipUVs);
    ASSERT_NE(scene, nullptr) << importer.GetErrorString();
    size_t triangles = 0;
    std::set<std::string> maps;
    for (unsigned i = 0; i < scene->mNumMeshes; ++i) {
        const aiMesh* m = scene->mMeshes[i];
        EXPECT_TRUE(m->HasNormals());
        EXPECT_TRUE(m->HasTextureCoords(0));
        triangles += m->mNumFaces;
        aiString name;
        const aiMaterial* mat = scene->mMaterials[m->mMaterialIndex];
        ASSERT_EQ(mat->GetTexture(aiTextureType_DIFFUSE, 0, &name), AI_SUCCESS);
        maps.insert(name.C_Str());
        ASSERT_EQ(mat->GetTexture(aiTextureType_SPECULAR, 0, &name), AI_SUCCESS);
        maps.insert(name.C_Str());
    }
    EXPECT_EQ(triangles, model.triangleCount());
    EXPECT_EQ(maps, (std::set<std::string>{"paint.png", "paint_spec.png", "metal.png"}));
    std::filesystem::remove_all(dir);
}

TEST(ObjWriterTest, RefusesBrokenModels) {
    const auto file = std::filesystem::temp_directory_path() / "md_objwriter_bad" / "bad.obj";
    ObjModel unknown;
    unknown.add("body", "nothing", box({0, 0, 0}, {1, 1, 1}));
    EXPECT_THROW(writeObj(unknown, file), std::invalid_argument);

    ObjModel notFinite;
    Material m;
    m.name = "m";
    notFinite.addMaterial(m);
    Mesh broken = box({0, 0, 0}, {1, 1, 1});
    broken.positions[3].y = std::nanf("");
    notFinite.add("body", "m", broken);
    EXPECT_THROW(writeObj(notFinite, file), std::runtime_error);

    ObjModel clash;
    clash.addMaterial(m);
    clash.add("body", "m", broken);
    EXPECT_THROW(clash.add("body", "other", broken), std::invalid_argument);
    std::filesystem::remove_all(file.parent_path());
}

TEST(SurfaceTextures, TileWithoutASeam) {
    WoodStyle planks;
    planks.boards = 4;
    planks.weather = 0.5f;
    const Image images[] = {woodTexture(128, planks), metalTexture(128, glm::vec3(0.3f), 0.3f, 7u),
                            barkTexture(128, 8u),
                            clothTexture(128, glm::vec3(0.8f), glm::vec3(0.2f), 16, 9u)};
    for (const Image& img : images) {
        SCOPED_TRACE(&img - images);
        // Stepping from the last column (row) to the first is no harsher than
        // the harshest step between neighbouring columns (rows) inside, such
        // as a board's edge or a thread's.
        auto step = [&](int x0, int y0, int x1, int y1) {
            return glm::length(glm::vec3(img.get(x0, y0)) - glm::vec3(img.get(x1, y1)));
        };
        auto columnStep = [&](int a, int b) {
            float sum = 0.0f;
            for (int j = 0; j < 128; ++j) sum += step(a, j, b, j);
            return sum;
        };
        auto rowStep = [&](int a, int b) {
            float sum = 0.0f;
            for (int i = 0; i < 128; ++i) sum += step(i, a, i, b);
            return sum;
        };
        float worstColumn = 0.0f, worstRow = 0.0f;
        for (int i = 0; i + 1 < 128; ++i) {
            worstColumn = std::max(worstColumn, columnStep(i, i + 1));
            worstRow = std::max(worstRow, rowStep(i, i + 1));
        }
        EXPECT_LE(columnStep(127, 0), 1.2f * worstColumn);
        EXPECT_LE(rowStep(127, 0), 1.2f * worstRow);
    }
}

}  // namespace
