#include "outside/OutsideModules.h"

#include "outside/ChatControls.h"
#include "outside/MusicPlayerWindow.h"
#include "platform/system/Process.h"

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
    RegisterBuiltinModule(KNMPDllModule());
    RegisterChatControls();
    RegisterOutsidePrograms();
}

void RegisterOutsidePrograms() {
    platform::RegisterBuiltinProgram("KNMusic.exe", StartMusicPlayer);
}
