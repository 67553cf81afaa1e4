#pragma once
// The frame's plan, worked out on the CPU before the first pass: the views of
// the frame as values, and which view each program draws with. The passes
// take it as an argument and never ask GL, or a program, what they will show.
//
// The frame keeps the design's order, with three of its quirks named here:
// - the scene programs receive "view" before the camera-path step, and the
//   water passes give the terrain, model and sky programs the eye after it;
//   so in the main pass the ground, sky and models are drawn from the eye
//   after the step, and the water, the vase (its reflection program) and the
//   smoke from the eye before it;
// - a camera in turn mode turns at each derivation of its vectors, so the
//   mirror and its undoing in the reflection pass turn it further; the eye
//   after the water passes is the one the main pass draws with;
// - the lamp's events (the failure with its sound, the lights put back)
//   happen in the glow sources pass; the plan holds the lamp's state.

#include <array>
#include <glm/glm.hpp>
#include <vector>

#include "app/LampEvents.h"
#include "core/FrameChoices.h"
#include "render/ScreenRect.h"
#include "render/ViewVolume.h"

class Camera;

// An eye as a program receives it: "view" and "viewPos".
struct EyeView {
    glm::mat4 view{1.0f};
    glm::vec3 position{0.0f};
};

EyeView eyeOf(const Camera& camera);

// A view as a pass draws it: the eye, the lens, and the clip plane where the
// drawing program clips.
struct PassView {
    EyeView eye;
    glm::mat4 projection{1.0f};
    glm::vec4 clipPlane{0.0f};
    bool clipping = false;

    // projection * view with the plane, narrowed to drawnPartOfViewport.
    ViewVolume volume() const;
};

struct FramePlan {
    // What the frame draws and leaves out: the quality profile's choices as
    // they stand when the frame begins; its clears are whole as well when
    // its capture uses a target as scratch.
    FrameChoices choices;

    // The eyes of the frame, in the order the frame derives them.
    EyeView beforeStep;  // given to every scene program before the path step
    EyeView afterStep;   // after the path step (what a capture hands back)
    EyeView mirrored;    // mirrored in the water, for the reflection pass
    EyeView afterWater;  // after the mirror is undone (turn mode: turned further)

    bool waterPasses = false;  // the reflection and refraction passes run
    // The water targets are read as the frame before drew them: the passes
    // take their camera steps and draw nothing, and their targets are not
    // cleared (a reduced frame, every second frame at most, when every part
    // the surface reads lies inside what that frame drew).
    bool waterKept = false;
    bool capture = false;      // the vase's surroundings are captured this frame

    // The water passes: the mirrored eye clipped above the surface, and the
    // eye after the mirror is undone clipped below it.
    PassView reflection;
    PassView refraction;
    // The main pass, per drawing program.
    PassView terrain;
    PassView models;  // the model program (every entity but the vase)
    PassView vase;    // the vase's reflection program
    PassView water;   // the water program, also the deep-water mark

    // Where the water surface can show on the screen (the water passes draw
    // only what it can read); unset with the water-parts shortcut off.
    ViewportArea waterSeen;
    // The parts of each water target the surface can read this frame, each
    // drawn on its own (the whole drawn part with the shortcut off; none
    // without water on screen).
    std::vector<PixelRect> reflectionParts;
    std::vector<PixelRect> refractionParts;

    // The lamp's state at this clock (its events happen in the glow pass),
    // the pixels the glowing sources cover, and how far their blur reaches
    // across (the horizontal pass) and in both directions (the glow added
    // onto the scene).
    LampState lamp{};
    PixelRect glowSources;
    PixelRect glowBlur;
    PixelRect glowAdded;
};

// The plan of this frame, from the eye the scene programs were given before
// the path step and the state of the main camera after it. `capture` says
// whether this frame captures the vase's surroundings.
FramePlan planFrame(const EyeView& beforeStep, const Camera& camera, bool capture);

// The quality profile's choices as they stand, for what runs outside a
// frame's plan: the capture before the first frame or between frames, and
// the window's clear before the plan is made.
FrameChoices currentChoices();
// After a capture outside a frame used a target as scratch: the next frame's
// clears are whole.
void clearWholeNextFrame();

class Entity;
// The pixels of the frame's drawn part that the entity's model box can
// cover, seen with `view` and the screen's lens (empty without an entity).
PixelRect onScreen(Entity* entity, const glm::mat4& view, const FrameChoices& choices);
