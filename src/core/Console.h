#pragma once
// Console helpers for fatal start-up errors.

// Waits for Enter when standard input is a terminal; otherwise returns at once,
// so a run with standard input closed or redirected never hangs.
void consolePause();

// Writes the message and a line end to standard output, pauses, exits with 1.
[[noreturn]] void fatalError(const char* message);
