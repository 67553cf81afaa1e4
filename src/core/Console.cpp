#include "core/Console.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>

void consolePause() {
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
