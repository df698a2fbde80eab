#include "sprite/GifSpriteImage.h"

#include "platform/system/Profile.h"

#include <string>

namespace {

std::string JoinPath(LPCSTR folder, const char* name) {
    return std::string(folder ? folder : "") + "\\" + name;
}

} // namespace

BOOL CGifSpriteImage::Load(LPCSTR section, LPCSTR iniFile, LPCSTR folder, BOOL bCacheOnly) {
    m_gif.Free();
    m_mask.Free();
    m_nId = int(GetPrivateProfileInt(section, "ID", -1, iniFile));
    char name[MAX_PATH] = {0};
    GetPrivateProfileString(section, "GIF", "", name, sizeof(name), iniFile);
    m_bAutoFree = GetPrivateProfileInt(section, "AUTOFREE", 1, iniFile) != 0;
    m_nMaskMode = int(GetPrivateProfileInt(section, "MASKMODE", 0, iniFile));
    if (!name[0] || !m_gif.Load(JoinPath(folder, name).c_str(), bCacheOnly))
        return FALSE;
    if (m_nMaskMode != 0) {
        char mask[MAX_PATH] = {0};
        GetPrivateProfileString(section, "MASK", "", mask, sizeof(mask), iniFile);
        if (!mask[0] || !m_mask.Load(JoinPath(folder, mask).c_str(), bCacheOnly)) {
            m_gif.Free();
            return FALSE;
        }
    }
    return TRUE;
}

SIZE CGifSpriteImage::GetSize(SPRITEINFO*) {
    return SIZE{m_gif.GetWidth(), m_gif.GetHeight()};
}

int CGifSpriteImage::GetFrameDelay(int nFrame) {
    const CGifFrame* frame = m_gif.GetFrame(nFrame);
    return frame ? frame->m_nDelay : kDefaultFrameDelay;
}

const CGifFrame* CGifSpriteImage::MaskFrame(int nFrame) const {
    const int count = m_mask.GetFrameCount();
    return count > 0 ? m_mask.GetFrame(nFrame % count) : nullptr;
}

void CGifSpriteImage::DrawAlpha(HDC hdc, int nFrame, int dx, int dy, int w, int h, int sx,
                                int sy) const {
    const CGifFrame* frame = m_gif.GetFrame(nFrame);
    const CGifFrame* mask = MaskFrame(nFrame);
    if (!frame || !mask || w <= 0 || h <= 0)
        return;
    ScratchDC target(w, h);
    BitBlt(target.dc(), 0, 0, w, h, hdc, dx, dy, SRCCOPY);
    for (int r = 0; r < h; ++r) {
        uint32_t* row = target.Row(r);
        for (int c = 0; c < w; ++c) {
            BYTE index, maskIndex;
            if (!frame->IndexAt(sx + c, sy + r, index) || !mask->IndexAt(sx + c, sy + r, maskIndex))
                continue;
            const uint32_t a = GetRValue(mask->ColorOf(maskIndex));
            const COLORREF color = frame->ColorOf(index);
            const uint32_t picture = uint32_t(GetRValue(color)) << 16 |
                                     uint32_t(GetGValue(color)) << 8 | GetBValue(color);
            uint32_t out = 0;
            for (int shift = 0; shift < 24; shift += 8) {
                const uint32_t d = row[c] >> shift & 0xFF, p = picture >> shift & 0xFF;
                out |= ((d * (255 - a) + p * a) / 255) << shift;
            }
            row[c] = out;
        }
    }
    BitBlt(hdc, dx, dy, w, h, target.dc(), 0, 0, SRCCOPY);
}

void CGifSpriteImage::Draw(HDC hdc, int nFrame, SPRITEINFO*, int dx, int dy, int w, int h, int sx,
                           int sy, int nAlpha) {
    const CGifFrame* frame = m_gif.GetFrame(nFrame);
    if (!frame)
        return;
    if (m_nMaskMode == 2) { // the per-pixel alpha is the whole blend
        DrawAlpha(hdc, nFrame, dx, dy, w, h, sx, sy);
        return;
    }
    const CGifFrame* mask = MaskFrame(nFrame);
    ComposeImage(hdc, dx, dy, w, h, nAlpha, [&](HDC target, int x, int y) {
        if (m_nMaskMode != 1 || !mask) {
            frame->DrawTransparent(target, x, y, sx, sy, w, h, SRCCOPY);
            return;
        }
        RECT both;
        const RECT a = frame->Clip(sx, sy, w, h), b = mask->Clip(sx, sy, w, h);
        if (!IntersectRect(&both, &a, &b))
            return;
        const int px = x + both.left - sx, py = y + both.top - sy;
        const int pw = both.right - both.left, ph = both.bottom - both.top;
        mask->Draw(target, px, py, both.left, both.top, pw, ph, SRCAND);
        frame->Draw(target, px, py, both.left, both.top, pw, ph, SRCPAINT);
    });
}

void CCounterGifImage::Draw(HDC hdc, int nFrame, SPRITEINFO*, int dx, int dy, int w, int h, int sx,
                            int sy, int) {
    const SIZE size{m_gif.GetWidth(), m_gif.GetHeight()};
    if (size.cx <= 0 || size.cy <= 0)
        return;
    DrawWholeFrame(hdc, dx, dy, w, h, sx, sy, size, 255, [&](HDC canvas) {
        DrawAlpha(canvas, nFrame, 0, 0, size.cx, size.cy, 0, 0);
        if (!m_pDigits)
            return;
        POINT tens = m_pDigits->GetTensOffset(), units = m_pDigits->GetUnitsOffset();
        tens.x += kDigitShift.x;
        tens.y += kDigitShift.y;
        units.x += kDigitShift.x;
        units.y += kDigitShift.y;
        m_pDigits->DrawNumber(canvas, m_nValue, tens, units);
    });
}

CGifSpriteImage* NewGifSpriteImage(LPCSTR section, LPCSTR iniFile, LPCSTR folder, BOOL bCacheOnly) {
    auto* image = new CGifSpriteImage;
    if (!image->Load(section, iniFile, folder, bCacheOnly)) {
        delete image;
        return nullptr;
    }
    return image;
}
