#pragma once

// The result panes: after a game, one row per seat of name, place word and
// score changes, the player's own row first, then the next and previous
// teammates, the next seat, the opposite one and the previous one.

#include "game/StateRecords.h"
#include "platform/CString.h"
#include "table/panes/PaneImage.h"

#include <string>

// By place 0..5: "头科", "二科", "三科", "四科", "二落", "大落".
extern const char* const kPlaceWords[kSeatCount];

// A score as the panes write it: "0", "+v" up to 9999, "+n万" (n = v / 10000
// truncated) from 10000, mirrored with '-' for negatives.
std::string ScoreText(int value);

// The seats of the six rows for the player's seat; false for a seat not
// 0..5 (no rows).
bool ResultRowSeats(int mySeat, int seats[kSeatCount]);

class CResultPaneImage : public CPaneImage {
public:
    explicit CResultPaneImage(int nId);
    ~CResultPaneImage() override;

    BOOL LoadResultPane(LPCSTR layoutFile, LPCSTR section);
    // Keeps a copy of the record and the seats by place. The place words
    // are cleared first; each place whose seat is 0..5 names its seat.
    void SetResult(const tagGAMEOVERMSG* record, const int placeSeat[kSeatCount]);
    // The player's own seat, which the table window keeps current.
    void SetMySeat(int seat) { m_nMySeat = seat; }

    const CString& GetPlaceWord(int seat) const;
    // The name a row shows: the nickname, or the user name when the
    // nickname is empty or one blank. Both fields are read bounded.
    std::string RowName(int seat) const;

    void Draw(HDC hdc, int nFrame, SPRITEINFO* pSprite, int dx, int dy, int w, int h, int sx,
              int sy, int nAlpha) override;

    // Rows 0..2 stand 31 pixels apart from y 91, rows 3..5 32 apart from 185.
    static RECT RowBox(int row, int left, int right);

protected:
    // Which cells a row has and where (x ranges).
    struct Columns {
        int nameLeft, nameRight;
        int placeLeft, placeRight;
        int scoreLeft, scoreRight;
        int beanLeft, beanRight; // 0, 0: no bean column
    };
    CResultPaneImage(int nId, const Columns& columns);

private:
    Columns m_columns;
    tagGAMEOVERMSG* m_pRecord = nullptr; // owned copy
    int m_placeSeat[kSeatCount];
    CString m_placeWord[kSeatCount];
    HFONT m_hFont = nullptr;
    int m_nMySeat = -1;
};

// As the result pane, each row with the name, the place word and the score
// change only.
class CResultCoinPaneImage : public CResultPaneImage {
public:
    explicit CResultCoinPaneImage(int nId);
    BOOL LoadResultCoinPane(LPCSTR layoutFile, LPCSTR section);
};
