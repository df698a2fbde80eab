#pragma once

// Our stand-ins for the outside libraries, as built-in modules of the
// platform's module table. A library that loads them calls
// RegisterOutsideModules from its start-up: an explicit call, so that the
// linker keeps every stand-in of this static library (a registrar object
// that nothing references would be dropped with its object file).

#include "platform/system/Module.h"

// Registers every stand-in under the file name the system loads. Tests
// unregister one by name to see the "missing" path.
void RegisterOutsideModules();

// The stand-ins, one per file.
BuiltinModuleDefinition CodeConverterModule(); // "codecvt.dll"
BuiltinModuleDefinition PeopleIconsModule();   // "people.dll"
BuiltinModuleDefinition GameThemeModule();     // "Pellor_thm.dll"
BuiltinModuleDefinition KNZipModule();         // "KNZip.dll"
BuiltinModuleDefinition KNCardsModule();       // "KNCards.dll" (CardFaces.h)
BuiltinModuleDefinition KNSoundModule();       // "KNSound.dll"
BuiltinModuleDefinition GifTgaModule();        // "KNGIFTGA.dll"
BuiltinModuleDefinition JpegModule();          // "KNJPG.dll"
BuiltinModuleDefinition PngModule();           // "KNPNG.dll"
BuiltinModuleDefinition KNMPDllModule();       // "KNMPDll.dll"
class MusicTracks;
// The music library's tracks while it is initialised, else null.
MusicTracks* KNMPDllTracks();

// The built-in programs, started by CreateProcess: "KNMusic.exe" (see
// outside/MusicPlayerWindow.h).
void RegisterOutsidePrograms();
