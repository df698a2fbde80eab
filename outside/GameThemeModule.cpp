// "Pellor_thm.dll": the game's theme library, a resource-only library. The
// stand-in is the module itself; the theme's resources live with the
// program's resource script.

#include "outside/OutsideModules.h"

BuiltinModuleDefinition GameThemeModule() {
    BuiltinModuleDefinition module;
    module.fileName = "Pellor_thm.dll";
    return module;
}
