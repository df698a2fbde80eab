// A program built outside the library's tree, as a third party builds one:
// only the installed headers and libTablehub.so. It uses what the library
// offers (boxes, a skinned dialog, a button, pictures, a wave, a memory image,
// the GIF89 decoder and a region) on the headless display and the null sound
// device, and says what it found; the exit code counts what went wrong.

#include "ConsumerFiles.h"

#include "knclientUI05/CodecBindings.h"
#include "knclientUI05/CoolButton.h"
#include "knclientUI05/KNBitmap.h"
#include "knclientUI05/KnClientPublic.h"
#include "knclientUI05/MsgBoxDlg.h"
#include "knclientUI05/SkinMsgBox.h"
#include "knclientUI05/SoundManager.h"
#include "knclientUI05/WaitDlg.h"
#include "knclientbase05/PathCut.h"
#include "knclientbase05/SkinPaths.h"
#include "kngif/KNMemBitmap.h"
#include "kngif/gif89.h"
#include "platform/controls/MessageBox.h"
#include "platform/display/Display.h"
#include "platform/sound/Sound.h"
#include "platform/window/WindowDcs.h"
#include "platform/window/Wnd.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

int g_failures = 0;

void Check(bool ok, const char* what) {
    printf("%s: %s\n", ok ? "ok" : "FAILED", what);
    if (!ok)
        ++g_failures;
}

// The colour (0x00RRGGBB) of a pixel of a bitmap.
uint32_t PixelOf(HBITMAP bitmap, int x, int y) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF c = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
}

void Boxes(CWnd& main) {
    // Each box closes itself after its one-second countdown with its default
    // button's result.
    CMsgBoxDlg box("A message box of the consumer", MB_OK | MB_ICONASTERISK, 1);
    Check(box.DoModal() == IDOK && box.m_nResult == IDOK, "a message box counts down to OK");

    const CString skin(std::filesystem::current_path().string().c_str());
    Check(SetSkinPaths("Consumer", 0, &skin) == 1, "a skin is chosen");
    CSkinMsgBox skinned("A skinned message box", MB_OK, 1);
    Check(skinned.DoModal() == IDOK && skinned.m_nResult == IDOK,
          "a skinned dialog is made from the skin and counts down to OK");

    CWaitDlg wait("Please wait", FALSE, &main);
    Check(wait.m_bCreated && wait.IsWindowVisible(), "a wait dialog shows its text at once");
    wait.DestroyWindow();
}

void Button(CWnd& main) {
    CCoolButton button;
    button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, RECT{10, 10, 20, 20}, &main, 500);
    const bool loaded = button.LoadFromFile(&main, 500, "Theme/button.bmp", FALSE);
    RECT r{};
    button.GetWindowRect(&r);
    button.UpdateWindow();
    Check(loaded && r.right - r.left == 60 && r.bottom - r.top == 24 && button.GetDrawnState() == 0,
          "a cool button takes one frame of its strip and paints the first");
}

