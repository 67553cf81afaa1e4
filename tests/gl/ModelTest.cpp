// Model import: meshes in node pre-order, vertex data, material textures read
// from the model's folder, the import failure, and the face-culling switch.
#include <gtest/gtest.h>

#include <memory>

#include "gl/GlTestSupport.h"
#include "gl/RenderTestFiles.h"
#include "render/Model.h"
#include "render/Shader.h"

namespace {

const char* kObj = R"(mtllib scene.mtl
o first
v 0 0 0
v 1 0 0
v 0 1 0
vt 0 0
vt 1 0
vt 0.25 1
vn 0 0 1
usemtl textured
f 1/1/1 2/2/1 3/3/1
o second
v 5 0 0
v 6 0 0
v 5 1 0
v 6 1 0
usemtl plain
f 4 5 7 6
)";

const char* kMtl = R"(newmtl textured
Kd 1 1 1
map_Kd wood.png
map_Ks shine.png
newmtl plain
Kd 0.5 0.5 0.5
)";

// Writes the two-object model with its material and textures; returns the
// .obj path.
std::string writeTwoObjectModel(const std::string& folder) {
    const auto dir = freshTempFolder(folder);
    writeText(dir / "scene.obj", kObj);
    writeText(dir / "scene.mtl", kMtl);
    writePng(dir / "wood.png", 2, 2, 3, patternPixels(2, 2, 3));
    writePng(dir / "shine.png", 3, 1, 3, patternPixels(3, 1, 3));
    return (dir / "scene.obj").string();
}

// Three levels of nodes, each with its own mesh, and a translation on the
// middle node: A(g0) { B(g1) { C(g2) } D(g3) }.
std::string colladaHierarchy() {
    std::string geometries, text;
    for (int g = 0; g < 4; ++g) {
        const std::string id = "g" + std::to_string(g);
        const std::string x = std::to_string(10 * g);
        geometries += "<geometry id=\"" + id + "\"><mesh><source id=\"" + id +
                      "-p\"><float_array id=\"" + id + "-a\" count=\"9\">" + x + " 0 0 " + x +
                      " 1 0 " + x + " 0 1</float_array><technique_common><accessor source=\"#" +
                      id +
                      "-a\" count=\"3\" stride=\"3\"><param name=\"X\" type=\"float\"/>"
                      "<param name=\"Y\" type=\"float\"/><param name=\"Z\" type=\"float\"/>"
                      "</accessor></technique_common></source><vertices id=\"" +
                      id + "-v\"><input semantic=\"POSITION\" source=\"#" + id +
                      "-p\"/></vertices><triangles count=\"1\"><input semantic=\"VERTEX\" "
                      "source=\"#" +
                      id + "-v\" offset=\"0\"/><p>0 1 2</p></triangles></mesh></geometry>\n";
    }
    return R"(<?xml version="1.0" encoding="utf-8"?>
<COLLADA xmlns="http://www.collada.org/2005/11/COLLADASchema" version="1.4.1">
<asset><unit meter="1"/><up_axis>Y_UP</up_axis></asset>
<library_geometries>
)" + geometries +
           R"(</library_geometries>
<library_visual_scenes><visual_scene id="s">
<node id="A" name="A"><instance_geometry url="#g0"/>
  <node id="B" name="B"><translate>100 0 0</translate><instance_geometry url="#g1"/>
    <node id="C" name="C"><instance_geometry url="#g2"/></node>
  </node>
  <node id="D" name="D"><instance_geometry url="#g3"/></node>
</node>
</visual_scene></library_visual_scenes>
<scene><instance_visual_scene url="#s"/></scene>
</COLLADA>
)";
}

}  // namespace

