#pragma once

// The C runtime's copy of the process's argument count and vector, as the
// Windows runtime keeps them for code that is not given main's arguments
// (a library reading its launch record). Filled before any constructor of
// the program or of a library runs.

extern "C" {
extern int __argc;
extern char** __argv;
}
