#pragma once

// The table's record handling: each game record the client hands over is
// applied to the board (the model), then shown through the view, then
// answered where the table answers for me (an automatic pass, a clock, the
// threes that go out at once). It keeps what the handlers need between
// records and never touches a window itself, so it runs without one.

#include "game/GameLogic.h"
#include "game/PlayRecords.h"
#include "game/StateRecords.h"
#include "platform/CString.h"
#include "table/common/TableViewpoint.h"

#include <vector>

class CGameNetClient;
class CMarkView;
class CPaneView;
class CTableView;

// A pending tribute return: who gets the returned cards, who returns them.
struct tagPENDINGTRIBUTE {
    int nKind;          // 0 point, 1 bie, 2 shao
    int nTargetSeat;    // receives the returned cards
    int nReturningSeat; // returns them
    int nCount;         // cards to return
};

// What the record handlers keep between records.
struct tagGAMESTATEBLOCK {
    // Set while the referee lists the returns due, one record per return;
    // the first record of a listing replaces what was pending.
    int bReturnTributeFlag = 0;
    // Returns each seat still owes in the listing.
    int nReturnsDue[kSeatCount] = {};
    int bMultiples = 1; // the room has more than one multiple: the panes offer chips
};

class CTableRecords {
public:
    CTableRecords(CGameLogic& board, const TableViewpoint& viewpoint, CTableView& view,
                  CMarkView& marks, CPaneView& panes)
        : m_board(board), m_viewpoint(viewpoint), m_view(view), m_marks(marks), m_panes(panes) {}
    CTableRecords(const CTableRecords&) = delete;
    CTableRecords& operator=(const CTableRecords&) = delete;

    // The client whose seat the table shows and through which it answers.
    void SetClient(CGameNetClient* client) { m_client = client; }

    // ---- the handlers the record kinds run (RecordKinds.h) ----
    void OnTableInfo(const tagTABLEINFO& msg);
    void OnSnapshot(const tagSNAPSHOTMSG& msg);
    void OnStart(const tagSTARTMSG& msg);
    void OnDeal(const tagDEALMSG& msg);
    void OnPlay(const tagPLAYMSG& msg);
    void OnGameOver(const tagGAMEOVERMSG& msg);
    void OnReturnTribute(const tagRETURNTRIBUTEMSG& msg);
    void OnPointMsg(const tagPOINTMSG& msg);
    void OnRevolution(const tagREVOLUTIONMSG& msg);
    void OnGousiji(const tagGOUSIJIMSG& msg);
    void OnBuy3(const tagBUY3MSG& msg);
    void OnTribute(const tagTRIBUTEMSG& msg);
    void OnTrust(const tagTRUSTMSG& msg);
    void OnTrustEnd(const tagGAMEENDMSG& msg);
    void OnTrustWords(const tagTRUSTWORDSMSG& msg);
    void OnWatcherCards(const tagWATCHERVIEWMSG& msg);
    void OnPlaces(const tagPLACESMSG& msg);
    void OnUserRecord(const tagUSERRECORDMSG& msg);
    void OnPluginData(const tagPLUGINMSG& msg);
    void OnCue(const tagCARDLIST& msg);
    void OnShaoBie(const tagSHAOBIEMSG& msg);
    void OnTakeChanceResult(const tagGUESSMSG& msg);
    void OnTributeStopped(const tagTRIBUTESTOPPEDMSG& msg);
    void OnBeanLock(const tagBEANLOCKMSG& msg);
    // The round-end step, a second after the play that closed the round.
    void OnRoundEnd();

    // ---- what the client asks when seats change ----
    // A seat left a table that keeps its watchers: the table starts afresh.
    void ResetTable();
    void HideFreeSeatMarks();
    void UpdateSeatCards(int seat);
    // The seat change succeeded: the table is rebuilt for the new seat.
    void OnChangeSeatScene();

