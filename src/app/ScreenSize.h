#pragma once
// The largest window (and recording) the program makes. Bigger sizes fail in
// the window system (X stops at 32767 and asserts near it) or in the GL
// targets (llvmpipe's textures stop at 16384), and a screen-sized HDR target
// of 8192 x 8192 already takes 512 MB; 8192 still covers an 8K screen.

constexpr int kMaxScreenSide = 8192;

// Whether a window of width x height can be made: both sides from 1 to
// kMaxScreenSide.
bool screenSizeFits(int width, int height);