void Pictures() {
    CKNBitmap bmp;
    SIZE size{};
    Check(bmp.LoadBmpFile("Theme/back.bmp") && bmp.GetSize(&size) && size.cx == 60,
          "a BMP loads into the bitmap class");

    consumer::WriteFile("picture.gif", consumer::GifBytes());
    HBITMAP gif = LoadGifOrBmpFileOrResource(nullptr, "picture.gif", nullptr, 0);
    Check(gif != nullptr && PixelOf(gif, 1, 0) == 0xFF0000 && PixelOf(gif, 0, 1) == 0x0000FF,
          "a GIF loads: red over blue");
    DeleteObject(gif);

    // An icon of a 16-bit picture (its top-left colour transparent), written
    // as an .ico file and read back.
    void* bits = nullptr;
    HBITMAP picture = CreateDibSection(16, 16, 16, &bits);
    auto* pixels = static_cast<WORD*>(bits);
    for (int i = 0; i < 16 * 16; ++i)
        pixels[i] = i < 16 ? 0x0000 : 0xF800; // a black top row, red below
    HICON made = CreateIconFromBitmap(picture);
    const bool saved = made != nullptr && SaveIconToIcoFile(made, "picture.ico");
    const std::string ico = consumer::ReadFile("picture.ico");
    HICON icon =
        CreateIconFromIcoData(reinterpret_cast<const BYTE*>(ico.data()), DWORD(ico.size()));
    HBITMAP canvas = CreateDibSection(16, 16, 32, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, canvas);
    RECT all{0, 0, 16, 16};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (icon != nullptr)
        DrawIconEx(dc, 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
    SelectObject(dc, old);
    DeleteDC(dc);
    Check(saved && icon != nullptr && PixelOf(canvas, 5, 0) == 0xFFFFFF &&
              PixelOf(canvas, 5, 8) == 0xFF0000,
          "an ICO file is written and read back, its transparent row left out");
    DestroyIcon(icon);
    DestroyIcon(made);
    DeleteObject(canvas);
    DeleteObject(picture);
}

void Wave(CWnd&) {
    consumer::WriteWave("click.wav");
    const size_t before = platform::PlayedSounds().size();
    g_SoundManager.PlayWave("click.wav", 0);
    Check(platform::PlayedSounds().size() == before + 1, "a wave plays into the null device");
}

void MemoryImage() {
    // 3 x 2: the top row 1, 2, 3 and the bottom row 4, 5, 6 (as raw words).
    CKNMemBitmap source;
    source.Create(3, 2);
    for (int i = 0; i < 6; ++i)
        source.FillRect565(i % 3, i / 3, 1, 1, WORD(i + 1));
    CKNMemBitmap turned;
    turned.Create(2, 3);
    const bool ok = turned.BltRotate(90, &source, nullptr, 0, 0, RGB(0, 0, 0));
    // A quarter turn counter-clockwise: the top row is the right column.
    Check(ok && turned.GetPixel565(0, 0) == 3 && turned.GetPixel565(1, 0) == 6 &&
              turned.GetPixel565(0, 2) == 1,
          "a 16-bit image turns a quarter counter-clockwise");
}

void Gif89() {
    const std::string bytes = consumer::GifBytes();
    CKNGif89 decoder;
    int left, top, width, height, disposal, delay;
    HBITMAP frame = nullptr;
    BOOL transparent;
    COLORREF transparentColor;
    HPALETTE palette = nullptr;
    const bool opened = decoder.LoadFromMemory(reinterpret_cast<const BYTE*>(bytes.data()),
                                               DWORD(bytes.size()), TRUE) == 0;
    const int got = opened
                        ? decoder.GetNextFrame(&left, &top, &width, &height, &frame, &transparent,
                                               &transparentColor, &palette, &disposal, &delay)
                        : 0;
    Check(got == 1 && width == 2 && height == 2 && PixelOf(frame, 0, 0) == 0xFF0000 &&
              decoder.GetNextFrame(&left, &top, &width, &height, &frame, &transparent,
                                   &transparentColor, &palette, &disposal, &delay) == 2,
          "the GIF89 decoder gives one 2 x 2 frame, then the end");
    DeleteObject(frame);
    DeleteObject(palette);
}

void Region() {
    // Magenta all round a 4 x 3 block: the region is the block.
    void* bits = nullptr;
    HBITMAP picture = CreateDibSection(8, 8, 32, &bits);
    auto* pixels = static_cast<uint32_t*>(bits);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            pixels[y * 8 + x] = x >= 2 && x < 6 && y >= 3 && y < 6 ? 0x00FF00 : 0xFF00FF;
    HRGN region = CreateRegionFromBitmap(picture, 0, 0);
    HBITMAP canvas = CreateDibSection(8, 8, 32, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, canvas);
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    const bool filled = region != nullptr && FillRgn(dc, region, blue);
    SelectObject(dc, old);
    DeleteDC(dc);
    Check(filled && PixelOf(canvas, 2, 3) == 0x0000FF && PixelOf(canvas, 5, 5) == 0x0000FF &&
              PixelOf(canvas, 1, 3) == 0 && PixelOf(canvas, 2, 6) == 0,
          "a region of a picture's pixels that differ from its key is drawn");
    DeleteObject(blue);
    DeleteObject(region);
    DeleteObject(canvas);
    DeleteObject(picture);
}

// A program's full path cut to its folder, as a program finds its own files,
// and that folder cut once more. Its name is GBK "運" ("\xdf\x5c"), whose
// trail byte is a backslash.
void Paths() {
    char path[] = "C:\\Games\\\xdf\x5c\\Consumer.exe";
    char bare[] = "Consumer.exe";
    const bool program =
        CutPathAtLastSeparator(path) == 1 && strcmp(path, "C:\\Games\\\xdf\x5c") == 0;
    const bool folder = CutPathAtLastSeparator(path) == 1 && strcmp(path, "C:\\Games") == 0;
    Check(program && folder && CutPathAtLastSeparator(bare) == 1 &&
              strcmp(bare, "Consumer.exe") == 0 && CutPathAtLastSeparator(nullptr) == 0,
          "a program's path is cut to its folder");
}

} // namespace

int main() {
    platform::StartDisplay(platform::DisplayKind::Headless);
    platform::StartAudio(platform::AudioOutput::Null);
    std::string error;
    if (!consumer::UseResourceLibrary(&error)) {
        printf("FAILED: the resource library: %s\n", error.c_str());
        return 1;
    }
    Check(consumer::WriteSkin(std::filesystem::current_path().string()),
          "the skin's pictures are written through the library's DIB routines");
    CWnd main;
    main.CreateEx(0, nullptr, "consumer", WS_POPUP | WS_VISIBLE, 0, 0, 320, 200, nullptr, nullptr);
    AfxSetMainWnd(&main);

    Boxes(main);
    Button(main);
    Pictures();
    Wave(main);
    MemoryImage();
    Gif89();
    Region();
    Paths();

    AfxSetMainWnd(nullptr);
    main.DestroyWindow();
    platform::StopDisplay();
    printf("%d failed\n", g_failures);
    return g_failures == 0 ? 0 : 1;
}
