// The seat pop-up's pictures: its shaped background ("Avatar_Tip", the
// dialogs' folder) and the kick, sit and watch buttons (the layout's marks
// "Out", "Down" and "Eye"), four states side by side and no mask, so each
// state is drawn over the pop-up's own colour.

#include "tools/assetgen/ThemeArt.h"
#include "tools/assetgen/ThemePictures.h"

namespace theme_pictures {

using namespace theme_art;
using platform::PixelImage;

namespace {

const COLORREF kPopupFace = RGB(60, 30, 14);
constexpr int kPopupWidth = 102, kPopupHeight = 32;
constexpr int kButtonWidth = 26, kButtonHeight = 24;

PixelImage OnPopupFace(PixelImage cell) {
    for (uint32_t& pixel : cell.pixels)
        if ((pixel & 0xFFFFFF) == kKeyPixel)
            pixel = 0x003C1E0Eu; // kPopupFace as 0x00RRGGBB
    return cell;
}

PixelImage PopupButton(const char* glyph, COLORREF face) {
    std::vector<PixelImage> cells;
    for (PixelImage& cell :
         ButtonStates(kButtonWidth, kButtonHeight, glyph, ButtonLook{face, kCream, 8}, 15))
        cells.push_back(OnPopupFace(std::move(cell)));
    return Strip(cells);
}

} // namespace

bool SeatPopupPictures(const std::string& bitmapFolder, const std::string& dialogFolder) {
    Canvas back(kPopupWidth, kPopupHeight);
    back.Fill(0, 0, kPopupWidth, kPopupHeight, kKey);
    back.RoundBox(0, 0, kPopupWidth, kPopupHeight, 14, kPopupFace, kGold);
    return SaveIn(dialogFolder, "Avatar_Tip.bmp", back.Image()) &&
           SaveIn(bitmapFolder, "flag_out.bmp", PopupButton("踢", kLacquer)) &&
           SaveIn(bitmapFolder, "flag_down.bmp", PopupButton("坐", RGB(30, 110, 60))) &&
           SaveIn(bitmapFolder, "flag_eye.bmp", PopupButton("看", RGB(40, 70, 150)));
}

} // namespace theme_pictures
