// The dialogs' pictures of the theme object: skinned backgrounds (their
// magenta outside becomes the window's shape) and their buttons.

#include "tools/assetgen/ThemeArt.h"
#include "tools/assetgen/ThemePictures.h"

namespace theme_pictures {

using namespace theme_art;
using platform::PixelImage;

namespace {

const COLORREF kHistoryPage = RGB(40, 60, 70);
const COLORREF kSettingPage = RGB(204, 204, 204);

// A rounded dialog on the key: a wooden title band over a cream page.
PixelImage DialogBack(int w, int h, const char* title) {
    Canvas canvas(w, h);
    canvas.Fill(0, 0, w, h, kKey);
    canvas.RoundBox(0, 0, w, h, 16, kWood, RGB(50, 24, 8));
    ShadeRaised(canvas, 0, w, 6);
    canvas.RoundBox(6, 30, w - 6, h - 6, 10, kCream, RGB(160, 120, 60));
    if (title && *title)
        canvas.Text(14, 7, title, 16, kGold, 700);
    return canvas.Image();
}

// The score history: a dark slate page, on which the dialog's yellow and
// cyan rows read, with the columns' headings under the games' numbers.
PixelImage HistoryBack(bool beans) {
    Canvas canvas(520, 380);
    canvas.Fill(0, 0, 520, 380, kKey);
    canvas.RoundBox(0, 0, 520, 380, 16, kWood, RGB(50, 24, 8));
    ShadeRaised(canvas, 0, 520, 6);
    canvas.RoundBox(6, 30, 514, 374, 10, kHistoryPage, RGB(160, 120, 60));
    canvas.Text(14, 7, "历史记录", 16, kGold, 700);
    const COLORREF heading = RGB(230, 210, 160);
    canvas.CentredText(RECT{43, 95, 130, 115}, "玩家", 12, heading, 700);
    for (int k = 0; k < 3; ++k) {
        if (beans) {
            canvas.CentredText(RECT{130 + 87 * k, 95, 185 + 87 * k, 115}, "游戏豆", 12, heading,
                               400);
            canvas.CentredText(RECT{187 + 89 * k, 95, 224 + 89 * k, 115}, "积分", 12, heading, 400);
        } else {
            canvas.CentredText(RECT{157 + 89 * k, 95, 206 + 89 * k, 115}, "积分", 12, heading, 400);
        }
    }
    if (beans) {
        canvas.CentredText(RECT{402, 95, 452, 115}, "总游戏豆", 12, heading, 700);
        canvas.CentredText(RECT{451, 95, 495, 115}, "总积分", 12, heading, 700);
    } else {
        canvas.CentredText(RECT{410, 95, 480, 115}, "总积分", 12, heading, 700);
    }
    canvas.Fill(20, 116, 500, 117, RGB(160, 120, 60));
    return canvas.Image();
}

// The settings: a grey page, the colour its labels are drawn on, with a
// heading in the band above the folder row.
PixelImage SettingBack() {
    Canvas canvas(380, 300);
    canvas.Fill(0, 0, 380, 300, kKey);
    canvas.RoundBox(0, 0, 380, 300, 16, kWood, RGB(50, 24, 8));
    ShadeRaised(canvas, 0, 380, 6);
    canvas.RoundBox(6, 30, 374, 294, 10, kSettingPage, RGB(160, 120, 60));
    canvas.Text(14, 7, "游戏设置", 16, kGold, 700);
    canvas.CentredText(RECT{6, 44, 374, 70}, "声音、座位与截图", 14, RGB(90, 50, 20), 700);
    canvas.Fill(30, 76, 350, 77, RGB(160, 120, 60));
    return canvas.Image();
}

// The skinned buttons copy their frames, so their corners take the colour
// of what they stand on: the page, or the title band for a close button.
PixelImage DialogButton(int w, int h, const char* caption, int textHeight, COLORREF page = kCream) {
    return KeyOnPage(
        Strip(ButtonStates(w, h, caption, ButtonLook{kLacquer, kCream, 8}, textHeight)), page);
}

// Four frames: 0 unchecked, 1 unchecked and hot, 2 checked and hot, 3 checked,
// copied onto the settings' grey page.
PixelImage CheckFrames(bool round) {
    std::vector<PixelImage> cells;
    for (int frame = 0; frame < 4; ++frame) {
        Canvas canvas(16, 16);
        canvas.Fill(0, 0, 16, 16, kKey);
        const COLORREF rim = frame == 1 || frame == 2 ? RGB(220, 120, 20) : kWood;
        if (round)
            canvas.Oval(1, 1, 15, 15, RGB(255, 255, 255), rim);
        else
            canvas.Box(1, 1, 15, 15, RGB(255, 255, 255), rim);
        if (frame >= 2) {
            if (round) {
                canvas.Oval(5, 5, 11, 11, RGB(170, 32, 30), RGB(170, 32, 30));
            } else {
                canvas.Line(4, 8, 7, 11, RGB(170, 32, 30), 2);
                canvas.Line(7, 11, 12, 4, RGB(170, 32, 30), 2);
            }
        }
        cells.push_back(canvas.Image());
    }
    return KeyOnPage(Strip(cells), kSettingPage);
}

} // namespace

bool DialogPictures(const std::string& folder) {
    // The message box copies the warning as it is, onto its cream page.
    Canvas warning(40, 40);
    warning.Fill(0, 0, 40, 40, kCream);
    const POINT triangle[] = {{20, 2}, {38, 36}, {2, 36}};
    warning.Polygon(triangle, 3, RGB(250, 200, 40), RGB(120, 60, 10));
    warning.CentredText(RECT{0, 10, 40, 38}, "!", 22, RGB(60, 30, 10), 700);

    Canvas magnifier(32, 32);
    magnifier.Fill(0, 0, 32, 32, kKey);
    magnifier.Line(18, 18, 29, 29, kWood, 4);
    magnifier.Oval(2, 2, 22, 22, RGB(200, 230, 255), RGB(40, 40, 40));

    return SaveIn(folder, "MessageBack.bmp", DialogBack(370, 150, "提示")) &&
           SaveIn(folder, "MessageBackBig.bmp", DialogBack(500, 270, "提示")) &&
           SaveIn(folder, "MessageWarning.bmp", warning.Image()) &&
           SaveIn(folder, "BtnOnOK.bmp", DialogButton(58, 26, "确定", 14)) &&
           SaveIn(folder, "BtnCancel.bmp", DialogButton(58, 26, "取消", 14)) &&
           SaveIn(folder, "BtnClose.bmp", DialogButton(16, 18, "×", 12, kWood)) &&
           SaveIn(folder, "TakeChanceBack.bmp", DialogBack(560, 240, "竞猜")) &&
           SaveIn(folder, "TCOK.bmp", DialogButton(75, 31, "竞猜", 16)) &&
           SaveIn(folder, "CONFIRM.bmp", DialogButton(75, 31, "确认", 16)) &&
           SaveIn(folder, "TCCancel.bmp", DialogButton(16, 18, "×", 12, kWood)) &&
           SaveIn(folder, "BtnBJ.bmp", DialogButton(49, 30, "大王", 14)) &&
           SaveIn(folder, "BtnSJ.bmp", DialogButton(49, 30, "小王", 14)) &&
           SaveIn(folder, "Btn2.bmp", DialogButton(49, 30, "2", 16)) &&
           SaveIn(folder, "BtnFLW.bmp", DialogButton(49, 30, "花色", 14)) &&
           SaveIn(folder, "BtnNUM.bmp", DialogButton(70, 30, "张数", 14)) &&
           SaveIn(folder, "ExchageCoinBack.bmp", DialogBack(370, 230, "兑换游戏豆")) &&
           SaveIn(folder, "History_Score.bmp", HistoryBack(true)) &&
           SaveIn(folder, "History_NoCoin.bmp", HistoryBack(false)) &&
           SaveIn(folder, "HistoryDlg_Close.bmp", DialogButton(22, 22, "×", 14, kHistoryPage)) &&
           SaveIn(folder, "History_Up.bmp", DialogButton(26, 28, "↑", 14, kHistoryPage)) &&
           SaveIn(folder, "History_Down.bmp", DialogButton(26, 28, "↓", 14, kHistoryPage)) &&
           SaveIn(folder, "History_MidClose.bmp", DialogButton(59, 29, "关闭", 14, kHistoryPage)) &&
           SaveIn(folder, "Setting.bmp", SettingBack()) &&
           SaveIn(folder, "SetPath.bmp", DialogButton(21, 21, "…", 12, kSettingPage)) &&
           // The about box writes its own title on the band, and its close
           // button (16 wide at x 307) ends the band.
           SaveIn(folder, "AboutBK.bmp", DialogBack(330, 120, nullptr)) &&
           SaveIn(folder, "Magnifier_Mouse.bmp", magnifier.Image()) &&
           SaveIn(folder, "checkbox.bmp", CheckFrames(false)) &&
           SaveIn(folder, "RADIO.bmp", CheckFrames(true));
}

} // namespace theme_pictures
