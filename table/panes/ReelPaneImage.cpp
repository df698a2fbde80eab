#include "table/panes/ReelPaneImage.h"

#include "platform/CodePage.h"
#include "platform/text/Text.h"

#include <algorithm>

namespace {

const COLORREF kLineColour = RGB(88, 34, 0);
const COLORREF kMarkColour = RGB(59, 75, 0);
const char kRule[] = "-----------------------------------------";

int TextWidth(HDC dc, const std::string& text) {
    SIZE extent{0, 0};
    GetTextExtentPoint32(dc, text.c_str(), int(text.size()), &extent);
    return int(extent.cx);
}

// Bytes of the character starting at i: two for a lead byte with its
// trail, else one.
size_t CharBytes(const std::string& text, size_t i) {
    return IsDBCSLeadByte(BYTE(text[i])) && i + 1 < text.size() ? 2 : 1;
}

// Selects a GDI object for one scope.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object)
        : m_dc(dc), m_old(object ? SelectObject(dc, object) : nullptr) {}
    ~Selected() {
        if (m_old)
            SelectObject(m_dc, m_old);
    }

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

} // namespace

CReelPaneImage::CReelPaneImage(int nId) : CPaneImage(nId) {
    m_hFont = CreatePaneFont(m_nLineHeight, 600, GB2312_CHARSET);
}

CReelPaneImage::~CReelPaneImage() {
    if (m_hFont)
        DeleteObject(m_hFont);
}

BOOL CReelPaneImage::LoadReelPane(LPCSTR layoutFile, LPCSTR section) {
    return LoadBackground(layoutFile, section, "Reel_bmp", 2);
}

void CReelPaneImage::AddReelLine(LPCSTR line) {
    m_lines.emplace_back(line ? line : "");
}

void CReelPaneImage::ClearReel() {
    m_lines.clear();
    m_rects.clear();
    m_single.clear();
    m_nLaidOut = 0;
}

int CReelPaneImage::GetFrameDelay(int nFrame) {
    return m_bOpening && nFrame == kFrames - 1 ? kDefaultFrameDelay : 1;
}

int CReelPaneImage::Shrink(int nFrame) const {
    const int f = std::clamp(nFrame, 0, kFrames - 1);
    return m_bOpening ? kFrames - 1 - f : f;
}

RECT CReelPaneImage::GetRect(SPRITEINFO*, int nFrame) {
    const int g = Shrink(nFrame);
    const int mx = m_cx * g / 40, my = m_cy * g / 40;
    return RECT{mx, my, m_cx - mx, m_cy - my};
}

POINT CReelPaneImage::GetOrigin(SPRITEINFO*, int nFrame) {
    const int g = Shrink(nFrame);
    return POINT{m_cx * g / 40, m_cy * g / 40};
}

