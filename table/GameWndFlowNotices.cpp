// Floating notices: a line of text that rises from the layout's start point
// towards its end point and fades; one shown while another is still low is
// started below it so that the two never overlap.

#include "sprite/AppServices.h"
#include "sprite/GameLayout.h"
#include "sprite/TextImage.h"
#include "table/GameWnd.h"

namespace {

constexpr int kNoticeLayer = 600;

} // namespace

int CGameWnd::NextNoticeId() {
    // Notices have their own block of ids, apart from every other sprite's.
    for (int tries = 0; tries <= kLastNoticeId - kFirstNoticeId; ++tries) {
        const int id = m_nNextNoticeId;
        m_nNextNoticeId = id == kLastNoticeId ? kFirstNoticeId : id + 1;
        if (FindSpritePos(id) == nullptr)
            return id;
    }
    return -1;
}

void CGameWnd::ShowNotice(LPCSTR text) {
    if (text == nullptr || text[0] == '\0' || m_fields.pLayout == nullptr)
        return;
    const CGameLayout& layout = *m_fields.pLayout;
    auto* picture = new CTextImage;
    if (!picture->SetText(text, layout.m_strTextSpriteFont, layout.m_nTextSpriteSize,
                          layout.m_clrTextSprite)) {
        delete picture;
        WriteLog("The table could not write the notice \"%s\"", text);
        return;
    }
    const SIZE size = picture->GetSize(nullptr);
    CSpritePos begin = layout.m_posTextBegin;
    CSpritePos end = layout.m_posTextEnd;
    begin.x -= size.cx / 2;
    end.x -= size.cx / 2;
    if (POSITION last = m_nLastNoticeId != -1 ? FindSpritePos(m_nLastNoticeId) : nullptr) {
        // Still up: the new one starts two of its heights below the last one's top.
        const int lowest = GetSpriteRect(last).top + 2 * size.cy;
        const int startY = ResolvePos(begin).y;
        if (startY < lowest)
            begin.y += lowest - startY;
    }
    const int id = NextNoticeId();
    if (id == -1) {
        delete picture;
        WriteLog("The table has too many notices up to show \"%s\"", text);
        return;
    }
    auto* line = new CStraightLine;
    line->Init(begin.x, begin.y, begin.anchor, end.x, end.y, end.anchor, layout.m_nTextSpriteDelay,
               0, 255, 155);
    POSITION pos =
        AddSprite(GetImageList().Add(picture), line, id, kNoticeLayer, 1, 0, "notice", TRUE);
    if (pos == nullptr || !PlaySprite(pos, TRUE, kNoticeEndEvent, kNoticeLayer, 1, TRUE)) {
        if (pos != nullptr)
            RemoveSprite(pos);
        WriteLog("The table could not show the notice \"%s\"", text);
        return;
    }
    m_nLastNoticeId = id;
}
