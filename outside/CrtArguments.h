#pragma once

// The C runtime's copy of the process's argument count and vector, as the
// Windows runtime keeps them for code that is not given main's arguments
// (a library reading its launch record). Filled before any constructor of
// the program or of a library runs. Like the runtime's, they are one pair
// for the whole process: they stay visible where the rest of a library is
// hidden, so the program's pair is the one every library reads.

#define CRT_SHARED __attribute__((visibility("default")))

extern "C" {
CRT_SHARED extern int __argc;
CRT_SHARED extern char** __argv;
}
