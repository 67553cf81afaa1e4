#pragma once
// Narrower programs of a lit shader (the terrain's or the models'), built
// from its own source files with LIGHT_MASK set to the lights they keep.
// The full program stays the one every light, camera and pass writes its
// uniforms into; a narrower one takes all of them over from it each time it
// is handed out, so it draws exactly as the full program would. A reduced
// frame asks for lean builds (LEAN set as well), which draw a little less
// exactly; see QualityProfile::leanPrograms.

#include <GL/glew.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "render/Shader.h"

class LightVariants {
public:
    // `full` is not owned; the paths are the ones it was built from.
    LightVariants(Shader* full, std::string vertexPath, std::string fragmentPath);
    ~LightVariants();
    LightVariants(const LightVariants&) = delete;
    LightVariants& operator=(const LightVariants&) = delete;

    // The program that keeps the lights of `mask` (kEveryLight: the full
    // program itself), built on first use, current and holding the full
    // program's present uniforms. With `cutOutDone` it is built with
    // CUT_OUT_DONE as well (the model program's lit pass after a depth pass
    // then keeps every texel). A program that fails to build is never
    // handed out: the full one is, and the failure is said once. Nor is one
    // the frame has no build left for (see allowBuildsThisFrame). With
    // `lean`, the lean build of that program, every light's one included.
    Shader* current(unsigned mask, bool cutOutDone = false, bool lean = false);

    // How many narrower programs have been built so far.
    size_t built() const { return variants.size(); }
    // How many narrower programs all instances have built so far (a frame
    // that raised it paid for a build).
    static long totalBuilt() { return builds; }

    // Each frame may build this many narrower programs in all (a build and
    // its first draw cost the software driver about a tenth of a second);
    // until its program is built, a mask draws with the full program, which
    // gives the same picture. Without a call, as many as asked for.
    static void allowBuildsThisFrame(int builds) { buildsLeft = builds; }

private:
    struct Variant {
        std::unique_ptr<Shader> shader;
        bool usable = false;
    };

    Variant& variantFor(unsigned key);

    Shader* full;
    std::string vertexPath;
    std::string fragmentPath;
    std::map<unsigned, Variant> variants;
    static int buildsLeft;  // below 0: no limit
    static long builds;
};

// The model and terrain programs' variants, or null (every draw then uses
// the full program).
extern LightVariants* modelLightVariants;
extern LightVariants* terrainLightVariants;
