#include "BombLoaders.h"

#include "knclientUI05/CodecBindings.h"
#include "knclientUI05/DirectWave.h"
#include "knclientUI05/KNBitmap.h"
#include "knclientUI05/KnClientPublic.h"
#include "platform/display/Display.h"
#include "platform/images/Picture.h"
#include "platform/sound/MidiSynth.h"
#include "platform/sound/Sound.h"
#include "platform/system/Profile.h"
#include "platform/system/Registry.h"
#include "platform/window/Wnd.h"
#include "sprite/GameLayout.h"
#include "sprite/GifImage.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace bombs {

namespace {

using platform::kIniCost;
using platform::kMidiCost;
using platform::kPictureCost;
using platform::kSoundCost;

bool Taken(HGDIOBJ object) {
    return object && DeleteObject(object);
}

// The case's bytes, for the readers that take memory.
std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Taken when its section names read back.
bool Ini(const std::string& path) {
    char names[256] = {};
    return GetPrivateProfileString(nullptr, nullptr, "", names, sizeof names, path.c_str()) > 0;
}

const Loader kLoaders[] = {
    {"knbitmap-bmp", kPictureCost,
     [](const std::string& path) { return bool(CKNBitmap().LoadBmpFile(path.c_str(), 0, 0, 0)); }},
    {"knbitmap-dib", kPictureCost,
     [](const std::string& path) {
         const std::string bytes = Bytes(path);
         return bool(CKNBitmap().CreateFromDib(bytes.data(), bytes.size()));
     }},
    // The bitmap class's picture road: the platform's decoders, as the
    // theme's pictures take them too.
    {"picture", kPictureCost,
     [](const std::string& path) { return bool(CKNBitmap().LoadPictureFile(path.c_str())); }},
    {"bmp-data", kPictureCost,
     [](const std::string& path) {
         return Taken(LoadBmpFileOrResource(nullptr, path.c_str(), nullptr, 0));
     }},
    {"image-data", kPictureCost,
     [](const std::string& path) {
         return Taken(LoadImageFileOrResource(nullptr, path.c_str(), nullptr, 0));
     }},
    {"gif-or-bmp", kPictureCost,
     [](const std::string& path) {
         return Taken(LoadGifOrBmpFileOrResource(nullptr, path.c_str(), nullptr, 0));
     }},
    {"loadimage", kPictureCost,
     [](const std::string& path) {
         return Taken(LoadImage(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
     }},
    // Every frame of an animation, as the sprites draw it.
    {"gif-image", kPictureCost,
     [](const std::string& path) { return bool(CGifImage().Load(path.c_str(), FALSE)); }},
    {"tga", kPictureCost,
     [](const std::string& path) {
         void* tga = CallLoadTGAFile(path.c_str());
         const bool taken = tga && Taken(CallCreateBitmapFromTGA(tga));
         CallCloseTGAHandle(tga);
         return taken;
     }},
    {"cursor", kPictureCost,
     [](const std::string& path) {
         const bool animated = path.ends_with(".ani");
         HANDLE shape = LoadImage(nullptr, path.c_str(), animated ? IMAGE_CURSOR : IMAGE_ICON, 0, 0,
                                  LR_LOADFROMFILE);
         return shape && DestroyIcon(static_cast<HICON>(shape));
     }},
    // Started, so that a wave is converted for the mixer.
    {"sound-buffer", kSoundCost,
     [](const std::string& path) {
         platform::SoundBuffer sound;
         return sound.LoadFromFile(path) && sound.Play(false);
     }},
    {"direct-wave", kSoundCost,
     [](const std::string& path) {
         CDirectWave wave;
         std::snprintf(wave.m_szName, sizeof wave.m_szName, "%s", path.c_str());
         if (!wave.LoadFile())
             return false;
         wave.Play(0);
         return bool(wave.IsPlaying());
     }},
    // Checked, started and a second of it played.
    {"midi", kMidiCost,
     [](const std::string& path) {
         const std::string bytes = Bytes(path);
         auto song = platform::MidiSequence::Load({bytes.begin(), bytes.end()}, nullptr);
         if (!song || !song->Start(0, false))
             return false;
         std::vector<int16_t> frames(2 * 1024);
         for (int block = 0; block < 44; ++block)
             song->Read(frames.data(), 1024);
         return true;
     }},
    {"ini", kIniCost, Ini},
    // The layout loads whatever its file holds; taken when the file was read.
    {"layout", kPictureCost,
     [](const std::string& path) { return CGameLayout().LoadFrom(path.c_str()) && Ini(path); }},
    // The file as the settings folder's registry; taken when its key "a" is there.
    {"registry", kIniCost,
     [](const std::string& path) {
         const auto folder = std::filesystem::path(path).parent_path() / "settings";
         std::filesystem::create_directories(folder);
         std::filesystem::copy_file(path, folder / "registry.txt",
                                    std::filesystem::copy_options::overwrite_existing);
         setenv("PELLOR_CONFIG_DIR", folder.c_str(), 1);
         HKEY key = nullptr;
         return RegOpenKeyEx(HKEY_CURRENT_USER, "a", 0, KEY_READ, &key) == ERROR_SUCCESS &&
                RegCloseKey(key) == ERROR_SUCCESS;
     }},
};

} // namespace

const Loader* FindLoader(const std::string& name) {
    for (const Loader& loader : kLoaders)
        if (name == loader.name)
            return &loader;
    return nullptr;
}

void PrepareLoaders() {
    platform::StartDisplay(platform::DisplayKind::Headless);
    platform::StartAudio(platform::AudioOutput::Null);
    static CWnd mainWindow;
    if (mainWindow.CreateEx(0, nullptr, "bombs", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr))
        AfxSetMainWnd(&mainWindow);
}

} // namespace bombs
