#pragma once
// The frame, one step a line, and the loop that repeats it until the window is
// asked to close.

void runFrame();
// Every step of the frame but the final buffer swap.
void drawFrame();
// The frame's state changes without any drawing (clocks, camera, day): lets a
// tool reach a chosen moment of the day quickly. The environment capture runs
// on its clock windows all the same, since its cube map outlives the frame.
void simulateFrame();
void frameLoop();
