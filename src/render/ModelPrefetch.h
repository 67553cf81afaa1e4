#pragma once
// Model files read ahead, on a worker thread, while the window and the GL
// context come up. A Model takes the file's import if it was read ahead and
// imports it itself otherwise, so the result is the same either way; only
// the waiting overlaps.

#include <string>
#include <vector>

#include "render/ModelImport.h"

// Starts importing the files, in order. A second call while the first batch
// is pending adds nothing.
void prefetchModels(const std::vector<std::string>& paths);

// The file's import (waiting for the worker if it is still busy), or a fresh
// import when the path was not read ahead; each read-ahead is handed out once.
ImportedModel takePrefetchedModel(const std::string& path, bool forceUpNormals);

// Waits for the worker and drops whatever was not taken.
void dropPrefetchedModels();
