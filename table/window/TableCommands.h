#pragma once

// The player's commands: the plays (take out, shao, pass, let, give up), the
// hint, the point, revolution and gousiji answers, tribute and its return,
// buying a three, the cues to partners, trusteeship, start and the chips,
// and the answers a clock gives when it runs out; and the table's own
// commands: its dialogs, the sound panel and the pane toggles. Each checks
// my situation first and refuses with a notice where the rules say no; the
// table's state changes only when the records come back. They reach the
// player through the table window's buttons, mouse and clocks, and act on
// the table through its command view (CommandView.h).

#include "game/Cards.h"
#include "platform/Types.h"

#include <vector>

class CCardLayout;
class CCommandView;
class CGameLogic;
class CGameNetClient;
class CTablePanes;
class CTableRecords;
struct CTableWndFields;

class CTableCommands {
public:
    // The commands check my situation on the board and the window's fields
    // (my seat, the layout), raise and read my hand's cards, toggle the
    // panes and keep my multiple in the record handling.
    CTableCommands(CGameLogic& board, const CTableWndFields& fields, CCommandView& view,
                   CCardLayout& hands, CTablePanes& panes, CTableRecords& records)
        : m_board(board), m_fields(fields), m_view(view), m_hands(hands), m_panes(panes),
          m_records(records) {}
    CTableCommands(const CTableCommands&) = delete;
    CTableCommands& operator=(const CTableCommands&) = delete;

    void SetClient(CGameNetClient* client) { m_client = client; }

    void OnTakeOut();
    void OnShaoPai();
    void OnPass();
    void OnGaveUp();
    void OnRangpai();
    void OnSearch();
    void OnDeclPoint();
    void OnDeclPointOpen();
    void OnDeclNoPoint();
    void OnReturnTributeCmd();
    void OnRevolutionCmd(BOOL yes);
    void OnGousijiCmd(BOOL yes);
    void OnBuyThree();
    void OnPayTribute();
    void OnLeftCue();
    void OnRightCue();
    void OnTrust();
    void OnTrustExit();
    void OnStartCmd();
    void OnChip(UINT id);
    // My turn's clock (end event 3000..3005) ran out: its answer for me.
    void AnswerClock(int event);

    // ---- the table's own commands: its dialogs, panels and panes ----
    // The history shows or hides (its button, and the main frame's hot key).
    void OnHistory();
    void OnPrevturn();
    void OnSound();
    void OnExchange();
    void OnReel();
    void OnReelOpen();
    void OnMagnif();
    void OnMagnifOpen();
    void OnTakeChance();
    // The button hide goes and the button show comes in its place.
    void SwapButtons(int hide, int show);
    // My turn begins: the looks at what went before (the last round, the
    // reel, the score history) close, so the play to answer is in view.
    void StepAsideForMyTurn();

    // A new play was shown: the next hint searches afresh.
    void ResetHints() { m_nHintIndex = 0; }
    int GetHintIndex() const { return m_nHintIndex; }

private:
    void ShowStringNotice(UINT id);
    // My raised cards into a kHandSize buffer; their count.
    int SelectedCodes(int* codes) const;
    // A play of the kind with the cards; the play sender's result.
    int SendPlay(int kind, const int* codes, int count);
    // Take out (16) or shao (4) of the raised cards.
    void PlaySelected(int kind);
    // Pass, let or give up: only with the mask's bit and while input is allowed.
    void SendNoCardPlay(int kind, int maskBit);
    void SendPoint(int value);
    // The cards raised in a partner's shown hand as a cue to that partner.
    void SendCue(BOOL left);

    CGameLogic& m_board;
    const CTableWndFields& m_fields;
    CCommandView& m_view;
    CCardLayout& m_hands;
    CTablePanes& m_panes;
    CTableRecords& m_records;
    CGameNetClient* m_client = nullptr;
    // Search's hints, the next one to raise, and the round the list was
    // found for: its plays and the play to beat.
    int m_nHintIndex = 0;
    std::vector<CardType> m_hints;
    size_t m_nHintPlays = 0;
    CardType m_hintToBeat = 0;
    // My last play that went out: the play counter and my mask then (-1
    // none), its kind and cards (sorted), and whether the clock handed the
    // turn to the table instead.
    struct SentPlay {
        int counter = -1;
        int mask = -1;
        int kind = 0;
        std::vector<int> cards;
        bool handedOver = false;
    };
    SentPlay m_sent;
};
