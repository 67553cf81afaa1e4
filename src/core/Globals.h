#pragma once
// The few application-wide values that lower layers read: the screen size,
// the frame and day clocks, the named shader programs and the shader list.
// They are defined in Globals.cpp and written by the application shell.

#include <vector>

class Shader;

extern int screenWidth;   // window width in pixels (also every screen-sized target)
extern int screenHeight;  // window height in pixels

// The window's framebuffer as it is now: a window manager may resize the
// window, and the resolve then fills it; every screen-sized target keeps
// screenWidth x screenHeight. 0 until a window reports its size.
extern int windowWidth;
extern int windowHeight;
// The window's size as the resolve fills it (the screen size until the
// window has reported one).
int shownWidth();
int shownHeight();

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

// The programs that receive view, projection and every light uniform, in
// upload order. The depth program is never in it.
extern std::vector<Shader*> sceneShaders;
