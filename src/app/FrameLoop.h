#pragma once
// The frame, one step a line, and the loop that repeats it until the window is
// asked to close.

void runFrame();
void frameLoop();
