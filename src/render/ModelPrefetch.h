#pragma once
// Model files parsed ahead, on a worker thread, while the window and the GL
// context come up. A Model takes the parsed file if it was read ahead and
// parses it itself otherwise, so the result is the same either way; only the
// waiting overlaps.

#include <assimp/Importer.hpp>
#include <memory>
#include <string>
#include <vector>

// Starts parsing the files, in order, with the flags Model uses. A second
// call while the first batch is pending adds nothing.
void prefetchModels(const std::vector<std::string>& paths);

// The importer holding the parsed file (waiting for the worker if it is still
// busy), or null when the path was not read ahead; each path is handed out once.
std::unique_ptr<Assimp::Importer> takePrefetchedModel(const std::string& path);

// Waits for the worker and drops whatever was not taken.
void dropPrefetchedModels();

// The import flags of every model file: triangles only, texture rows flipped.
unsigned int modelImportFlags();
