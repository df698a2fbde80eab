// The asset generator: draws the pictures of the program's resource library
// (bitmaps, cursors, the program icon) with the platform's GDI and writes
// them into the folder given, beside the resource script that names them.
//
//   assetgen <output folder>
//   assetgen --theme <theme sources> <program folder>   (our default theme)

#include "tools/assetgen/Canvas.h"
#include "tools/assetgen/CardArt.h"
#include "tools/assetgen/IconWriter.h"
#include "tools/assetgen/SystemIconArt.h"
#include "tools/assetgen/ThemeAssets.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

const COLORREF kKey = RGB(255, 0, 255); // left out of skinned shapes
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kGreen = RGB(20, 110, 60);
const COLORREF kDarkGreen = RGB(10, 70, 40);
const COLORREF kRed = RGB(200, 30, 30);
const COLORREF kBlue = RGB(30, 60, 150);
const COLORREF kGold = RGB(240, 180, 40);

// The splash picture: its black pixels fall outside the window's shape.
bool Splash(const std::string& folder) {
    Canvas canvas(260, 130);
    canvas.Fill(0, 0, 260, 130, kBlack);
    canvas.RoundBox(0, 0, 260, 130, 24, kGreen, kGold);
    canvas.Text(24, 28, "Morvane积分版", 24, kGold, 700);
    canvas.Text(24, 74, "正在载入游戏，请稍候...", 12, kWhite);
    canvas.Box(8, 106, 252, 114, kDarkGreen, kDarkGreen);
    return SaveBitmap(canvas.Image(), folder + "/splash.bmp");
}

bool SplashMarker(const std::string& folder) {
    Canvas canvas(32, 3);
    canvas.Fill(0, 0, 32, 3, kGold);
    return SaveBitmap(canvas.Image(), folder + "/splash_marker.bmp");
}

// The card painter's custom sheet: 2 x 2 cells of 54 x 72, big joker (0, 0),
// small joker (0, 72), back (54, 0) and the mask they share (54, 72).
bool CardSheet(const std::string& folder) {
    return SaveBitmap(card_art::CustomSheet(54, 72), folder + "/card_sheet.bmp");
}

// The owner-drawn dialog frame: ten pieces, the outer corners keyed out.
bool FramePieces(const std::string& folder) {
    struct Piece {
        const char* name;
        int width, height;
        int keyCorner; // 0 none, 1 top-left, 2 top-right, 3 bottom-left, 4 bottom-right
    };
    const Piece pieces[] = {
        {"kn_frame_top_left", 8, 24, 1},  {"kn_frame_caption", 8, 24, 0},
        {"kn_frame_top_right", 8, 24, 2}, {"kn_frame_left", 8, 8, 0},
        {"kn_frame_right", 8, 8, 0},      {"kn_frame_bottom_left", 8, 8, 3},
        {"kn_frame_bottom", 8, 8, 0},     {"kn_frame_bottom_right", 8, 8, 4},
        {"kn_frame_background", 8, 8, 0},
    };
    for (const Piece& piece : pieces) {
        Canvas canvas(piece.width, piece.height);
        const bool background = std::string(piece.name) == "kn_frame_background";
        canvas.Fill(0, 0, piece.width, piece.height, background ? RGB(236, 233, 216) : kBlue);
        const int x = piece.keyCorner == 2 || piece.keyCorner == 4 ? piece.width - 2 : 0;
        const int y = piece.keyCorner >= 3 ? piece.height - 2 : 0;
        if (piece.keyCorner)
            canvas.Fill(x, y, x + 2, y + 2, kKey);
        if (!SaveBitmap(canvas.Image(), folder + "/" + piece.name + ".bmp"))
            return false;
    }
    // The close button: normal, hover, pressed, disabled, 16 x 16 each.
    Canvas close(64, 16);
    const COLORREF faces[4] = {RGB(200, 60, 40), RGB(240, 90, 60), RGB(150, 40, 30),
                               RGB(160, 160, 160)};
    for (int frame = 0; frame < 4; ++frame) {
        const int left = frame * 16;
        close.Box(left, 0, left + 16, 16, faces[frame], kWhite);
        close.Line(left + 4, 4, left + 12, 12, kWhite, 2);
        close.Line(left + 11, 4, left + 3, 12, kWhite, 2);
    }
    return SaveBitmap(close.Image(), folder + "/kn_frame_close.bmp");
}

const std::vector<const char*> kArrowArt = {
    "X",        "XX",       "XoX",       "XooX",       "XoooX",       "XooooX",
    "XoooooX",  "XooooooX", "XoooooooX", "XooooooooX", "XoooooXXXXX", "XooXooX",
    "XoX.XooX", "XX..XooX", "X....XooX", ".....XooX",  "......XX",
};

const std::vector<const char*> kHandArt = {
    ".....XX",          "....XooX",         "....XooX",         "....XooX",
    "....XooX",         "....XooXXX",       "....XooXooXXX",    "....XooXooXooXX",
    "XX..XooXooXooXoX", "XoX.XooooooooXoX", "XooXXooooooooooX", ".XoooooooooooooX",
    "..XooooooooooooX", "..XoooooooooooX",  "...XooooooooooX",  "...XoooooooooX",
    "....XooooooooX",   "....XooooooooX",   "....XXXXXXXXXX",
};

bool Cursors(const std::string& folder) {
    platform::PixelImage arrow = PictureFromArt(kArrowArt, 32);
    platform::PixelImage hand = PictureFromArt(kHandArt, 32);
    return WriteFile(folder + "/table.cur", IconFileBytes(arrow, true, 0, 0)) &&
           WriteFile(folder + "/hand.cur", IconFileBytes(hand, true, 6, 0)) &&
           WriteFile(folder + "/handcursor.bin", MonochromeCursorPlanes(hand));
}

// The program icon: a card on the green table.
bool ProgramIcon(const std::string& folder) {
    Canvas canvas(32, 32);
    canvas.Fill(0, 0, 32, 32, kKey);
    canvas.RoundBox(1, 1, 31, 31, 8, kGreen, kDarkGreen);
    canvas.RoundBox(9, 5, 25, 27, 4, kWhite, kBlack);
    canvas.Oval(13, 11, 21, 19, kRed, kRed);
    platform::PixelImage image = canvas.Image();
    image.hasAlpha = true;
    for (uint32_t& pixel : image.pixels)
        pixel = pixel == 0x00FF00FFu ? 0u : (pixel | 0xFF000000u);
    return WriteFile(folder + "/pellor2.ico", IconFileBytes(image, false, 0, 0));
}

// The system icons as files too, for a person to look at; the platform
// compiles the same pictures in (systemicons).
bool SystemIcons(const std::string& folder) {
    const char* const names[] = {"application", "hand", "question", "exclamation", "asterisk"};
    for (int i = 0; i < 5; ++i)
        if (!WriteFile(folder + "/idi_" + names[i] + ".ico",
                       IconFileBytes(SystemIconPicture(32512 + i), false, 0, 0)))
            return false;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--theme")
        return WriteDefaultTheme(argv[2], argv[3]) ? 0 : 1;
    if (argc != 2) {
        fprintf(stderr, "usage: assetgen <output folder>\n"
                        "       assetgen --theme <theme sources> <program folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    const bool written = Splash(folder) && SplashMarker(folder) && CardSheet(folder) &&
                         FramePieces(folder) && Cursors(folder) && ProgramIcon(folder) &&
                         SystemIcons(folder);
    return written ? 0 : 1;
}
