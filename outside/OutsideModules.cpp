#include "outside/OutsideModules.h"

void RegisterOutsideModules() {
    RegisterBuiltinModule(CodeConverterModule());
    RegisterBuiltinModule(PeopleIconsModule());
    RegisterBuiltinModule(GameThemeModule());
    RegisterBuiltinModule(KNZipModule());
}
