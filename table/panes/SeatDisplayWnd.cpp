#include "table/panes/SeatDisplayWnd.h"

#include "platform/gdi/Gdi.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// Colours of the pictures: background, then clothes.
struct PictureColours {
    COLORREF background;
    COLORREF clothes;
};
constexpr PictureColours kPictures[] = {
    {RGB(186, 214, 240), RGB(40, 90, 160)},  {RGB(240, 214, 186), RGB(160, 70, 40)},
    {RGB(200, 236, 200), RGB(40, 130, 60)},  {RGB(232, 206, 236), RGB(120, 50, 140)},
    {RGB(240, 236, 190), RGB(150, 120, 30)}, {RGB(210, 210, 210), RGB(70, 70, 70)},
};
constexpr int kPictureCount = int(sizeof kPictures / sizeof kPictures[0]);
constexpr COLORREF kSkin = RGB(246, 214, 180);

void FillEllipse(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Ellipse(dc, left, top, right, bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

} // namespace

CSeatDisplayWnd::CSeatDisplayWnd() : m_NameRecord{}, m_nHOffset(0), m_nVOffset(0) {}

BOOL CSeatDisplayWnd::Create(LPCSTR userName, int value, CWnd* parent, int seat) {
    if (parent == nullptr || !::IsWindow(parent->m_hWnd))
        return FALSE;
    const RECT rect = {0, 0, kPictureWidth, kPictureHeight};
    if (!CWnd::Create(nullptr, nullptr, WS_CHILD, rect, parent, UINT(kFirstControlId + seat)))
        return FALSE;
    SetName(userName, value);
    ShowWindow(SW_SHOW);
    return TRUE;
}

void CSeatDisplayWnd::SetName(LPCSTR userName, int) {
    memset(m_NameRecord, 0, sizeof m_NameRecord);
    if (userName != nullptr)
        memcpy(m_NameRecord, userName, strnlen(userName, sizeof m_NameRecord - 1));
}

void CSeatDisplayWnd::FollowName(LPCSTR userName, int value) {
    const char* name = userName != nullptr ? userName : "";
    if (strncmp(m_NameRecord, name, sizeof m_NameRecord - 1) != 0)
        SetName(name, value);
}

int CSeatDisplayWnd::HorizontalOffset(int frameWidth) {
    if (frameWidth == 0)
        frameWidth = kDefaultFrameWidth;
    return (frameWidth - kPictureWidth) / 2;
}

int CSeatDisplayWnd::VerticalOffset(int h) {
    if (h == 0)
        h = kDefaultFrameHeight;
    if (h <= 54)
        return h / 2 - 54;
    if (h <= 78)
        return -27;
    if (h <= 144)
        return -(27 + (5 * (78 - h)) / 61);
    if (h <= 190)
        return (h - 144) / 2 - 22;
    return (h - 190) / 2;
}

int CSeatDisplayWnd::GetPictureIndex() const {
    unsigned hash = 0;
    for (const char* p = m_NameRecord; *p != '\0'; ++p)
        hash = hash * 31 + static_cast<unsigned char>(*p);
    return int(hash % kPictureCount);
}

void CSeatDisplayWnd::PaintPicture(HDC dc, int left, int top) const {
    const PictureColours& colours = kPictures[GetPictureIndex()];
    const RECT whole = {left, top, left + kPictureWidth, top + kPictureHeight};
    HBRUSH background = CreateSolidBrush(colours.background);
    FillRect(dc, &whole, background);
    DeleteObject(background);
    // Shoulders, then the head above them.
    FillEllipse(dc, left + 15, top + 120, left + 135, top + 250, colours.clothes);
    FillEllipse(dc, left + 45, top + 40, left + 105, top + 110, kSkin);
}

void CSeatDisplayWnd::Draw(HDC dc, int x, int y, int frameWidth, int frameHeight) {
    if (frameWidth == 0)
        frameWidth = kDefaultFrameWidth;
    if (frameHeight == 0)
        frameHeight = kDefaultFrameHeight;
    m_nHOffset = HorizontalOffset(frameWidth);
    m_nVOffset = VerticalOffset(frameHeight);
    if (m_hWnd == nullptr || !::IsWindow(m_hWnd) || dc == nullptr)
        return;
    // Smaller than the picture: its middle part from the offset; larger: the
    // whole picture placed at the offset.
    const bool cropX = frameWidth < kPictureWidth;
    const bool cropY = frameHeight < kPictureHeight;
    const int sourceX = cropX ? abs(m_nHOffset) : 0;
    const int sourceY = cropY ? abs(m_nVOffset) : 0;
    const int destX = x + (cropX ? 0 : abs(m_nHOffset));
    const int destY = y + (cropY ? 0 : abs(m_nVOffset));
    const int width = cropX ? frameWidth : kPictureWidth;
    const int height = cropY ? std::min(frameHeight, kPictureHeight - sourceY) : kPictureHeight;

    HDC memory = CreateCompatibleDC(dc);
    HBITMAP picture = CreateCompatibleBitmap(dc, kPictureWidth, kPictureHeight);
    HGDIOBJ old = SelectObject(memory, picture);
    PaintPicture(memory, 0, 0);
    BitBlt(dc, destX, destY, width, height, memory, sourceX, sourceY, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(picture);
    DeleteDC(memory);
}
