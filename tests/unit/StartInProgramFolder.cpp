// The unit tests read generated data through "../sounds/" and the like, as
// the program does; like the program they start from their own folder, so
// they run the same from any folder.
#include "core/ProgramFolder.h"

namespace {
[[maybe_unused]] const bool inProgramFolder = enterProgramFolder();
}  // namespace
