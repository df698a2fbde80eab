#include "outside/OutsideModules.h"

#include "outside/ChatControls.h"

void RegisterOutsideModules() {
    RegisterBuiltinModule(CodeConverterModule());
    RegisterBuiltinModule(PeopleIconsModule());
    RegisterBuiltinModule(GameThemeModule());
    RegisterBuiltinModule(KNZipModule());
    RegisterBuiltinModule(GifTgaModule());
    RegisterBuiltinModule(JpegModule());
    RegisterBuiltinModule(PngModule());
    RegisterChatControls();
}
