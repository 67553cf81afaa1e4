#pragma once
// The few application-wide values that lower layers read: the screen size,
// the frame and day clocks, the named shader programs and the shader list.
// They are defined in Globals.cpp and written by the application shell.

#include <vector>

class Shader;

extern int screenWidth;   // window width in pixels (also every screen-sized target)
extern int screenHeight;  // window height in pixels

extern float deltaTime;  // seconds between the starts of the last two frames
extern float timeOfDay;  // the day clock, in [0, 24000)

extern Shader* modelShader;
extern Shader* terrainShader;
extern Shader* cubemapShader;
extern Shader* waterShader;
extern Shader* depthShader;
extern Shader* horizontalGlowShader;
extern Shader* verticalGlowShader;
extern Shader* frameBufferShader;
extern Shader* reflectionShader;
extern Shader* effectShader;
extern Shader* particleShader;


// Share of each side of the screen-sized targets, the shadow map (see
// kReducedShadowShare) and the water targets that a frame draws into (1: all
// of it, the full picture).
// The targets keep their sizes; a smaller frame fills the lower-left part.
extern float renderScale;
// True on the first frame after renderScale changed: that frame clears every
// target whole, so the parts outside the smaller area hold clean values.
extern bool renderScaleChanged;

// The part of a target side that this frame draws into (at least 1 pixel).
int scaledSide(int side);

// A reduced frame draws the shadow map at half its own scale again: the map
// has five texels for each pixel of the frame, and at a reduced scale its
// leaves cost more than the frame's own pixels. Still 2.5 texels a pixel.
constexpr double kReducedShadowShare = 0.5;
// The part of a shadow map side this frame draws into.
int scaledShadowSide(int side);

// The programs that receive view, projection and every light uniform, in
// upload order. The depth program is never in it.
extern std::vector<Shader*> sceneShaders;
