// The system libraries the program looks functions up in by name at run time
// ("MSIMG32" for AlphaBlend, "COMCTL32" for _TrackMouseEvent, "User32.DLL"
// for SetLayeredWindowAttributes): registered as built-in modules whose
// exports are this layer's own calls.

#include "platform/gdi/Gdi.h"
#include "platform/system/Module.h"
#include "platform/window/Input.h"
#include "platform/window/Window.h"

namespace {

template <typename Function> FARPROC Export(Function* function) {
    return reinterpret_cast<FARPROC>(function);
}

BuiltinModuleDefinition SystemModule(const char* fileName, const char* exportName,
                                     FARPROC address) {
    BuiltinModuleDefinition definition;
    definition.fileName = fileName;
    definition.version[0] = 5;
    definition.version[1] = 1;
    definition.exports.push_back({exportName, address});
    return definition;
}

const BuiltinModuleRegistrar msimg32(SystemModule("MSIMG32.dll", "AlphaBlend",
                                                  Export(&AlphaBlend)));
const BuiltinModuleRegistrar comctl32(SystemModule("COMCTL32.dll", "_TrackMouseEvent",
                                                   Export(&TrackMouseEvent)));
const BuiltinModuleRegistrar user32(SystemModule("User32.DLL", "SetLayeredWindowAttributes",
                                                 Export(&SetLayeredWindowAttributes)));

} // namespace
