#pragma once
// The program file's version resource. The version is the build's (the
// project's version in the top CMakeLists.txt); registering it lets the
// About box and the title read it back through GetFileVersionInfo, under
// the running program's file name and under the name the layout asks for
// ("Pellor2.exe" in the program's folder).

// Safe to call more than once.
void RegisterProgramVersion();
