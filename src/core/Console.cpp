#include "core/Console.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>

void consolePause() {
    // In a page, reading standard input opens the browser's prompt and hangs it.
#if defined(__EMSCRIPTEN__)
    return;
#endif
    if (!isatty(STDIN_FILENO)) return;
    std::cout << "Press Enter to continue . . ." << std::flush;
    int c;
    do {
        c = std::getchar();
    } while (c != '\n' && c != EOF);
}

void fatalError(const char* message) {
    std::cout << message << std::endl;
    consolePause();
    std::exit(1);
}
