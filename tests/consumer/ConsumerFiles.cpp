#include "ConsumerFiles.h"

#include "knclientUI05/KnClientPublic.h"
#include "platform/resources/Resource.h"
#include "platform/system/Module.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace consumer {

namespace {

constexpr char kResourceLibrary[] = "Consumer_res.dll";

// The boxes' templates and captions, with the ids the library's headers
// give them.
constexpr char kScript[] = R"(
STRINGTABLE
BEGIN
    29700 "OK"
    29701 "Abort"
    29702 "Retry"
    29703 "Ignore"
    29704 "Yes"
    29705 "No"
    29706 "Cancel"
END

29810 DIALOGEX 0, 0, 186, 70
STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU
CAPTION "Consumer"
FONT 9, "SimSun"
BEGIN
    ICON            "", 29812, 7, 7, 21, 20, NOT WS_VISIBLE
    LTEXT           "", 29811, 36, 7, 143, 20, SS_NOPREFIX
    EDITTEXT        29852, 36, 30, 143, 12, ES_AUTOHSCROLL
    EDITTEXT        29853, 36, 30, 143, 12, ES_AUTOHSCROLL | ES_PASSWORD
    PUSHBUTTON      "", 29714, 7, 49, 50, 14, NOT WS_VISIBLE
    PUSHBUTTON      "", 29715, 67, 49, 50, 14, NOT WS_VISIBLE
    PUSHBUTTON      "", 29716, 127, 49, 50, 14, NOT WS_VISIBLE
    CTEXT           "", 29813, 160, 52, 20, 10
END

29733 DIALOGEX 0, 0, 186, 70
STYLE WS_POPUP
FONT 9, "SimSun"
BEGIN
    ICON            "", 29812, 7, 7, 21, 20, NOT WS_VISIBLE
    LTEXT           "", 29811, 36, 7, 143, 20, SS_NOPREFIX
    EDITTEXT        29852, 36, 30, 143, 12, ES_AUTOHSCROLL
    EDITTEXT        29853, 36, 30, 143, 12, ES_AUTOHSCROLL | ES_PASSWORD
    PUSHBUTTON      "", 29714, 7, 49, 50, 14, NOT WS_VISIBLE
    PUSHBUTTON      "", 29715, 67, 49, 50, 14, NOT WS_VISIBLE
    PUSHBUTTON      "", 29716, 127, 49, 50, 14, NOT WS_VISIBLE
    CTEXT           "", 29813, 160, 52, 20, 10
END

29800 DIALOGEX 0, 0, 160, 56
STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION
CAPTION "Please wait"
FONT 9, "SimSun"
BEGIN
    ICON            "", 29802, 7, 7, 21, 20
    LTEXT           "", 29803, 34, 12, 119, 10, SS_NOPREFIX
    PUSHBUTTON      "Cancel", 29804, 55, 36, 50, 14
END
)";

void PutU16(std::string& out, unsigned value) {
    out += char(value & 0xFF);
    out += char((value >> 8) & 0xFF);
}

void PutU32(std::string& out, unsigned value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

} // namespace

bool UseResourceLibrary(std::string* error) {
    if (!RegisterResourceModuleText(kResourceLibrary, kScript, ".", error))
        return false;
    HMODULE library = LoadLibrary(kResourceLibrary);
    if (library == nullptr) {
        *error = "the resource library does not load";
        return false;
    }
    AfxSetResourceHandle(library);
    return true;
}

bool SavePicture(const std::string& path, int w, int h,
                 const std::function<uint32_t(int, int)>& paint) {
    void* bits = nullptr;
    HBITMAP section = CreateDibSection(w, h, 32, &bits);
    if (section == nullptr || bits == nullptr)
        return false;
    auto* pixels = static_cast<uint32_t*>(bits); // top-down rows, 0x00RRGGBB
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixels[y * w + x] = paint(x, y);
    HGLOBAL dib = CreateDibFromBitmap(section, BI_RGB, nullptr);
    const bool saved = dib != nullptr && SaveDibToFile(path.c_str(), dib) == 1;
    FreeDib(dib);
    DeleteObject(section);
    return saved;
}

bool WriteSkin(const std::string& folder) {
    std::filesystem::create_directories(folder + "/Theme");
    const std::string theme = folder + "/Theme/";
    // A grey background whose top-left corner is cut by the magenta key, a
    // four-frame close button and a four-frame push button.
    return WriteFile(folder + "/Consumer.thm", "[KNDLG]\nbackgrdbmp=back.bmp\n"
                                               "titleclose=close.bmp\nIDOK=button.bmp\n") &&
           SavePicture(theme + "back.bmp", 60, 60,
                       [](int x, int y) { return x + y < 3 ? 0xFF00FFu : 0x808080u; }) &&
           SavePicture(theme + "close.bmp", 64, 16,
                       [](int x, int) { return 0x202020u * unsigned(1 + x / 16); }) &&
           SavePicture(theme + "button.bmp", 240, 24,
                       [](int x, int) { return 0x304000u + unsigned(x / 60) * 0x20; });
}

bool WriteWave(const std::string& path) {
    const unsigned samples = 800;
    std::string wave = "RIFF";
    PutU32(wave, 36 + samples * 2);
    wave += "WAVEfmt ";
    PutU32(wave, 16);
    PutU16(wave, 1); // PCM
    PutU16(wave, 1); // mono
    PutU32(wave, 8000);
    PutU32(wave, 16000);
    PutU16(wave, 2);
    PutU16(wave, 16);
    wave += "data";
    PutU32(wave, samples * 2);
    wave.append(samples * 2, '\0');
    return WriteFile(path, wave);
}

std::string GifBytes() {
    static const unsigned char gif[] = {
        0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x02, 0x00, 0x02, 0x00, 0xf0, 0x00, 0x00, 0xff, 0x00,
        0x00, 0x00, 0x00, 0xff, 0x21, 0xf9, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x00,
        0x00, 0x00, 0x02, 0x00, 0x02, 0x00, 0x00, 0x02, 0x03, 0x04, 0x12, 0x05, 0x00, 0x3b};
    return std::string(reinterpret_cast<const char*>(gif), sizeof gif);
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return bool(out);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace consumer