TEST(Model, ImportsMeshesVerticesAndMaterialTexturesFromTheModelFolder) {
    const std::string path = writeTwoObjectModel("twoObjects");
    std::unique_ptr<Model> model;
    const std::string out =
        captureStdout([&] { model = std::make_unique<Model>(path.c_str(), false, true); });
    EXPECT_EQ(out, "");
    EXPECT_EQ(model->directory, path.substr(0, path.size() - std::string("/scene.obj").size()));
    ASSERT_EQ(model->meshes.size(), 2u);

    const Mesh& first = model->meshes[0];
    ASSERT_EQ(first.vertices.size(), 3u);
    EXPECT_EQ(first.indices, (std::vector<unsigned int>{0, 1, 2}));
    EXPECT_EQ(first.vertices[1].position, glm::vec3(1, 0, 0));
    EXPECT_EQ(first.vertices[1].normal, glm::vec3(0, 0, 1));
    // V is flipped on import: the file's v = 1 becomes 0.
    EXPECT_FLOAT_EQ(first.vertices[2].texCoords.x, 0.25f);
    EXPECT_FLOAT_EQ(first.vertices[2].texCoords.y, 0.0f);
    EXPECT_FLOAT_EQ(first.vertices[0].texCoords.y, 1.0f);
    // Diffuse first, then specular, each read from the model's own folder.
    ASSERT_EQ(first.textures.size(), 2u);
    EXPECT_EQ(first.textures[0].type, "texture_diffuse");
    EXPECT_EQ(first.textures[0].path, "wood.png");
    EXPECT_EQ(texLevel(first.textures[0].id, GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH), 2);
    EXPECT_EQ(texLevel(first.textures[0].id, GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT),
              GL_RGBA16F);
    EXPECT_EQ(first.textures[1].type, "texture_specular");
    EXPECT_EQ(first.textures[1].path, "shine.png");
    EXPECT_EQ(texLevel(first.textures[1].id, GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH), 3);

    // A quad without texture coordinates or normals, in a material without
    // texture maps: two triangles, (0, 0) coordinates, upward normals.
    const Mesh& second = model->meshes[1];
    EXPECT_EQ(second.vertices.size(), 4u);
    EXPECT_EQ(second.indices.size(), 6u);
    EXPECT_EQ(second.vertices[0].position, glm::vec3(5, 0, 0));
    for (const Vertex& v : second.vertices) {
        EXPECT_EQ(v.texCoords, glm::vec2(0, 0));
        EXPECT_EQ(v.normal, glm::vec3(0, 1, 0));
    }
    EXPECT_TRUE(second.textures.empty());

    // No cache: the same files loaded again become new texture objects, and
    // forced normals replace the file's.
    const Model again(path.c_str(), true, true);
    ASSERT_EQ(again.meshes.size(), 2u);
    EXPECT_NE(again.meshes[0].textures[0].id, first.textures[0].id);
    for (const Vertex& v : again.meshes[0].vertices) EXPECT_EQ(v.normal, glm::vec3(0, 1, 0));
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

TEST(Model, NodesAreWalkedInPreOrderWithoutTheirTransforms) {
    const auto dir = freshTempFolder("hierarchy");
    writeText(dir / "tree.dae", colladaHierarchy());
    std::unique_ptr<Model> model;
    const std::string out = captureStdout(
        [&] { model = std::make_unique<Model>((dir / "tree.dae").c_str(), false, true); });
    EXPECT_EQ(out, "");
    ASSERT_EQ(model->meshes.size(), 4u);
    // Parent before children, a child's subtree before its next sibling.
    const float expectedX[4] = {0, 10, 20, 30};
    for (int i = 0; i < 4; ++i) {
        ASSERT_FALSE(model->meshes[i].vertices.empty());
        EXPECT_FLOAT_EQ(model->meshes[i].vertices[0].position.x, expectedX[i]) << i;
    }
}

TEST(Model, AFileThatCannotBeImportedIsReportedAndGivesAnEmptyModel) {
    const auto dir = freshTempFolder("missingModel");
    writeText(dir / "garbage.obj", "this is not a model\n\x01\x02\x03");
    for (const std::string& path :
         {(dir / "nothing.obj").string(), (dir / "garbage.xyz").string(), std::string()}) {
        std::unique_ptr<Model> model;
        const std::string out =
            captureStdout([&] { model = std::make_unique<Model>(path.c_str(), false, false); });
        const std::string prefix = "ERROR: Fehler beim Laden von ASSIMP Model : ";
        EXPECT_EQ(out.rfind(prefix, 0), 0u) << out;
        EXPECT_GT(out.size(), prefix.size() + 1) << "the importer's own text follows";
        EXPECT_EQ(out.back(), '\n');
        EXPECT_TRUE(model->meshes.empty());
        EXPECT_TRUE(model->directory.empty());
        model->draw(nullptr);  // nothing to draw, nothing dereferenced
    }
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

TEST(Model, DrawingWithoutCullingSwitchesBackFaceCullingOnAfterwards) {
    // One clockwise (back-facing) triangle drawn straight in clip space.
    const auto dir = freshTempFolder("cull");
    writeText(dir / "back.obj", "v -1 -1 0\nv 0 1 0\nv 1 -1 0\nf 1 2 3\n");
    const auto v = writeTempFile("cull.vert",
                                 "#version 330 core\nlayout (location = 0) in vec3 position;\n"
                                 "void main() { gl_Position = vec4(position, 1.0); }\n");
    const auto f = writeTempFile(
        "cull.frag", "#version 330 core\nout vec4 c;\nvoid main() { c = vec4(1.0); }\n");
    Shader shader(v.c_str(), f.c_str());
    Model culled((dir / "back.obj").c_str(), false, true);
    Model doubleSided((dir / "back.obj").c_str(), false, false);
    OffscreenTarget target(4, 4);
    ASSERT_TRUE(target.complete());
    const std::vector<unsigned char> white = {255, 255, 255, 255}, clear = {0, 0, 0, 0};
    auto cullState = [] {
        GLint mode = 0;
        glGetIntegerv(GL_CULL_FACE_MODE, &mode);
        return std::make_pair(bool(glIsEnabled(GL_CULL_FACE)), mode);
    };
    shader.use();

    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    culled.draw(&shader);
    EXPECT_EQ(target.pixel(2, 2), clear);
    doubleSided.draw(&shader);
    EXPECT_EQ(target.pixel(2, 2), white);
    EXPECT_EQ(cullState(), std::make_pair(true, GLint(GL_BACK)));

    // A culling model leaves the caller's state alone; a double-sided one
    // always ends with back faces culled.
    glDisable(GL_CULL_FACE);
    glCullFace(GL_FRONT);
    culled.draw(&shader);
    EXPECT_EQ(cullState(), std::make_pair(false, GLint(GL_FRONT)));
    doubleSided.draw(&shader);
    culled.draw(&shader);
    EXPECT_EQ(cullState(), std::make_pair(true, GLint(GL_BACK)));

    glDisable(GL_CULL_FACE);
    glUseProgram(0);
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}
