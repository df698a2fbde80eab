#pragma once

// The texts and places of the table's information: the player information
// tip of a seat, the seat's display name, where the speech tips and the seat
// pop-up stand for each view position, and the bean figure of the betting
// dialog.

#include "game/TableRecords.h"
#include "platform/CString.h"
#include "platform/Types.h"

class CGameLogic;

// A fixed text field that need not end in a NUL: at most its size is read.
CString FixedFieldText(const char* field, size_t size);

// The seat's user name and nickname; the record's fields need not end in a
// NUL, so at most their 20 bytes are read.
CString UserNameOf(const tagUSERINFO& user);
CString NickNameOf(const tagUSERINFO& user);
BOOL IsSeatUserTaken(const tagUSERINFO& user);

// Whether the player gave a nickname worth showing: neither empty nor one
// blank.
BOOL HasNickName(const tagUSERINFO& user);
// The name a seat goes by in every text of the table: the nickname, or the
// user name when there is none; empty for a seat outside the table.
CString DisplayNameOf(const tagUSERINFO& user);
CString SeatDisplayName(const CGameLogic& board, int seat);

// The player information tip's text; the level title of the record's level
// index clamped to 0..19.
CString PlayerInfoText(const tagUSERINFO& user);

// The speech tip of a seat at its place (x, y) on the view: the body point
// and the tail point, mode 0.
struct TipPoints {
    POINT body;
    POINT tail;
};
TipPoints SpeechTipPoints(int view, POINT place);

// The tail mode of the information tip by the view found under the cursor.
int InfoTipMode(int view);

// The seat pop-up's rectangle at the cursor: 102 x 32, to the left of the
// cursor for the seats shown on the right (views 4 and 5).
enum { kSeatPopupWidth = 102, kSeatPopupHeight = 32 };
RECT SeatPopupRect(int view, POINT cursor);

// The betting dialog's bean figure: my beans less the table's reserve, at
// least 0 and at most the largest bet.
int BeanFigure(int beans, int reserve, int largestBet);

// A level index as the table keeps it (0..20).
int StoredLevel(int level);
