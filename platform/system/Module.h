#pragma once

// Modules are built in: each stand-in for an outside library registers itself
// under the file name the program loads ("KNMPDll.dll", "Pellor2_res.dll"),
// with its exports and its file version. LoadLibrary finds a module by that
// name in any folder, with any case, with or without ".dll"; a name nobody
// registered fails as a missing file would, so optional parts can be tested
// present and absent.

#include "platform/Types.h"

#include <string>
#include <utility>
#include <vector>

// Callers cast it to the export's real type, as with Windows' FARPROC.
typedef void (*FARPROC)();

struct BuiltinModuleExport {
    const char* name; // exports are found by exact name
    FARPROC address;
};

struct BuiltinModuleDefinition {
    std::string fileName;           // "KNMPDll.dll"
    bool hasVersionInfo = true;     // false: the module carries no version block
    WORD version[4] = {1, 0, 0, 0}; // major, minor, build, revision
    // Items of the version's string table ("CompanyName", "FileDescription", ...).
    std::vector<std::pair<std::string, std::string>> versionStrings;
    std::vector<BuiltinModuleExport> exports;
    // Run at the first load and after the last free (the module's own set-up).
    void (*attach)() = nullptr;
    void (*detach)() = nullptr;
};

// A later registration of the same name replaces the earlier one unless that
// one is loaded (then false).
bool RegisterBuiltinModule(const BuiltinModuleDefinition& definition);
// Makes the name missing again (false when unknown or still loaded).
bool UnregisterBuiltinModule(const char* fileName);

// Registers a module from a static object of the stand-in's own file.
struct BuiltinModuleRegistrar {
    explicit BuiltinModuleRegistrar(const BuiltinModuleDefinition& definition) {
        RegisterBuiltinModule(definition);
    }
};

// Null with ERROR_MOD_NOT_FOUND for a name that is not registered. Each load
// counts; the module is unloaded when as many frees have followed.
HMODULE LoadLibrary(LPCSTR fileName);
// Null with ERROR_PROC_NOT_FOUND for an unknown export.
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);
BOOL FreeLibrary(HMODULE module);

// Null gives the running program's path, with '\' separators as Windows code
// expects; a loaded module gives its name in the program's folder.
DWORD GetModuleFileName(HMODULE module, LPSTR buffer, DWORD size);

// How often LoadLibrary was asked for the name (folder and case ignored),
// whether it was found or not: how tests see that a caller gave up.
int BuiltinModuleLoadAttempts(LPCSTR fileName);

// A copy of the registration for a file name (folder and case ignored),
// loaded or not; false when none. For the version reader.
bool FindBuiltinModule(LPCSTR fileName, BuiltinModuleDefinition& definition);

#define LoadLibraryA LoadLibrary
#define GetModuleFileNameA GetModuleFileName
