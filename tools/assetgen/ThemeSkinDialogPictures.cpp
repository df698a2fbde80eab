// The library's skinned dialogs' pictures ("Theme"): the nine-cell
// backgrounds of the "KNDLG" skin (24-pixel cells, a wooden caption and
// border round a cream page, magenta outside the rounded corners), the
// caption buttons and the message and wait boxes' buttons.

#include "tools/assetgen/ThemeArt.h"
#include "tools/assetgen/ThemePictures.h"

namespace theme_pictures {

using namespace theme_art;
using platform::PixelImage;

namespace {

constexpr int kCell = 24; // corners of at least 17 pixels keep the shape whole
constexpr int kBorder = 6;

PixelImage NineCellBack(COLORREF wood, COLORREF page) {
    const int size = 3 * kCell;
    Canvas canvas(size, size);
    canvas.Fill(0, 0, size, size, kKey);
    canvas.RoundBox(0, 0, size, size, 14, wood, RGB(50, 24, 8));
    // The page's outline runs whole along its cells, so tiling repeats no
    // line across the page.
    const COLORREF outline = RGB(160, 120, 60);
    canvas.Box(kBorder, kCell, size - kBorder, size - kBorder, page, page);
    canvas.Line(kBorder - 1, kCell - 1, size - kBorder, kCell - 1, outline);
    canvas.Line(kBorder - 1, size - kBorder, size - kBorder, size - kBorder, outline);
    canvas.Line(kBorder - 1, kCell - 1, kBorder - 1, size - kBorder, outline);
    canvas.Line(size - kBorder, kCell - 1, size - kBorder, size - kBorder, outline);
    return canvas.Image();
}

// Four 18-pixel frames on the caption's wood: normal, over, pressed, other.
PixelImage CaptionButtonStrip(const char* symbol) {
    const COLORREF faces[4] = {RGB(150, 84, 40), RGB(200, 120, 50), RGB(90, 44, 16),
                               RGB(120, 110, 100)};
    std::vector<PixelImage> cells;
    for (COLORREF face : faces) {
        Canvas canvas(18, 18);
        canvas.Fill(0, 0, 18, 18, kWood);
        canvas.RoundBox(1, 1, 17, 17, 5, face, kGold);
        canvas.CentredText(RECT{0, 0, 18, 18}, symbol, 12, kCream, 700);
        cells.push_back(canvas.Image());
    }
    return Strip(cells);
}

// A box button on the cream page.
PixelImage PageButton(const char* caption) {
    return KeyOnPage(Strip(ButtonStates(64, 24, caption, ButtonLook{kLacquer, kCream, 8}, 13)),
                     kCream);
}

} // namespace

bool SkinDialogPictures(const std::string& folder) {
    return SaveIn(folder, "KNDlgBack.bmp", NineCellBack(kWood, kCream)) &&
           SaveIn(folder, "KNDlgBackNA.bmp", NineCellBack(RGB(120, 100, 86), kCream)) &&
           SaveIn(folder, "KNDlgClose.bmp", CaptionButtonStrip("×")) &&
           SaveIn(folder, "KNDlgMax.bmp", CaptionButtonStrip("□")) &&
           SaveIn(folder, "KNDlgRestore.bmp", CaptionButtonStrip("◇")) &&
           SaveIn(folder, "dlgbutton.bmp", PageButton("")) &&
           SaveIn(folder, "KNDlgOK.bmp", PageButton("确定")) &&
           SaveIn(folder, "KNDlgCancel.bmp", PageButton("取消")) &&
           SaveIn(folder, "KNDlgAbort.bmp", PageButton("终止")) &&
           SaveIn(folder, "KNDlgRetry.bmp", PageButton("重试")) &&
           SaveIn(folder, "KNDlgIgnore.bmp", PageButton("忽略")) &&
           SaveIn(folder, "KNDlgYes.bmp", PageButton("是")) &&
           SaveIn(folder, "KNDlgNo.bmp", PageButton("否"));
}

} // namespace theme_pictures
