#pragma once
// The one place the frame loop reads the time from. By default it is GLFW's
// timer; tests replace it to run frames at chosen times.

#include <functional>

double currentTime();
void setTimeSource(std::function<double()> source);  // empty function: back to GLFW
