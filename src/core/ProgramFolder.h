#pragma once
// The program finds its shaders and data through paths relative to its own
// folder ("../shader/", "../models/", ...). Making that folder the working
// folder first lets it start the same from any folder.

// Changes the working folder to the folder of the running executable.
// Returns false, leaving the working folder as it was, if that folder cannot
// be found or entered.
bool enterProgramFolder();
