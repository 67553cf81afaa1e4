// Image files to textures: storage formats, pixel layout, mipmaps, sampling
// parameters, what is left bound, and the failure paths.
#include <gtest/gtest.h>

#include "gl/GlTestSupport.h"
#include "gl/RenderTestFiles.h"
#include "render/TextureLoader.h"

namespace {

GLint texParameter(GLuint texture, GLenum target, GLenum what) {
    GLint value = -1;
    glBindTexture(target, texture);
    glGetTexParameteriv(target, what, &value);
    glBindTexture(target, 0);
    return value;
}

// The pixel (x, y) of an RGBA read-back.
std::vector<unsigned char> rgbaAt(const std::vector<unsigned char>& pixels, int width, int x,
                                  int y) {
    const size_t at = (size_t(y) * width + x) * 4;
    return {pixels[at], pixels[at + 1], pixels[at + 2], pixels[at + 3]};
}

}  // namespace

TEST(TextureLoader, LoadTextureGivesOpaqueRgba8WithFullMipChainAndNothingBound) {
    // An odd width: three-byte rows are not four-byte aligned.
    const int w = 5, h = 3;
    const auto src = patternPixels(w, h, 3);
    const auto file = freshTempFolder("load3") / "rgb.png";
    ASSERT_TRUE(writePng(file, w, h, 3, src));

    GLuint first = 0, second = 0;
    const std::string out = captureStdout([&] {
        first = loadTexture(file.c_str());
        second = loadTexture(file.c_str());
    });
    EXPECT_EQ(out, "");
    EXPECT_NE(first, 0u);
    EXPECT_NE(first, second);  // no cache: every call makes a new object
    EXPECT_EQ(boundTexture2D(0), 0);

    EXPECT_EQ(texLevel(first, GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA8);
    EXPECT_EQ(texLevel(first, GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH), w);
    EXPECT_EQ(texLevel(first, GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT), h);
    EXPECT_EQ(texLevel(first, GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH), 2);
    EXPECT_EQ(texLevel(first, GL_TEXTURE_2D, 2, GL_TEXTURE_WIDTH), 1);
    EXPECT_EQ(texLevel(first, GL_TEXTURE_2D, 2, GL_TEXTURE_HEIGHT), 1);
    EXPECT_EQ(texParameter(first, GL_TEXTURE_2D, GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(texParameter(first, GL_TEXTURE_2D, GL_TEXTURE_WRAP_T), GL_REPEAT);
    EXPECT_EQ(texParameter(first, GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(texParameter(first, GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER), GL_LINEAR);

    // Top row first, every pixel in place, alpha 1 everywhere.
    const auto pixels = readTexture(first);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t s = (size_t(y) * w + x) * 3;
            EXPECT_EQ(rgbaAt(pixels, w, x, y),
                      (std::vector<unsigned char>{src[s], src[s + 1], src[s + 2], 255}))
                << x << "," << y;
        }
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

TEST(TextureLoader, LoadTextureReadsFourAndOneChannelFilesAsRgb) {
    const int w = 3, h = 2;
    const auto dir = freshTempFolder("loadChannels");
    const auto rgba = patternPixels(w, h, 4);
    const auto grey = patternPixels(w, h, 1);
    ASSERT_TRUE(writePng(dir / "rgba.png", w, h, 4, rgba));
    ASSERT_TRUE(writePng(dir / "grey.png", w, h, 1, grey));

    GLuint fromRgba = 0, fromGrey = 0;
    const std::string out = captureStdout([&] {
        fromRgba = loadTexture((dir / "rgba.png").c_str());
        fromGrey = loadTexture((dir / "grey.png").c_str());
    });
    EXPECT_EQ(out, "4 components\n");

    const auto a = readTexture(fromRgba);
    const auto g = readTexture(fromGrey);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t p = size_t(y) * w + x;
            // Colour kept pixel for pixel, the file's alpha dropped.
            EXPECT_EQ(rgbaAt(a, w, x, y), (std::vector<unsigned char>{rgba[p * 4], rgba[p * 4 + 1],
                                                                      rgba[p * 4 + 2], 255}));
            EXPECT_EQ(rgbaAt(g, w, x, y),
                      (std::vector<unsigned char>{grey[p], grey[p], grey[p], 255}));
        }
    EXPECT_EQ(texLevel(fromGrey, GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA8);
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

TEST(TextureLoader, TextureFromFileJoinsTheFolderAndKeepsAlphaAsHalfFloats) {
    const int w = 3, h = 3;
    const auto dir = freshTempFolder("material");
    const auto rgba = patternPixels(w, h, 4);
    const auto greyAlpha = patternPixels(w, h, 2);
    ASSERT_TRUE(writePng(dir / "leaf.png", w, h, 4, rgba));
    ASSERT_TRUE(writePng(dir / "sub" / "mask.png", w, h, 2, greyAlpha));

    GLuint leaf = 0, mask = 0;
    const std::string out = captureStdout([&] {
        leaf = textureFromFile("leaf.png", dir.string());
        mask = textureFromFile("sub/mask.png", dir.string());
    });
    EXPECT_EQ(out, "");  // no "4 components" here
    EXPECT_EQ(boundTexture2D(0), 0);
    EXPECT_EQ(texLevel(leaf, GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA16F);
    EXPECT_EQ(texLevel(leaf, GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH), 1);
    EXPECT_EQ(texParameter(leaf, GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);

    const auto l = readTexture(leaf);
    const auto m = readTexture(mask);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t p = size_t(y) * w + x;
            EXPECT_EQ(rgbaAt(l, w, x, y),
                      (std::vector<unsigned char>{rgba[p * 4], rgba[p * 4 + 1], rgba[p * 4 + 2],
                                                  rgba[p * 4 + 3]}));
            const unsigned char v = greyAlpha[p * 2], alpha = greyAlpha[p * 2 + 1];
            EXPECT_EQ(rgbaAt(m, w, x, y), (std::vector<unsigned char>{v, v, v, alpha}));
        }
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

// A reduced frame reads every loaded 2D texture from its nearest level: the
// ground's (loadTexture), the models' and their alpha copies. A texture made
// meanwhile takes the filter in force, one deleted is passed over, the
// binding stays, and the next full frame blends levels again everywhere.
TEST(TextureLoader, NearestLevelsSwitchEveryLoadedTextureAndBack) {
    setLoadChoices({true, true});
    const int w = 4, h = 4;
    const auto dir = freshTempFolder("nearest");
    ASSERT_TRUE(writePng(dir / "ground.png", w, h, 3, patternPixels(w, h, 3)));
    ASSERT_TRUE(writePng(dir / "leaf.png", w, h, 4, patternPixels(w, h, 4)));
    GLuint ground = 0, leaf = 0, gone = 0, later = 0;
    captureStdout([&] {
        ground = loadTexture((dir / "ground.png").c_str());
        leaf = textureFromFile("leaf.png", dir.string());
        gone = loadTexture((dir / "ground.png").c_str());
    });
    const GLuint alpha = alphaTextureOf(leaf);
    ASSERT_NE(alpha, 0u);
    glDeleteTextures(1, &gone);
    GLuint other = 0;  // not ours: left as it is, and still bound afterwards
    glGenTextures(1, &other);
    glBindTexture(GL_TEXTURE_2D, other);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);

    const auto filters = [&](std::vector<GLuint> ids) {
        std::vector<GLint> out;
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        for (GLuint id : ids) out.push_back(texParameter(id, GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER));
        glBindTexture(GL_TEXTURE_2D, GLuint(bound));
        return out;
    };
    const GLint blend = GL_LINEAR_MIPMAP_LINEAR, nearest = GL_LINEAR_MIPMAP_NEAREST;
    readNearestLevels(true);
    EXPECT_EQ(boundTexture2D(0), GLint(other));
    EXPECT_EQ(filters({ground, leaf, alpha, other}),
              (std::vector<GLint>{nearest, nearest, nearest, GL_NEAREST}));
    captureStdout([&] { later = loadTexture((dir / "ground.png").c_str()); });
    EXPECT_EQ(filters({later}), std::vector<GLint>{nearest});
    glBindTexture(GL_TEXTURE_2D, other);  // the loader leaves nothing bound
    readNearestLevels(true);              // no change asked: nothing to do
    readNearestLevels(false);
    EXPECT_EQ(filters({ground, leaf, alpha, later, other}),
              (std::vector<GLint>{blend, blend, blend, blend, GL_NEAREST}));
    EXPECT_EQ(boundTexture2D(0), GLint(other));
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteTextures(1, &other);
    setLoadChoices({});
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

TEST(TextureLoader, CubemapFillsMissingAndMissizedFacesAndGoesOn) {
    const int size = 4;
    const auto dir = freshTempFolder("cube");
    std::vector<std::string> faces;
    for (int i = 0; i < 6; ++i) {
        const auto file = dir / ("face" + std::to_string(i) + ".png");
        // +Y is missing, +Z smaller than the first face, -Z not square.
        const int width = i == 4 ? 2 : size, height = i == 5 ? 3 : width;
        std::vector<unsigned char> pixels(width * height * 3, (unsigned char)(40 * i + 10));
        if (i != 2) {
            ASSERT_TRUE(writePng(file, width, height, 3, pixels));
        }
        faces.push_back(file.string());
    }

    testing::internal::CaptureStderr();
    const GLuint cube = loadCubemap(faces);
    const std::string err = testing::internal::GetCapturedStderr();
    const std::string failed = "Texture in Cubemap failed to load\n  ";
    EXPECT_EQ(err, failed + faces[2] + ": not a readable image\n" + failed + faces[4] +
                       ": is 2 wide, the first face 4\n" + failed + faces[5] +
                       ": is 4 x 3, not square\n");

    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_CUBE_MAP, &bound);
    EXPECT_EQ(bound, 0);
    EXPECT_EQ(texParameter(cube, GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(texParameter(cube, GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R), GL_CLAMP_TO_EDGE);
    for (int i = 0; i < 6; ++i) {
        const GLenum face = GL_TEXTURE_CUBE_MAP_POSITIVE_X + i;
        EXPECT_EQ(texLevel(cube, face, 0, GL_TEXTURE_WIDTH), size) << i;
        const auto pixels = readTexture(cube, face);
        EXPECT_EQ(pixels[0], i >= 2 && i != 3 ? 0 : 40 * i + 10) << i;  // faces in list order
    }
    EXPECT_EQ(texLevel(cube, GL_TEXTURE_CUBE_MAP_POSITIVE_X, 0, GL_TEXTURE_INTERNAL_FORMAT),
              GL_RGB);
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

TEST(TextureLoaderDeathTest, AnUndecodableOrOversized2DImageEndsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto dir = freshTempFolder("broken");
    writeText(dir / "broken.png", "not a picture");
    EXPECT_EXIT(loadTexture((dir / "missing.jpg").c_str()), testing::ExitedWithCode(1),
                "Texture failed to load\n");
    EXPECT_EXIT(textureFromFile("broken.png", dir.string()), testing::ExitedWithCode(1),
                "Texture failed to load\n");
    // A tiny valid file whose size would cost gigabytes, or more than the
    // driver takes: refused before decoding, with the file named.
    ASSERT_TRUE(writePng(dir / "wide.png", 20000, 2, 1, std::vector<unsigned char>(40000, 128)));
    EXPECT_EXIT(loadTexture((dir / "wide.png").c_str()), testing::ExitedWithCode(1),
                "Texture failed to load\n  .*wide.png: declares 20000 x 2, above the limit of");
    EXPECT_EXIT(textureFromFile("wide.png", dir.string()), testing::ExitedWithCode(1),
                "Texture failed to load\n  .*/wide.png: declares 20000 x 2");
}

// The mipmap levels built on the CPU (for files read ahead on a worker) are
// the driver's own, texel for texel, in both storages; sides that are not
// powers of two are left to the driver.
TEST(TextureLoader, MipLevelsBuiltAheadMatchTheDriversOwn) {
    setLoadChoices({true, true});
    const auto dir = freshTempFolder("mips");
    struct Case {
        int w, h, channels;
        bool model;
    };
    for (const Case c : {Case{64, 32, 3, false}, Case{1, 8, 3, false}, Case{32, 64, 4, true},
                         Case{16, 16, 3, true}, Case{6, 4, 3, false}}) {
        std::vector<unsigned char> src(size_t(c.w) * c.h * c.channels);
        unsigned int seed = 7u + unsigned(c.w);
        for (unsigned char& v : src) v = (seed = seed * 1103515245u + 12345u) >> 23;
        const auto file = dir / ("m" + std::to_string(c.w) + "x" + std::to_string(c.h) + ".png");
        ASSERT_TRUE(writePng(file, c.w, c.h, c.channels, src));
        GLuint ours = 0;
        captureStdout([&] {
            ours = c.model ? textureFromFile(file.filename().c_str(), dir.string())
                           : loadTexture(file.c_str());
        });
        GLuint driver = 0;
        glGenTextures(1, &driver);
        glBindTexture(GL_TEXTURE_2D, driver);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, c.model ? GL_RGBA16F : GL_RGBA8, c.w, c.h, 0,
                     c.channels == 4 ? GL_RGBA : GL_RGB, GL_UNSIGNED_BYTE, src.data());
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glGenerateMipmap(GL_TEXTURE_2D);
        const GLenum type = c.model ? GL_HALF_FLOAT : GL_UNSIGNED_BYTE;
        int levels = 0;
        for (int level = 0;; ++level) {
            const int w = texLevel(driver, GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH);
            const int h = texLevel(driver, GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT);
            if (w == 0) break;
            ASSERT_EQ(texLevel(ours, GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH), w);
            ASSERT_EQ(texLevel(ours, GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT), h);
            std::vector<unsigned char> a(size_t(w) * h * 8), b(a.size());
            glBindTexture(GL_TEXTURE_2D, ours);
            glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, type, a.data());
            glBindTexture(GL_TEXTURE_2D, driver);
            glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, type, b.data());
            EXPECT_EQ(a, b) << c.w << " x " << c.h << " level " << level;
            ++levels;
            if (w == 1 && h == 1) break;
        }
        EXPECT_GT(levels, 1);
        glBindTexture(GL_TEXTURE_2D, 0);
        glDeleteTextures(1, &driver);
    }
    setLoadChoices({});
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}