std::vector<std::string> CReelPaneImage::DisplayLines(HDC dc, const std::string& text) {
    const size_t feed = text.find('\n');
    if (feed != std::string::npos) {
        std::string first = text.substr(0, feed);
        if (!first.empty() && first.back() == '\r')
            first.pop_back();
        std::vector<std::string> lines = DisplayLines(dc, first);
        std::vector<std::string> rest = DisplayLines(dc, text.substr(feed + 1));
        lines.insert(lines.end(), rest.begin(), rest.end());
        return lines;
    }
    if (TextWidth(dc, text) <= kSingleWidth)
        return {text};
    const int charWidth = TextWidth(dc, "a");
    if (charWidth <= 0)
        return {};
    const size_t piece = size_t(std::max(1, kSingleWidth / charWidth));
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        size_t end = start;
        while (end < text.size() && end + CharBytes(text, end) <= start + piece)
            end += CharBytes(text, end);
        if (end == start) // a piece of one byte still takes a whole character
            end += CharBytes(text, end);
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

std::string CReelPaneImage::Truncated(const std::string& line) {
    size_t keep = 0;
    for (size_t i = 0; i < line.size();) {
        const size_t next = i + CharBytes(line, i);
        if (next + 4 > line.size())
            break;
        keep = next;
        i = next;
    }
    return line.substr(0, keep) + " ...";
}

void CReelPaneImage::LayOut(HDC dc) {
    Selected font(dc, m_hFont);
    m_rects.clear();
    m_single.clear();
    m_running = RECT{kLeft, 0, 0, 50};
    for (const std::string& line : m_lines) {
        const int n = int(DisplayLines(dc, line).size());
        // One line that the single-line box holds whole; a line cut into
        // one piece may still be wider and goes in the wider box.
        const bool single =
            line.find('\n') == std::string::npos && n == 1 && TextWidth(dc, line) <= kSingleWidth;
        RECT r{kLeft, m_running.bottom + kGap, 0, 0};
        if (single) {
            r.right = r.left + kSingleWidth;
            r.bottom = r.top + m_nLineHeight;
        } else {
            r.right = r.left + kMultiWidth;
            r.bottom = r.top + std::max(0, n * m_nLineHeight + (n - 1) * kLineGap);
        }
        m_rects.push_back(r);
        m_single.push_back(single ? 1 : 0);
        m_running = r;
    }
    if (!m_rects.empty() && m_rects.back().bottom > kLastBottom) {
        const int excess = m_rects.back().bottom - kLastBottom;
        for (RECT& r : m_rects) {
            r.top -= excess;
            r.bottom -= excess;
        }
    }
    m_nLaidOut = int(m_lines.size());
}

void CReelPaneImage::DrawEntry(HDC dc, int i) {
    const RECT r = m_rects[size_t(i)];
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, kTextClip.left, kTextClip.top, kTextClip.right, kTextClip.bottom);
    SetTextColor(dc, kLineColour);
    if (m_single[size_t(i)]) {
        RECT box = r;
        DrawText(dc, m_lines[size_t(i)].c_str(), -1, &box, DT_VCENTER | DT_SINGLELINE);
    } else {
        std::vector<std::string> lines = DisplayLines(dc, m_lines[size_t(i)]);
        const int bottom = std::min<int>(r.bottom, kTextClip.bottom);
        size_t fit = 0;
        while (fit < lines.size() &&
               r.top + int(fit) * (m_nLineHeight + kLineGap) + m_nLineHeight <= bottom)
            ++fit;
        if (fit > 0 && fit < lines.size())
            lines[fit - 1] = Truncated(lines[fit - 1]);
        for (size_t j = 0; j < fit; ++j) {
            const int top = r.top + int(j) * (m_nLineHeight + kLineGap);
            RECT box{r.left, top, r.right, top + m_nLineHeight};
            DrawText(dc, lines[j].c_str(), int(lines[j].size()), &box, DT_EDITCONTROL);
        }
    }
    RestoreDC(dc, saved);
    // The marker and the rule stand left of and above the text column; they
    // scroll away with their entry.
    const int markSaved = SaveDC(dc);
    IntersectClipRect(dc, 0, kTextClip.top, m_cx, kTextClip.bottom);
    SetTextColor(dc, kMarkColour);
    RECT mark{r.left - 12, r.top, r.left, r.top + 20};
    DrawText(dc, "*", 1, &mark, DT_SINGLELINE);
    if (i > 0) {
        RECT rule{r.left, r.top - kGap, r.right, r.top};
        DrawText(dc, kRule, -1, &rule, DT_SINGLELINE);
    }
    RestoreDC(dc, markSaved);
}

void CReelPaneImage::Draw(HDC hdc, int, SPRITEINFO*, int dx, int dy, int w, int h, int sx, int sy,
                          int nAlpha) {
    DrawPane(hdc, dx, dy, w, h, sx, sy, nAlpha, [&](HDC dc) {
        DrawHalfBackground(dc);
        if (m_nLaidOut != int(m_lines.size()))
            LayOut(dc);
        SetBkMode(dc, TRANSPARENT);
        Selected font(dc, m_hFont);
        for (int i = 0; i < m_nLaidOut; ++i)
            DrawEntry(dc, i);
    });
}
