#include "outside/OutsideModules.h"

#include "outside/ChatControls.h"

void RegisterOutsideModules() {
    RegisterBuiltinModule(CodeConverterModule());
    RegisterBuiltinModule(PeopleIconsModule());
    RegisterBuiltinModule(GameThemeModule());
    RegisterBuiltinModule(KNZipModule());
    RegisterBuiltinModule(KNCardsModule());
    RegisterBuiltinModule(KNSoundModule());

    RegisterBuiltinModule(GifTgaModule());
    RegisterBuiltinModule(JpegModule());
    RegisterBuiltinModule(PngModule());
    RegisterChatControls();
}
