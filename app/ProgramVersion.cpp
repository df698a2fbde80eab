#include "app/ProgramVersion.h"

#include "platform/system/Module.h"

#include <string>

#ifndef PELLOR_VERSION_MAJOR
#error "the build gives the program's version"
#endif

namespace {

BuiltinModuleDefinition ProgramModule(const std::string& fileName) {
    BuiltinModuleDefinition module;
    module.fileName = fileName;
    module.version[0] = PELLOR_VERSION_MAJOR;
    module.version[1] = PELLOR_VERSION_MINOR;
    module.version[2] = PELLOR_VERSION_PATCH;
    module.version[3] = PELLOR_VERSION_TWEAK;
    module.versionStrings = {{"FileDescription", "Pellor"}, {"ProductName", "Morvane"}};
    return module;
}

} // namespace

void RegisterProgramVersion() {
    char path[MAX_PATH] = {};
    GetModuleFileName(nullptr, path, MAX_PATH);
    std::string name = path;
    const size_t cut = name.find_last_of("\\/");
    if (cut != std::string::npos)
        name.erase(0, cut + 1);
    if (!name.empty())
        RegisterBuiltinModule(ProgramModule(name));
    RegisterBuiltinModule(ProgramModule("Pellor2.exe"));
}
