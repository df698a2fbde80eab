#include "outside/CrtArguments.h"

// glibc hands every initialiser in .init_array the arguments of main, in the
// program and in shared libraries alike.

extern "C" {
CRT_SHARED int __argc = 0;
CRT_SHARED char** __argv = nullptr;
}

namespace {

void CaptureArguments(int argc, char** argv, char**) {
    __argc = argc;
    __argv = argv;
}

__attribute__((section(".init_array"),
               used)) void (*const captureArguments)(int, char**, char**) = CaptureArguments;

} // namespace
