#pragma once

// The reel pane: the game's rules and notices, one entry per line added,
// laid out in a text column (a marker before each entry, a dashed rule
// between them) that keeps the newest entry in view. It opens by growing
// from its centre over 20 frames and closes by shrinking.

#include "table/panes/PaneImage.h"

#include <string>
#include <vector>

class CReelPaneImage : public CPaneImage {
public:
    static constexpr int kFrames = 20;
    static constexpr int kLeft = 63;
    static constexpr int kSingleWidth = 330; // wider lines are cut
    static constexpr int kMultiWidth = 340;
    static constexpr int kGap = 10;    // between entries
    static constexpr int kLineGap = 5; // between the lines of an entry
    static constexpr int kLastBottom = 525;
    static constexpr RECT kTextClip{63, 55, 403, 530};

    explicit CReelPaneImage(int nId);
    ~CReelPaneImage() override;

    BOOL LoadReelPane(LPCSTR layoutFile, LPCSTR section);
    void AddReelLine(LPCSTR line);
    void ClearReel();
    void SetOpening(BOOL opening) { m_bOpening = opening; }
    BOOL IsOpening() const { return m_bOpening; }

    int GetFrameCount(SPRITEINFO*) override { return kFrames; }
    int GetFrameDelay(int nFrame) override;
    RECT GetRect(SPRITEINFO* pSprite, int nFrame) override;
    POINT GetOrigin(SPRITEINFO* pSprite, int nFrame) override;
    void Draw(HDC hdc, int nFrame, SPRITEINFO* pSprite, int dx, int dy, int w, int h, int sx,
              int sy, int nAlpha) override;

    // Lays the entries out with the pane's font on the DC's measures (done
    // by Draw whenever entries were added or cleared).
    void LayOut(HDC dc);
    int LaidOutCount() const { return m_nLaidOut; }
    const RECT& EntryRect(int i) const { return m_rects[size_t(i)]; }
    bool IsSingleLine(int i) const { return m_single[size_t(i)] != 0; }
    // The display lines of an entry in the font selected into the DC: cut at
    // line feeds, and lines wider than the column cut into pieces of as many
    // bytes as 'a's fit, never between the two bytes of a character.
    static std::vector<std::string> DisplayLines(HDC dc, const std::string& text);
    // The line shortened by at least 4 bytes on a character boundary, then
    // " ..." (the last line that fits of an entry that does not).
    static std::string Truncated(const std::string& line);

private:
    int Shrink(int nFrame) const;
    void DrawEntry(HDC dc, int i);

    std::vector<std::string> m_lines;
    std::vector<RECT> m_rects;
    std::vector<int> m_single;
    RECT m_running{kLeft, 0, 0, 50};
    HFONT m_hFont = nullptr;
    int m_nLineHeight = 14;
    int m_nLaidOut = 0;
    BOOL m_bOpening = TRUE;
};