    // ---- what the window reads and the player's choices ----
    // The multiple I chose (the start pane's chips), and whether there is a
    // choice at all.
    int GetMultiple() const { return m_nMultiple; }
    void SetMultiple(int multiple) { m_nMultiple = multiple; }
    BOOL HasMultiples() const { return m_game.bMultiples; }
    // Whether a round's plays are being laid (cleared when the round ends).
    // My returns still to make, the first due now.
    std::vector<tagPENDINGTRIBUTE>& PendingTributes() { return m_pendingTributes; }
    // The watcher's own values of the chat row, from the snapshot.
    void GetWatcherValues(int* beans, int* score) const;

private:
    // A play record in four steps: applied to the board, shown, answered
    // for me where the table answers (an automatic pass), and my turn shown
    // as that answer leaves it.
    struct PlayApplied;
    struct PlayAnswer;
    PlayApplied ApplyPlay(const tagPLAYMSG& msg);
    void ShowPlay(const tagPLAYMSG& msg, const PlayApplied& play);
    PlayAnswer AnswerPlay(const tagPLAYMSG& msg, const PlayApplied& play);
    void ShowTurn(const tagPLAYMSG& msg, const PlayApplied& play, const PlayAnswer& answer);
    // The seats the turn went past on its way to the next actor lose their
    // cards on the table.
    void TakeUpPassedOverSeats(const tagPLAYMSG& msg, const PlayApplied& play);

    BOOL IsMe(int seat) const;
    BOOL IsPlayer() const;
    // A watcher who may not see the watched seat's hand.
    BOOL IsBlindWatcher() const;
    int MyMask() const;
    int TimeLimit(TimeLimitSlot slot) const;
    // A player's wait in a phase: its limit, the grace and more seconds. The
    // server's table record gives the limits, any values: a sum past an int
    // is held at the int's edge.
    int LimitWithGrace(TimeLimitSlot slot, int moreSeconds = 0) const;
    int VoiceOf(int seat) const;
    // The held record is done: the receive gate opens.
    void EndHeldRecord();

    void RedrawFromSnapshot(const tagSNAPSHOTMSG& msg);
    // Multiples by my member flag, as the first table info sets them.
    void TakeMultiplesFromHead();
    // A watcher's watched seat emptied, or taken again by a new player.
    void FollowWatchedSeat(int seat);
    // A watcher's seat change: the hand parked by the snapshot of the seat
    // now watched becomes my seat's, and is drawn when it may be seen.
    void TakeParkedHand();
    // The pass, let or give-up mark and the shao mark of every seat from the
    // status words (values), the shao mark with its effect when flag is set.
    void UpdateSeatStateMarks(const int32_t values[kSeatCount], BOOL flag);
    // The waiting mark at the seat my started seat waits for; none when my
    // seat has not started or every seat has.
    void ShowStartWait();
    // My answer to a question before play is in: my mask and its buttons go.
    void ClearMyQuestion();
    // The pass, let and give-up marks the seats made in the running round,
    // shown where the status words show none.
    void ShowRoundMarks();
    void ClearSeats();
    // The placed seats out of play with their place marks; the place of
    // seatAsked (-1 when it has none).
    int MarkPlaces(const int32_t places[kSeatCount], int seatAsked);
    // The tribute entries of a game-over record as reel lines.
    void ReportGameOverTributes(const tagGAMEOVERMSG& msg);
    // A return that is due now: the returning seat may return, mine is queued.
    void QueueReturnDue(const tagRETURNTRIBUTEMSG& msg, LPCSTR kindWord);
    // A return whose cards have moved is no longer owed.
    void SettleReturn(const tagRETURNTRIBUTEMSG& msg);
    // No return is due any more (a game ends, the table starts afresh).
    void ClearReturnsDue();
    // While a return of mine is open, the table says to whom and how many.
    void ShowMyReturnDue();

    CGameLogic& m_board;
    const TableViewpoint& m_viewpoint;
    CTableView& m_view;
    CMarkView& m_marks;
    CPaneView& m_panes;
    CGameNetClient* m_client = nullptr;

    tagGAMESTATEBLOCK m_game;
    std::vector<tagPENDINGTRIBUTE> m_pendingTributes;
    int m_nMultiple = 1;
    // The highest multiple the start pane offers me.
    int m_nOfferedMultiple = 1;
    BOOL m_bRoundFlag = FALSE;
    int m_nRoundMarks[kSeatCount] = {};
    int m_nTurnCountdown = 0;
    DWORD m_dwTableStartTick = 0;
    int m_nBeanLockResult = 0;
    int m_bFirstTableRecord = 1;
    int m_bChatEntered = 0;
    int m_bWatchedSeatEmpty = 0;
    // The watcher's own values of the chat row, from the snapshot record.
    int m_nWatcherBeans = 0;
    int m_nWatcherScore = 0;
};
