// Floating notices: a line of text that rises from the layout's start point
// towards its end point and fades. A line already up or waiting is not said
// again, and a line that would start within two of its heights of the one
// before waits until that one has risen clear, so that notices never cover
// each other nor leave their place between the played cards.

#include "sprite/AppServices.h"
#include "sprite/GameLayout.h"
#include "sprite/TextImage.h"
#include "table/window/GameWnd.h"
#include "table/common/GameWndActionRules.h"
#include "table/cards/SeatMarkPlaces.h"

#include <algorithm>

namespace {

constexpr int kNoticeLayer = 600;
// How often waiting notices look for room, and how many may wait.
constexpr UINT kNoticeWaitMs = 100;
constexpr size_t kMostNoticesWaiting = 16;
// Between my played cards and the question's words below them.
constexpr int kQuestionGap = 4;

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
    // The texts of the notices still up.
    for (auto it = m_noticeTexts.begin(); it != m_noticeTexts.end();)
        it = FindSpritePos(it->first) == nullptr ? m_noticeTexts.erase(it) : std::next(it);
    const auto said = [&](const CString& line) { return line == text; };
    if (std::any_of(m_noticesWaiting.begin(), m_noticesWaiting.end(), said) ||
        std::any_of(m_noticeTexts.begin(), m_noticeTexts.end(),
                    [&](const auto& up) { return said(up.second); }))
        return;
    if (m_noticesWaiting.size() >= kMostNoticesWaiting) {
        WriteLog("The table has too many notices waiting to show \"%s\"", text);
        return;
    }
    m_noticesWaiting.emplace_back(text);
    ShowWaitingNotices();
}

void CGameWnd::ShowWaitingNotices() {
    while (!m_noticesWaiting.empty() && StartNotice(m_noticesWaiting.front()))
        m_noticesWaiting.pop_front();
    if (m_noticesWaiting.empty())
        KillTimer(kNoticeWaitTimer);
    else
        SetTimer(kNoticeWaitTimer, kNoticeWaitMs, nullptr);
}

BOOL CGameWnd::StartNotice(const CString& text) {
    const CGameLayout& layout = *m_fields.pLayout;
    auto* picture = new CTextImage;
    if (!picture->SetText(text, layout.m_strTextSpriteFont, layout.m_nTextSpriteSize,
                          layout.m_clrTextSprite)) {
        delete picture;
        WriteLog("The table could not write the notice \"%s\"", LPCSTR(text));
        return TRUE;
    }
    const SIZE size = picture->GetSize(nullptr);
    CSpritePos begin = layout.m_posTextBegin;
    CSpritePos end = layout.m_posTextEnd;
    begin.x -= size.cx / 2;
    end.x -= size.cx / 2;
    if (POSITION last = m_nLastNoticeId != -1 ? FindSpritePos(m_nLastNoticeId) : nullptr) {
        // Still up and less than two of the new one's heights above its start: it waits.
        if (ResolvePos(begin).y < GetSpriteRect(last).top + 2 * size.cy) {
            delete picture;
            return FALSE;
        }
    }
    const int id = NextNoticeId();
    if (id == -1) {
        delete picture;
        WriteLog("The table has too many notices up to show \"%s\"", LPCSTR(text));
        return TRUE;
    }
    auto* line = new CStraightLine;
    line->Init(begin.x, begin.y, begin.anchor, end.x, end.y, end.anchor, layout.m_nTextSpriteDelay,
               0, 255, 155);
    POSITION pos =
        AddSprite(GetImageList().Add(picture), line, id, kNoticeLayer, 1, 0, "notice", TRUE);
    // Gone from the top, the last notice lets the waiting ones show.
    const auto risen = [this, id] {
        if (id == m_nLastNoticeId) {
            m_nLastNoticeId = -1;
            ShowWaitingNotices();
        }
    };
    if (pos == nullptr || !PlaySprite(pos, TRUE, kNoticeEnd, kNoticeLayer, 1, TRUE, risen)) {
        if (pos != nullptr)
            RemoveSprite(pos);
        WriteLog("The table could not show the notice \"%s\"", LPCSTR(text));
        return TRUE;
    }
    m_nLastNoticeId = id;
    m_noticeTexts[id] = text;
    return TRUE;
}

void CGameWnd::ShowQuestionLine(LPCSTR text) {
    if (POSITION old = FindSpritePos(kQuestionLineSprite))
        RemoveSprite(old);
    if (text == nullptr || text[0] == '\0' || m_fields.pLayout == nullptr)
        return;
    const CGameLayout& layout = *m_fields.pLayout;
    auto* picture = new CTextImage;
    if (!picture->SetText(text, layout.m_strTextSpriteFont, layout.m_nTextSpriteSize,
                          layout.m_clrTextSprite)) {
        delete picture;
        WriteLog("The table could not write the question \"%s\"", text);
        return;
    }
    // In the notices' words, centred just below my played cards: clear of
    // the notices above them and of my buttons and my texts over them.
    const SIZE size = picture->GetSize(nullptr);
    const CSpritePos mine = m_fields.OutCardPoint(0);
    const CSpritePos at =
        InsideTable(PosAt(-size.cx / 2, mine.y + kQuestionGap, mine.anchor), size);
    auto* line = new CFixedLine;
    line->Init(at.x, at.y, at.anchor, at.x, at.y, at.anchor, 1, -1, 255, 255);
    const POSITION image = GetImageList().Add(picture);
    POSITION pos =
        AddSprite(image, line, kQuestionLineSprite, kNoticeLayer, 0, 0, "question", FALSE);
    if (pos == nullptr)
        GetImageList().Release(image); // no sprite holds it: it goes
    if (pos == nullptr || !PlaySprite(pos, FALSE, 0, kNoticeLayer, 0, FALSE))
        WriteLog("The table could not show the question \"%s\"", text);
}
