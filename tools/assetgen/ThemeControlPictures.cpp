// The window frame, the table's buttons, the seat marks and the panes.

#include "tools/assetgen/ThemeArt.h"
#include "tools/assetgen/ThemePictures.h"

#include <string>

namespace theme_pictures {

using namespace theme_art;
using platform::PixelImage;

namespace {

std::string Lower(std::string text) {
    for (char& c : text)
        c = char(tolower(static_cast<unsigned char>(c)));
    return text;
}

// A frame piece: wood, its outer corner keyed out when asked.
PixelImage FramePiece(int w, int h, bool active, bool alternative, int keyCorner) {
    Canvas canvas(w, h);
    COLORREF face = active ? kWood : RGB(120, 110, 100);
    if (alternative)
        face = RGB(130, 72, 34);
    canvas.Fill(0, 0, w, h, face);
    if (h > 8)
        ShadeRaised(canvas, 0, w, 24);
    if (keyCorner) {
        const int x = keyCorner == 2 || keyCorner == 4 ? w - 3 : 0;
        const int y = keyCorner >= 3 ? h - 3 : 0;
        canvas.Fill(x, y, x + 3, y + 3, kKey);
    }
    return canvas.Image();
}

// Four states of a caption-bar button drawn on the key.
PixelImage CaptionButton(const char* caption) {
    return Strip(ButtonStates(20, 18, caption, ButtonLook{RGB(150, 84, 36), kCream, 6}, 12));
}

} // namespace

bool FramePictures(const std::string& folder) {
    struct Piece {
        const char* name;
        int w, h;
        bool active, alternative;
        int keyCorner; // 1 top-left, 2 top-right, 3 bottom-left, 4 bottom-right
    };
    const Piece pieces[] = {
        {"titleleft", 8, 28, true, false, 1},     {"titlecenter", 8, 28, true, false, 0},
        {"titlecenterA", 8, 28, true, true, 0},   {"titleright", 8, 28, true, false, 2},
        {"titleleftNA", 8, 28, false, false, 1},  {"titlecenterNA", 8, 28, false, false, 0},
        {"titlerightNA", 8, 28, false, false, 2}, {"titlerightA", 8, 28, true, true, 2},
        {"left", 4, 8, true, false, 0},           {"right", 4, 8, true, false, 0},
        {"rightA", 4, 8, true, true, 0},          {"bottomleft", 8, 4, true, false, 3},
        {"bottomcenter", 8, 4, true, false, 0},   {"bottomcenterA", 8, 4, true, true, 0},
        {"bottomright", 8, 4, true, false, 4},    {"bottomrightA", 8, 4, true, true, 4},
    };
    for (const Piece& p : pieces) {
        if (!SaveIn(folder, std::string("frame_") + p.name + ".bmp",
                    FramePiece(p.w, p.h, p.active, p.alternative, p.keyCorner)))
            return false;
    }
    return SaveIn(folder, "sys_close.bmp", CaptionButton("×")) &&
           SaveIn(folder, "sys_max.bmp", CaptionButton("□")) &&
           SaveIn(folder, "sys_restore.bmp", CaptionButton("◇")) &&
           SaveIn(folder, "sys_min.bmp", CaptionButton("－")) &&
           SaveIn(folder, "user_watch.bmp", CaptionButton("观")) &&
           SaveIn(folder, "user_nowatch.bmp", CaptionButton("禁")) &&
           SaveIn(folder, "user_screenshot.bmp", CaptionButton("截")) &&
           SaveIn(folder, "user_setting.bmp", CaptionButton("设")) &&
           SaveIn(folder, "user_help.bmp", CaptionButton("？"));
}

bool ButtonPictures(const std::string& folder) {
    // The table window's own buttons: four states and a mask cell.
    const char* const windowButtons[][2] = {
        {"Trust", "托管"},  {"TrustExit", "取消托管"}, {"History", "记录"},    {"Prevturn", "上轮"},
        {"Sound", "声音"},  {"TakeChance", "竞猜"},    {"Exchange", "兑换"},   {"Reel", "战报"},
        {"Magnif", "放大"}, {"ReelOpen", "收起"},      {"MagnifOpen", "还原"},
    };
    for (const auto& button : windowButtons) {
        const int textHeight = std::string(button[1]).size() > 4 ? 12 : 14;
        auto cells = ButtonStates(64, 26, button[1], ButtonLook{kWood, kCream, 10}, textHeight);
        cells.push_back(MaskOf(cells.front()));
        for (size_t i = 0; i + 1 < cells.size(); ++i)
            cells[i] = KeyBlackened(cells[i]);
        if (!SaveIn(folder, "btn_" + Lower(button[0]) + ".bmp", Strip(cells)))
            return false;
    }
    // The play buttons: four states and one alpha cell for all.
    const char* const playButtons[][2] = {
        {"Start", "开始"},         {"StartMulti", "加倍开始"}, {"RStart", "再来一局"},
        {"DeclPoint", "点"},       {"DeclNoPoint", "不点"},    {"DeclPointOpen", "明点"},
        {"TakeOut", "出牌"},       {"Pass", "不出"},           {"Rangpai", "让牌"},
        {"Search", "提示"},        {"ShaoPai", "烧牌"},        {"GaveUp", "放弃"},
        {"ReturnTribute", "还贡"}, {"Revolution", "革命"},     {"NoRevolution", "不革命"},
        {"Gousiji", "够四家"},     {"NoGousiji", "不够"},      {"LeftCue", "←"},
        {"RightCue", "→"},
    };
    for (const auto& button : playButtons) {
        const bool arrow = std::string(button[0]).find("Cue") != std::string::npos;
        auto cells = ButtonStates(arrow ? 34 : 80, 34, button[1],
                                  ButtonLook{kLacquer, RGB(255, 226, 120), 14}, 16);
        cells.push_back(AlphaOf(cells.front()));
        for (size_t i = 0; i + 1 < cells.size(); ++i)
            cells[i] = KeyBlackened(cells[i]);
        if (!SaveIn(folder, "btnex_" + Lower(button[0]) + ".bmp", Strip(cells)))
            return false;
    }
    // Chips of 1, 2, 4, 8 and 16: round, in four states and a mask cell.
    const int values[] = {1, 2, 4, 8, 16};
    const COLORREF chipColours[] = {RGB(40, 90, 190), RGB(30, 140, 70), RGB(190, 120, 20),
                                    RGB(170, 30, 40), RGB(40, 40, 40)};
    for (int i = 0; i < 5; ++i) {
        std::vector<PixelImage> cells;
        for (int state = 0; state < 4; ++state) {
            Canvas canvas(40, 40);
            canvas.Fill(0, 0, 40, 40, kKey);
            const COLORREF face = state == 3   ? RGB(140, 140, 140)
                                  : state == 1 ? RGB(std::min(255, GetRValue(chipColours[i]) + 40),
                                                     std::min(255, GetGValue(chipColours[i]) + 40),
                                                     std::min(255, GetBValue(chipColours[i]) + 40))
                                               : chipColours[i];
            canvas.Oval(0, 0, 40, 40, face, state == 2 ? kGold : RGB(20, 20, 20));
            canvas.Oval(6, 6, 34, 34, kCream, face);
            const std::string text = std::to_string(values[i]);
            canvas.CentredText(RECT{0, state == 2 ? 1 : 0, 40, 40}, text.c_str(), 16, face, 700);
            cells.push_back(canvas.Image());
        }
        cells.push_back(MaskOf(cells.front()));
        for (size_t c = 0; c + 1 < cells.size(); ++c)
            cells[c] = KeyBlackened(cells[c]);
        if (!SaveIn(folder, "jeton_" + std::to_string(values[i]) + ".bmp", Strip(cells)))
            return false;
    }
    Canvas checkIn(16, 16), checkOut(16, 16);
    checkIn.Box(0, 0, 16, 16, kCream, kWood);
    checkIn.Line(3, 8, 7, 12, kLacquer, 2);
    checkIn.Line(7, 12, 13, 3, kLacquer, 2);
    checkOut.Box(0, 0, 16, 16, kCream, kWood);
    return SaveIn(folder, "check_in.bmp", checkIn.Image()) &&
           SaveIn(folder, "check_out.bmp", checkOut.Image());
}

bool MarkPictures(const std::string& folder) {
    // Seat marks: a tag with a caption, beside its alpha.
    struct Mark {
        const char* name;
        const char* caption;
        bool place; // finishing places are gold, the other marks lacquer red
        // The trusteeship marks are round badges that fit on a seat's plate
        // beside its right edge; the others are tags.
        int width = 56;
    };
    const Mark marks[] = {
        {"Trust", "托", false, 26},    {"TrustExit", "回", false, 26},
        {"Break", "断", false, 26},    {"OpenPoint", "明点", false},
        {"ShaoPai", "烧", false},      {"Revolution", "革命", false},
        {"NowPoint", "点", false},     {"PrePoint", "预点", false},
        {"Federation", "联手", false}, {"NoFederation", "单干", false},
        {"One", "头科", true},         {"Two", "二科", true},
        {"Three", "三科", true},       {"Four", "四科", true},
        {"Five", "二落", true},        {"Six", "大落", true},
        {"OneO", "头科", true},        {"TwoO", "二科", true},
        {"ThreeO", "三科", true},      {"FourO", "四科", true},
        {"FiveO", "二落", true},       {"SixO", "大落", true},
        {"GaveUp", "放弃", false},     {"RangPai", "让牌", false},
        {"Pass", "不出", false},       {"Start", "准备", false},
    };
    for (const Mark& mark : marks) {
        const std::string name = mark.name;
        const bool place = mark.place;
        const int w = mark.width;
        Canvas canvas(w, 26);
        canvas.Fill(0, 0, w, 26, kKey);
        canvas.RoundBox(0, 0, w, 26, 12, place ? RGB(200, 150, 30) : kLacquer, RGB(60, 20, 10));
        ShadeRaised(canvas, 0, w, 20);
        canvas.CentredText(RECT{0, 0, w, 26}, mark.caption, 15, place ? RGB(80, 20, 10) : kCream,
                           700);
        if (!SaveIn(folder, "flag_" + Lower(name) + ".bmp", WithAlphaHalf(canvas.Image())))
            return false;
    }
    return true;
}

namespace {

// A lacquered pane on the key with a gold rim and a title.
PixelImage PanePicture(int w, int h, const char* title) {
    Canvas canvas(w, h);
    canvas.Fill(0, 0, w, h, kKey);
    canvas.RoundBox(0, 0, w, h, 18, RGB(60, 24, 16), kGold);
    canvas.RoundBox(4, 4, w - 4, h - 4, 14, RGB(92, 36, 24), RGB(140, 100, 40));
    if (title && *title)
        canvas.CentredText(RECT{0, 6, w, 34}, title, 18, kGold, 700);
    return canvas.Image();
}

// Cells of a number drawn on a round badge, then their alphas.
PixelImage NumberCells(const std::vector<std::string>& texts, int w, int h, COLORREF face) {
    std::vector<PixelImage> pictures, alphas;
    for (const std::string& text : texts) {
        Canvas canvas(w, h);
        canvas.Fill(0, 0, w, h, kKey);
        canvas.RoundBox(0, 0, w, h, h / 2, face, RGB(40, 20, 10));
        canvas.CentredText(RECT{0, 0, w, h}, text.c_str(), h * 2 / 3, kCream, 700);
        pictures.push_back(KeyBlackened(canvas.Image()));
        alphas.push_back(AlphaOf(canvas.Image()));
    }
    pictures.insert(pictures.end(), alphas.begin(), alphas.end());
    return Strip(pictures);
}

} // namespace

bool PanePictures(const std::string& folder) {
    // The result pane: rows at 91 + 31k and 185 + 32(k - 3), names from x 43.
    PixelImage result = PanePicture(470, 300, "本局结果");
    Canvas rows(470, 300);
    Paste(rows, result, 0, 0);
    const char* const heads[] = {"玩家", "名次", "得分", "游戏豆"};
    const int headX[] = {43, 160, 247, 334};
    for (int i = 0; i < 4; ++i)
        rows.Text(headX[i], 62, heads[i], 14, kGold, 700);
    for (int k = 0; k < 6; ++k) {
        const int top = k < 3 ? 91 + 31 * k : 185 + 32 * (k - 3);
        rows.Line(36, top + 24, 434, top + 24, RGB(140, 100, 40));
    }
    Canvas coinRows(470, 300);
    Paste(coinRows, rows.Image(), 0, 0);
    coinRows.Fill(330, 58, 430, 80, RGB(92, 36, 24));

    std::vector<std::string> counts, multiples, seconds;
    for (int i = 1; i <= 10; ++i)
        counts.push_back(std::to_string(i));
    for (int m : {1, 2, 4, 8, 16})
        multiples.push_back("×" + std::to_string(m));
    // Countdown digits: ten cells of 10 px, then their alphas.
    std::vector<PixelImage> digitCells, digitAlphas;
    for (int d = 0; d < 10; ++d) {
        Canvas canvas(10, 16);
        canvas.Fill(0, 0, 10, 16, kKey);
        const char text[2] = {char('0' + d), 0};
        canvas.CentredText(RECT{0, 0, 10, 16}, text, 16, RGB(255, 220, 80), 700);
        digitCells.push_back(canvas.Image());
    }
    for (PixelImage& cell : digitCells) {
        // Antialiased edges count as opaque so the digits keep their shape.
        digitAlphas.push_back(AlphaOf(cell));
        cell = KeyBlackened(cell);
    }
    digitCells.insert(digitCells.end(), digitAlphas.begin(), digitAlphas.end());

    std::vector<PixelImage> gousj;
    for (const char* level : {"够级", "四进一", "大够"}) {
        Canvas canvas(64, 28);
        canvas.Fill(0, 0, 64, 28, kKey);
        canvas.RoundBox(0, 0, 64, 28, 12, RGB(190, 60, 20), kGold);
        canvas.CentredText(RECT{0, 0, 64, 28}, level, 14, kCream, 700);
        gousj.push_back(canvas.Image());
    }
    PixelImage gousjAlpha = AlphaOf(gousj.front());
    for (PixelImage& cell : gousj)
        cell = KeyBlackened(cell);
    gousj.push_back(gousjAlpha);

    // The reel of the game's messages (tributes, returns, bought threes,
    // burns): its lines stand in (63, 55)-(403, 530), and the whole scroll
    // fits between the table's top and a raised card of my hand on the
    // lowest table the frame allows.
    Canvas reel(440, 544);
    reel.Fill(0, 0, 440, 544, kKey);
    reel.RoundBox(20, 24, 420, 536, 10, RGB(246, 232, 196), RGB(120, 80, 30));
    reel.Box(0, 0, 440, 28, kWood, RGB(60, 30, 10));
    reel.Box(0, 530, 440, 544, kWood, RGB(60, 30, 10));
    reel.CentredText(RECT{0, 0, 440, 28}, "战报", 18, kGold, 700);

    return SaveIn(folder, "pane_start.bmp", WithAlphaHalf(PanePicture(300, 160, "选择倍数"))) &&
           SaveIn(folder, "pane_start_plain.bmp",
                  WithAlphaHalf(PanePicture(300, 160, "准备开始"))) &&
           SaveIn(folder, "pane_result.bmp", WithAlphaHalf(rows.Image())) &&
           SaveIn(folder, "pane_result_coin.bmp", WithAlphaHalf(coinRows.Image())) &&
           SaveIn(folder, "pane_remnant.bmp", NumberCells(counts, 28, 28, RGB(170, 32, 30))) &&
           SaveIn(folder, "pane_multiple.bmp", NumberCells(multiples, 40, 24, RGB(200, 140, 20))) &&
           SaveIn(folder, "pane_countdown.bmp", Strip(digitCells)) &&
           SaveIn(folder, "pane_gousj.bmp", Strip(gousj)) &&
           SaveIn(folder, "pane_reel.bmp", WithAlphaHalf(reel.Image())) &&
           // Six views' rows of 54 x 72 cards at the pane's fixed offsets.
           SaveIn(folder, "pane_lastcard.bmp", WithAlphaHalf(PanePicture(520, 400, "上轮出牌")));
}

} // namespace theme_pictures
