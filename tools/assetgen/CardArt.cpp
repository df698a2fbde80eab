#include "tools/assetgen/CardArt.h"

#include "tools/assetgen/ThemeArt.h"

#include <algorithm>
#include <cstring>

namespace card_art {

using platform::PixelImage;
using theme_art::KeyBlackened;
using theme_art::MaskOf;
using theme_art::Paste;

namespace {

const COLORREF kKey = RGB(255, 0, 255);
const COLORREF kPaper = RGB(255, 253, 246);
const COLORREF kRedSuit = RGB(204, 20, 30);
const COLORREF kBlackSuit = RGB(20, 20, 24);
const COLORREF kGoldTrim = RGB(226, 178, 50);
const COLORREF kSkin = RGB(250, 214, 176);
const char* const kRankNames[13] = {"3",  "4", "5", "6", "7", "8", "9",
                                    "10", "J", "Q", "K", "A", "2"};

COLORREF SuitColour(int suit) {
    return (suit == 0 || suit == 2) ? kRedSuit : kBlackSuit;
}

// Measures of one card size: the index strip at the left, the picture area.
struct Measures {
    int w, h;
    int strip;  // width of the index strip
    int indexH; // height of the rank index
    int corner; // rounding of the outline
    RECT area;  // where pips and pictures go
    bool roomy; // large enough for pip patterns and figures
};

Measures MeasuresOf(int w, int h) {
    Measures m{};
    m.w = w;
    m.h = h;
    m.strip = std::clamp(w * 22 / 100, 8, 16);
    m.indexH = std::clamp(h * 25 / 100, 10, 22);
    m.corner = std::max(4, w / 7);
    m.area = RECT{m.strip + 3, 3, w - 3, h - 3};
    m.roomy = w >= 50;
    return m;
}

void Blank(Canvas& canvas, const Measures& m, COLORREF fill) {
    canvas.Fill(0, 0, m.w, m.h, kKey);
    canvas.RoundBox(0, 0, m.w, m.h, m.corner, fill, RGB(70, 70, 70));
}

// A text drawn bold into the box, squeezed sideways when it is wider (the
// "10" of a narrow strip) so its height, what the eye reads, is kept.
void FittedText(Canvas& canvas, const RECT& box, const char* text, COLORREF colour,
                COLORREF background) {
    const int boxW = box.right - box.left, boxH = box.bottom - box.top;
    const SIZE extent = canvas.TextExtent(text, boxH, 700);
    if (extent.cx <= boxW) {
        canvas.CentredText(box, text, boxH, colour, 700);
        return;
    }
    if (strlen(text) == 2) {
        // Two characters (the "10") side by side, each in its own part of
        // the box: the narrow "1" takes two fifths, so both keep full ink.
        const int split = box.left + boxW * 2 / 5;
        const char first[2] = {text[0], 0}, second[2] = {text[1], 0};
        canvas.CentredText(RECT{box.left - 1, box.top, split + 1, box.bottom}, first, boxH, colour,
                           700);
        canvas.CentredText(RECT{split, box.top, box.right + 1, box.bottom}, second, boxH, colour,
                           700);
        return;
    }
    Canvas wide(extent.cx, boxH);
    wide.Fill(0, 0, extent.cx, boxH, background);
    wide.CentredText(RECT{0, 0, extent.cx, boxH}, text, boxH, colour, 700);
    SetStretchBltMode(canvas.Dc(), HALFTONE);
    StretchBlt(canvas.Dc(), box.left, box.top, boxW, boxH, wide.Dc(), 0, 0, extent.cx, boxH,
               SRCCOPY);
}

// The rank index and a small suit sign under it, in the index strip.
void Index(Canvas& canvas, const Measures& m, const char* rank, int suit) {
    const RECT box{2, 2, 2 + m.strip, 2 + m.indexH};
    FittedText(canvas, box, rank, SuitColour(suit), kPaper);
    const int pip = std::max(5, m.strip * 4 / 5);
    SuitSign(canvas, suit, 2 + m.strip / 2, box.bottom + 1 + pip / 2, pip);
}

// Pip places on a 3 x 7 grid (column 0..2, row 0..6 in halves) per count.
struct PipPlace {
    int col, row2;
};
const std::vector<PipPlace>& PipPattern(int count) {
    static const std::vector<PipPlace> patterns[11] = {
        {},
        {{1, 6}},
        {{1, 0}, {1, 12}},
        {{1, 0}, {1, 6}, {1, 12}},
        {{0, 0}, {2, 0}, {0, 12}, {2, 12}},
        {{0, 0}, {2, 0}, {1, 6}, {0, 12}, {2, 12}},
        {{0, 0}, {2, 0}, {0, 6}, {2, 6}, {0, 12}, {2, 12}},
        {{0, 0}, {2, 0}, {1, 3}, {0, 6}, {2, 6}, {0, 12}, {2, 12}},
        {{0, 0}, {2, 0}, {1, 3}, {0, 6}, {2, 6}, {1, 9}, {0, 12}, {2, 12}},
        {{0, 0}, {2, 0}, {0, 4}, {2, 4}, {1, 6}, {0, 8}, {2, 8}, {0, 12}, {2, 12}},
        {{0, 0}, {2, 0}, {1, 2}, {0, 4}, {2, 4}, {0, 8}, {2, 8}, {1, 10}, {0, 12}, {2, 12}},
    };
    return patterns[std::clamp(count, 0, 10)];
}

void Pips(Canvas& canvas, const Measures& m, int suit, int count) {
    const RECT& a = m.area;
    const int aw = a.right - a.left, ah = a.bottom - a.top;
    if (!m.roomy || count == 1) { // one large sign: the ace, and every small card
        const int size = std::min(aw * 4 / 5, ah * 3 / 5);
        SuitSign(canvas, suit, (a.left + a.right) / 2, (a.top + a.bottom) / 2, size);
        return;
    }
    const int pip = std::min(aw * 10 / 32, ah * 10 / 58);
    const int left = a.left + pip / 2 + 1, right = a.right - pip / 2 - 1;
    const int top = a.top + pip / 2 + 1, bottom = a.bottom - pip / 2 - 1;
    for (const PipPlace& p : PipPattern(count)) {
        const int x = left + (right - left) * p.col / 2;
        const int y = top + (bottom - top) * p.row2 / 12;
        SuitSign(canvas, suit, x, y, pip);
    }
}

// A court figure: head, a headdress of its own per rank, robe in the suit's
// colour, and the letter over the robe.
void Court(Canvas& canvas, const Measures& m, int suit, int rank) {
    const RECT& a = m.area;
    const COLORREF colour = SuitColour(suit);
    const COLORREF tint = (suit == 0 || suit == 2) ? RGB(255, 228, 214) : RGB(222, 230, 246);
    canvas.Box(a.left, a.top, a.right, a.bottom, tint, colour);
    const int aw = a.right - a.left, ah = a.bottom - a.top;
    const int cx = (a.left + a.right) / 2;
    if (m.roomy) {
        const int head = aw * 2 / 5;
        const int headTop = a.top + ah / 6;
        // The robe: a trapezoid from the shoulders down.
        const POINT robe[] = {{cx - head / 2 - 2, headTop + head},
                              {cx + head / 2 + 2, headTop + head},
                              {a.right - 3, a.bottom - 2},
                              {a.left + 3, a.bottom - 2}};
        canvas.Polygon(robe, 4, colour, colour);
        canvas.Oval(cx - head / 2, headTop, cx + head / 2, headTop + head, kSkin, RGB(120, 80, 50));
        const int hatBottom = headTop + 2;
        if (rank == 10) { // king: a three-pointed crown
            const POINT crown[] = {{cx - head / 2, hatBottom},     {cx - head / 2, hatBottom - 7},
                                   {cx - head / 4, hatBottom - 3}, {cx, hatBottom - 9},
                                   {cx + head / 4, hatBottom - 3}, {cx + head / 2, hatBottom - 7},
                                   {cx + head / 2, hatBottom}};
            canvas.Polygon(crown, 7, kGoldTrim, RGB(140, 100, 20));
        } else if (rank == 9) { // queen: a round tiara with three jewels
            canvas.Oval(cx - head / 2, hatBottom - 6, cx + head / 2, hatBottom + 3, kGoldTrim,
                        RGB(140, 100, 20));
            for (int i = -1; i <= 1; ++i)
                canvas.Oval(cx + i * head / 3 - 2, hatBottom - 8, cx + i * head / 3 + 2,
                            hatBottom - 4, colour, colour);
        } else { // jack: a flat cap with a feather
            canvas.Box(cx - head / 2 - 1, hatBottom - 4, cx + head / 2 + 2, hatBottom + 1,
                       RGB(40, 90, 170), RGB(20, 50, 110));
            canvas.Line(cx + head / 2, hatBottom - 4, cx + head / 2 + 4, hatBottom - 10,
                        RGB(30, 140, 60), 2);
        }
    }
    const int letterTop = m.roomy ? a.top + ah / 2 : a.top + ah / 4;
    canvas.CentredText(RECT{a.left, letterTop, a.right, a.bottom - 1}, kRankNames[rank],
                       m.roomy ? ah / 3 : ah / 2, m.roomy ? kPaper : colour, 700);
}

} // namespace

void SuitSign(Canvas& canvas, int suit, int cx, int cy, int size) {
    const int r = std::max(2, size / 2);
    const COLORREF colour = SuitColour(suit);
    switch (suit) {
    case 0: { // diamond
        const POINT points[] = {
            {cx, cy - r}, {cx + r * 3 / 4, cy}, {cx, cy + r}, {cx - r * 3 / 4, cy}};
        canvas.Polygon(points, 4, colour, colour);
        break;
    }
    case 1: { // club: three leaves and a stem
        const int leaf = std::max(2, r * 9 / 10);
        canvas.Oval(cx - leaf / 2, cy - r, cx + leaf / 2 + 1, cy - r + leaf, colour, colour);
        canvas.Oval(cx - r, cy - leaf / 3, cx - r + leaf, cy - leaf / 3 + leaf, colour, colour);
        canvas.Oval(cx + r - leaf, cy - leaf / 3, cx + r + 1, cy - leaf / 3 + leaf, colour, colour);
        const POINT stem[] = {{cx, cy - r / 3}, {cx + r / 3, cy + r}, {cx - r / 3, cy + r}};
        canvas.Polygon(stem, 3, colour, colour);
        break;
    }
    case 2: { // heart
        canvas.Oval(cx - r, cy - r * 3 / 4, cx + 1, cy + r / 4, colour, colour);
        canvas.Oval(cx - 1, cy - r * 3 / 4, cx + r, cy + r / 4, colour, colour);
        const POINT tip[] = {{cx - r, cy - r / 8}, {cx + r, cy - r / 8}, {cx, cy + r}};
        canvas.Polygon(tip, 3, colour, colour);
        break;
    }
    default: { // spade
        const POINT top[] = {{cx, cy - r}, {cx + r, cy + r / 8}, {cx - r, cy + r / 8}};
        canvas.Polygon(top, 3, colour, colour);
        canvas.Oval(cx - r, cy - r / 4, cx + 1, cy + r / 2, colour, colour);
        canvas.Oval(cx - 1, cy - r / 4, cx + r, cy + r / 2, colour, colour);
        const POINT stem[] = {{cx, cy}, {cx + r / 3, cy + r}, {cx - r / 3, cy + r}};
        canvas.Polygon(stem, 3, colour, colour);
        break;
    }
    }
}

PixelImage CardFace(int w, int h, int suit, int rank) {
    Canvas canvas(w, h);
    const Measures m = MeasuresOf(w, h);
    Blank(canvas, m, kPaper);
    Index(canvas, m, kRankNames[rank], suit);
    if (rank >= 8 && rank <= 10)
        Court(canvas, m, suit, rank);
    else
        Pips(canvas, m, suit, rank == 11 ? 1 : rank == 12 ? 2 : rank + 3);
    return canvas.Image();
}

PixelImage JokerFace(int w, int h, bool big) {
    Canvas canvas(w, h);
    const Measures m = MeasuresOf(w, h);
    Blank(canvas, m, kPaper);
    const COLORREF colour = big ? kRedSuit : kBlackSuit;
    // "JOKER" down the index strip, as tall as the card allows.
    const int letter = std::min(m.indexH * 3 / 4, (h - 6) / 5);
    const char* const word[] = {"J", "O", "K", "E", "R"};
    for (int i = 0; i < 5; ++i)
        FittedText(canvas, RECT{2, 3 + i * letter, 2 + m.strip, 3 + (i + 1) * letter}, word[i],
                   colour, kPaper);
    // A jester's face under a two-pointed hat: coloured for the big joker,
    // grey for the small one.
    const RECT& a = m.area;
    const int aw = a.right - a.left;
    const int cx = (a.left + a.right) / 2;
    const int face = aw * 3 / 5;
    const int faceTop = a.top + (h - 6) / 3;
    const COLORREF hatLeft = big ? RGB(210, 30, 40) : RGB(60, 60, 64);
    const COLORREF hatRight = big ? RGB(240, 190, 40) : RGB(150, 150, 156);
    const POINT left[] = {{cx - face / 2 - 1, faceTop + 2}, {a.left + 1, a.top + 2}, {cx, faceTop}};
    const POINT right[] = {
        {cx, faceTop}, {a.right - 1, a.top + 2}, {cx + face / 2 + 1, faceTop + 2}};
    canvas.Polygon(left, 3, hatLeft, colour);
    canvas.Polygon(right, 3, hatRight, colour);
    canvas.Oval(cx - face / 2, faceTop, cx + face / 2, faceTop + face,
                big ? kSkin : RGB(236, 236, 236), colour);
    const int eye = std::max(1, face / 10);
    canvas.Oval(cx - face / 4 - eye, faceTop + face / 3 - eye, cx - face / 4 + eye + 1,
                faceTop + face / 3 + eye + 1, colour, colour);
    canvas.Oval(cx + face / 4 - eye, faceTop + face / 3 - eye, cx + face / 4 + eye + 1,
                faceTop + face / 3 + eye + 1, colour, colour);
    canvas.Line(cx - face / 4, faceTop + face * 2 / 3, cx + face / 4, faceTop + face * 2 / 3,
                colour, std::max(1, face / 12));
    if (m.roomy)
        canvas.CentredText(RECT{a.left, faceTop + face + 1, a.right, a.bottom},
                           big ? "大王" : "小王", std::min(aw / 2, a.bottom - faceTop - face - 1),
                           colour, 700);
    return canvas.Image();
}

PixelImage CardBack(int w, int h) {
    Canvas canvas(w, h);
    const Measures m = MeasuresOf(w, h);
    Blank(canvas, m, RGB(250, 250, 250));
    const int inset = std::max(2, w / 16);
    canvas.RoundBox(inset, inset, w - inset, h - inset, m.corner - 1, RGB(150, 30, 36),
                    RGB(120, 20, 24));
    // A lattice over the red field.
    uint32_t* bits = canvas.Bits();
    for (int y = inset + 2; y < h - inset - 2; ++y)
        for (int x = inset + 2; x < w - inset - 2; ++x)
            if ((x + y) % 6 == 0 || (x - y + 6000) % 6 == 0)
                bits[y * w + x] = 0x00CD5A50u;
    canvas.Oval(w / 2 - w / 5, h / 2 - w / 5, w / 2 + w / 5, h / 2 + w / 5, kGoldTrim,
                RGB(120, 20, 24));
    return canvas.Image();
}

PixelImage CardShape(int w, int h) {
    Canvas canvas(w, h);
    Blank(canvas, MeasuresOf(w, h), RGB(255, 255, 255));
    return canvas.Image();
}

PixelImage CardSheet(int w, int h) {
    Canvas canvas(13 * w, 5 * h);
    canvas.Fill(0, 0, canvas.Width(), canvas.Height(), RGB(0, 0, 0));
    for (int suit = 0; suit < 4; ++suit)
        for (int rank = 0; rank < 13; ++rank)
            Paste(canvas, KeyBlackened(CardFace(w, h, suit, rank)), rank * w, suit * h);
    const int row = 4 * h;
    Paste(canvas, KeyBlackened(JokerFace(w, h, false)), 0, row);
    Paste(canvas, KeyBlackened(JokerFace(w, h, true)), w, row);
    Paste(canvas, KeyBlackened(CardBack(w, h)), 2 * w, row);
    Paste(canvas, MaskOf(CardShape(w, h)), 3 * w, row);
    return canvas.Image();
}

PixelImage CustomSheet(int w, int h) {
    Canvas canvas(2 * w, 2 * h);
    canvas.Fill(0, 0, canvas.Width(), canvas.Height(), RGB(0, 0, 0));
    Paste(canvas, KeyBlackened(JokerFace(w, h, true)), 0, 0);
    Paste(canvas, KeyBlackened(JokerFace(w, h, false)), 0, h);
    Paste(canvas, KeyBlackened(CardBack(w, h)), w, 0);
    Paste(canvas, MaskOf(CardShape(w, h)), w, h);
    return canvas.Image();
}

} // namespace card_art
