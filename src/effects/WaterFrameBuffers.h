#pragma once
// The water's two off-screen targets, both 500 x 300 whatever the window:
// the reflection (colour texture and a depth renderbuffer) and the
// refraction (colour texture and a depth texture that the water shader reads
// to find how deep the water is). Created once at start-up.

#include <limits>
#include <vector>

#include "core/FrameChoices.h"
#include "render/ScreenRect.h"

class WaterFrameBuffers {
public:
    static constexpr int kWidth = 500;
    static constexpr int kHeight = 300;
    // The part of either target that a frame with these choices draws into
    // (all of it at full scale).
    static PixelRect drawnPart(const FrameChoices& choices);

    // The parts of each target the last drawing frame drew, and its clock
    // (NaN before the first): the next frame may read them again instead.
    std::vector<PixelRect> reflectionDrawn;
    std::vector<PixelRect> refractionDrawn;
    float drawnAtClock = std::numeric_limits<float>::quiet_NaN();
    bool keptLastFrame = false;  // the last frame read them again

    int windowWidth;  // viewport restored on unbind
    int windowHeight;
    unsigned int reflectionFrameBuffer = 0;
    unsigned int reflectionTexture = 0;
    unsigned int reflectionDepthBuffer = 0;
    unsigned int refractionFrameBuffer = 0;
    unsigned int refractionTexture = 0;
    unsigned int refractionDepthTexture = 0;

    // Creates the reflection target, then the refraction target. A target
    // that the driver does not accept is reported on the console; the run
    // goes on with wrong water.
    WaterFrameBuffers(int windowWidth, int windowHeight);
    ~WaterFrameBuffers();
    WaterFrameBuffers(const WaterFrameBuffers&) = delete;
    WaterFrameBuffers& operator=(const WaterFrameBuffers&) = delete;

    void createReflectionFrameBuffer();
    void createRefractionFrameBuffer();

    // Unbinds the 2D texture of the active unit, binds the target and sets
    // the viewport to the part the frame draws into (500 x 300 at full scale).
    void bindReflectionFrameBuffer(const FrameChoices& choices);
    void bindRefractionFrameBuffer(const FrameChoices& choices);
    // Back to the window: framebuffer 0 and the window's viewport.
    void unbindCurrentFrameBuffer();

private:
    void bindFrameBuffer(unsigned int frameBuffer, const FrameChoices& choices);
    unsigned int createColourTexture();
    // Reports a target that is not complete; true if it is.
    bool checkComplete(const char* name);
};
