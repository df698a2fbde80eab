#include "table/panes/ResultPaneImage.h"

#include "game/GameLogic.h"
#include "platform/text/Text.h"
#include "table/common/GameWndInfoText.h"

#include <cstring>

const char* const kPlaceWords[kSeatCount] = {"头科", "二科", "三科", "四科", "二落", "大落"};

namespace {

const COLORREF kResultTextColour = RGB(224, 253, 2);
const UINT kCellFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;

void DrawCell(HDC dc, const std::string& text, RECT box) {
    DrawText(dc, text.c_str(), int(text.size()), &box, kCellFormat);
}

} // namespace

std::string ScoreText(int value) {
    // In 64 bits: the lowest int has no positive counterpart.
    const long long v = value;
    const long long magnitude = v < 0 ? -v : v;
    if (v == 0)
        return "0";
    const std::string sign = v > 0 ? "+" : "-";
    if (magnitude <= 9999)
        return sign + std::to_string(magnitude);
    return sign + std::to_string(magnitude / 10000) + "万";
}

bool ResultRowSeats(int mySeat, int seats[kSeatCount]) {
    if (!IsSeat(mySeat))
        return false;
    seats[0] = mySeat;
    seats[1] = CGameLogic::GetNextTeammate(mySeat);
    seats[2] = CGameLogic::GetPrevTeammate(mySeat);
    seats[3] = CGameLogic::GetNextSeat(mySeat);
    seats[4] = CGameLogic::GetOppositeSeat(mySeat);
    seats[5] = CGameLogic::GetPrevSeat(mySeat);
    return true;
}

CResultPaneImage::CResultPaneImage(int nId)
    : CResultPaneImage(nId, Columns{43, 147, 160, 233, 247, 320, 330, 434}) {}

CResultPaneImage::CResultPaneImage(int nId, const Columns& columns)
    : CPaneImage(nId), m_columns(columns) {
    for (int& seat : m_placeSeat)
        seat = -1;
    m_hFont = CreatePaneFont(16, 700, GB2312_CHARSET);
}

CResultPaneImage::~CResultPaneImage() {
    delete m_pRecord;
    if (m_hFont)
        DeleteObject(m_hFont);
}

BOOL CResultPaneImage::LoadResultPane(LPCSTR layoutFile, LPCSTR section) {
    return LoadBackground(layoutFile, section, "resultbk_bmp", 2);
}

void CResultPaneImage::SetResult(const tagGAMEOVERMSG* record, const int placeSeat[kSeatCount]) {
    delete m_pRecord;
    m_pRecord = record ? new tagGAMEOVERMSG(*record) : nullptr;
    // A game that ended without every place must not show the last game's.
    for (CString& word : m_placeWord)
        word.Empty();
    for (int place = 0; place < kSeatCount; ++place) {
        m_placeSeat[place] = placeSeat ? placeSeat[place] : -1;
        if (IsSeat(m_placeSeat[place]))
            m_placeWord[m_placeSeat[place]] = kPlaceWords[place];
    }
}

const CString& CResultPaneImage::GetPlaceWord(int seat) const {
    static const CString none;
    return IsSeat(seat) ? m_placeWord[seat] : none;
}

std::string CResultPaneImage::RowName(int seat) const {
    if (!m_pRecord || !IsSeat(seat))
        return std::string();
    const tagUSERINFO& user = m_pRecord->users[seat];
    return std::string(LPCSTR(DisplayNameOf(user)));
}

RECT CResultPaneImage::RowBox(int row, int left, int right) {
    const int top = row < 3 ? 91 + 31 * row : 185 + 32 * (row - 3);
    return RECT{left, top, right, top + 20};
}

void CResultPaneImage::Draw(HDC hdc, int, SPRITEINFO*, int dx, int dy, int w, int h, int sx, int sy,
                            int nAlpha) {
    DrawPane(hdc, dx, dy, w, h, sx, sy, nAlpha, [&](HDC dc) {
        DrawHalfBackground(dc);
        int seats[kSeatCount];
        if (!m_pRecord || !ResultRowSeats(m_nMySeat, seats))
            return;
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, kResultTextColour);
        HGDIOBJ oldFont = m_hFont ? SelectObject(dc, m_hFont) : nullptr;
        const Columns& c = m_columns;
        for (int row = 0; row < kSeatCount; ++row) {
            const int seat = seats[row];
            DrawCell(dc, RowName(seat), RowBox(row, c.nameLeft, c.nameRight));
            DrawCell(dc, m_placeWord[seat].str(), RowBox(row, c.placeLeft, c.placeRight));
            DrawCell(dc, ScoreText(m_pRecord->change.nScoreChange[seat]),
                     RowBox(row, c.scoreLeft, c.scoreRight));
            if (c.beanRight > c.beanLeft)
                DrawCell(dc, ScoreText(m_pRecord->change.nBeanChange[seat]),
                         RowBox(row, c.beanLeft, c.beanRight));
        }
        if (oldFont)
            SelectObject(dc, oldFont);
    });
}

CResultCoinPaneImage::CResultCoinPaneImage(int nId)
    : CResultPaneImage(nId, Columns{43, 147, 200, 273, 330, 434, 0, 0}) {}

BOOL CResultCoinPaneImage::LoadResultCoinPane(LPCSTR layoutFile, LPCSTR section) {
    return LoadBackground(layoutFile, section, "resultcoinbk_bmp", 2);
}
