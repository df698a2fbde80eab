// "people.dll": the players' pictures by index. The stand-in has no
// portraits of its own; it hands out the system's shared icons, which stay
// valid after the library is freed and which DestroyIcon leaves alone.

#include "outside/OutsideModules.h"
#include "platform/resources/Resource.h"

namespace {

HICON GetIcon(int index) {
    static const LPCSTR kIcons[] = {IDI_APPLICATION, IDI_ASTERISK, IDI_EXCLAMATION, IDI_QUESTION,
                                    IDI_HAND};
    if (index < 0 || index >= static_cast<int>(sizeof kIcons / sizeof kIcons[0]))
        return nullptr;
    return LoadIcon(nullptr, kIcons[index]);
}

} // namespace

BuiltinModuleDefinition PeopleIconsModule() {
    BuiltinModuleDefinition module;
    module.fileName = "people.dll";
    module.exports = {{"GetIcon", reinterpret_cast<FARPROC>(GetIcon)}};
    return module;
}
