// The table's own pictures: felt, splitter, logo, seat frames, clock, cards.

#include "tools/assetgen/CardArt.h"
#include "tools/assetgen/ThemeArt.h"
#include "tools/assetgen/ThemePictures.h"

namespace theme_pictures {

using namespace theme_art;
using platform::PixelImage;

namespace {

const COLORREF kDeepGreen = RGB(12, 64, 38);

// A vertical splitter bar with a gold edge.
PixelImage SplitterBar(COLORREF face) {
    Canvas canvas(8, 64);
    canvas.Fill(0, 0, 8, 64, face);
    canvas.Line(0, 0, 0, 64, kGold);
    canvas.Line(7, 0, 7, 64, RGB(40, 24, 10));
    return canvas.Image();
}

// Four states of the splitter's arrow button (no mask).
PixelImage SplitterButton(bool pointsLeft) {
    std::vector<PixelImage> cells;
    const COLORREF faces[4] = {kWood, RGB(160, 96, 44), RGB(80, 40, 18), RGB(120, 120, 120)};
    for (COLORREF face : faces) {
        Canvas canvas(8, 40);
        canvas.Fill(0, 0, 8, 40, face);
        const int tip = pointsLeft ? 1 : 6, base = pointsLeft ? 6 : 1;
        const POINT arrow[] = {{tip, 20}, {base, 14}, {base, 26}};
        canvas.Polygon(arrow, 3, kGold, kGold);
        cells.push_back(canvas.Image());
    }
    return Strip(cells);
}

} // namespace

bool TablePictures(const std::string& folder) {
    Canvas mask(64, 64);
    mask.Fill(0, 0, 64, 64, RGB(255, 255, 255)); // the table shows everywhere

    Canvas centre(260, 110);
    centre.Fill(0, 0, 260, 110, kKey);
    centre.RoundBox(0, 0, 260, 110, 40, RGB(24, 100, 56), RGB(60, 140, 80));
    centre.CentredText(RECT{0, 4, 260, 74}, "够 级", 52, RGB(48, 132, 76), 700);
    centre.CentredText(RECT{0, 70, 260, 104}, "六人对战 · 三家一伙", 16, RGB(60, 146, 86), 400);

    Canvas logo(220, 64);
    logo.Fill(0, 0, 220, 64, kDeepGreen);
    logo.Box(0, 0, 220, 64, kDeepGreen, kGold);
    logo.CentredText(RECT{0, 4, 220, 44}, "Morvane够级", 26, kGold, 700);
    logo.CentredText(RECT{0, 40, 220, 62}, "六人牌桌", 12, RGB(200, 220, 200));
    ShadeRaised(logo, 0, 220, 16);

    Canvas chat(220, 24);
    chat.Fill(0, 0, 220, 24, kWood);
    ShadeRaised(chat, 0, 220, 20);
    chat.Text(10, 5, "聊天室", 14, kGold, 700);

    // The seat frame: a wooden plate around the player's picture.
    Canvas seat(100, 112);
    seat.Fill(0, 0, 100, 112, kKey);
    seat.RoundBox(0, 0, 100, 112, 14, kWood, RGB(60, 30, 10));
    seat.RoundBox(5, 5, 95, 107, 10, RGB(30, 40, 34), kGold);
    ShadeRaised(seat, 0, 100, 10);

    // The clock face (picture and alpha) and its digits on the key.
    Canvas clock(56, 56);
    clock.Fill(0, 0, 56, 56, kKey);
    clock.Oval(0, 2, 56, 56, RGB(180, 40, 30), RGB(90, 20, 10));
    clock.Oval(8, 10, 48, 50, RGB(255, 248, 230), RGB(90, 20, 10));
    clock.Box(24, 0, 32, 6, kGold, RGB(90, 20, 10));
    Canvas digits(80, 12);
    digits.Fill(0, 0, 80, 12, kKey);
    for (int d = 0; d < 10; ++d) {
        const char text[2] = {char('0' + d), 0};
        digits.CentredText(RECT{d * 8, 0, d * 8 + 8, 12}, text, 12, RGB(20, 20, 20), 700);
    }

    return SaveIn(folder, "table.bmp", Felt(1024, 720)) &&
           SaveIn(folder, "table_mask.bmp", mask.Image()) &&
           SaveIn(folder, "table_centre.bmp", WithMaskHalf(centre.Image())) &&
           SaveIn(folder, "logo.bmp", logo.Image()) &&
           SaveIn(folder, "chat_header.bmp", chat.Image()) &&
           SaveIn(folder, "splitter_back.bmp", SplitterBar(kWood)) &&
           SaveIn(folder, "splitter_backA.bmp", SplitterBar(RGB(90, 50, 22))) &&
           SaveIn(folder, "splitter_open.bmp", SplitterButton(true)) &&
           SaveIn(folder, "splitter_close.bmp", SplitterButton(false)) &&
           SaveIn(folder, "avatar_back.bmp", WithMaskHalf(seat.Image())) &&
           SaveIn(folder, "clock.bmp", WithAlphaHalf(clock.Image())) &&
           SaveIn(folder, "clock_digital.bmp", digits.Image());
}

bool CardPictures(const std::string& folder) {
    return SaveIn(folder, "cards.bmp", card_art::CardSheet(60, 80)) &&
           SaveIn(folder, "cards_big.bmp", card_art::CardSheet(71, 96)) &&
           SaveIn(folder, "cards_little.bmp", card_art::CardSheet(36, 48));
}

} // namespace theme_pictures
