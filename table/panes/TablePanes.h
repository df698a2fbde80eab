#pragma once

// The table's panes: the start pane with its start button and chips, the
// result pane with its play-again button, chips, banner and countdown, each
// seat's remnant, multiple and gousiji panes, the reel of messages and the
// last cards. They are sprites of the table window, which owns them; a pane
// is made once and then only given new values, and a button of a pane is
// made once while its id is listed, so showing a pane again never leaves a
// second button behind. What they ask of the window is their host
// (PaneHost.h).

#include "platform/CString.h"
#include "platform/PtrList.h"
#include "sprite/SpritePos.h"
#include "table/cards/SeatMarkPlaces.h"
#include "table/panes/PaneHost.h"
#include "table/records/TableView.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

class CGameLogic;
class CGameNetClient;
class CPaneImage;
class CSpriteButtonEx;
class CSpriteWnd;
class CTableRecords;
struct CTableWndFields;

class CTablePanes : public CPaneView {
public:
    // The panes live on the window's sprites, place themselves by the
    // fields' layout and read my multiple from the record handling.
    CTablePanes(const CGameLogic& board, CSpriteWnd& wnd, CPaneHost& host, CTableWndFields& fields,
                const CTableRecords& records);
    ~CTablePanes() override;
    CTablePanes(const CTablePanes&) = delete;
    CTablePanes& operator=(const CTablePanes&) = delete;

    void SetClient(CGameNetClient* client) { m_client = client; }
    // The layout file the panes read: the theme file.
    void SetLayoutFile(const CString& file) { m_strLayoutFile = file; }

    // ---- what the record handling shows (CPaneView) ----
    void ShowStartPane(BOOL show, int multiple) override;
    BOOL MayOfferStartPane() const override { return m_bStartPaneAllowed; }
    void ShowMultiplePane(int seat, int multiple, BOOL flag) override;
    void ShowRemnantPane(int seat, int count) override;
    void ShowGousjPane(int seat, int value) override;
    void ShowResultPane(const tagGAMEOVERMSG& gameOver) override;
    void SetFinishingOrder(const int placeSeat[kSeatCount]) override;
    void ResetPanes() override;
    void WriteReelLine(LPCSTR text) override { AddReelLine(text, FALSE); }
    void ClearReel() override { AddReelLine("", TRUE); }

    // The result pane's play-again button and chips may be pressed, or not.
    void ShowStartButtons(BOOL show);
    // 0 hides it; kind 4 beside the start pane, 5 on the result pane.
    void ShowCountdownPane(int seconds, int kind);
    // The reel of messages and the last cards, centred above my play; FALSE
    // hides them.
    void ShowReelPane(BOOL show);
    BOOL IsReelPaneShown() const { return m_bReelPaneShown; }
    void ShowLastCardPane(BOOL show);
    BOOL IsLastCardPaneShown() const { return m_bLastCardPaneShown; }
    // What stands above my play keeps this far from it.
    static constexpr int kPlayGap = 4;
    // Every pane and its buttons go (the table is left).
    void ClearAllPanes();
    // Appends a line to the reel list, or empties the list when clear is set.
    void AddReelLine(LPCSTR text, BOOL clear);
    // A second of the result's countdown passed: at 0 I start again (after
    // a wait when my beans are below the table's minimum).
    void OnResultCountdownTick();

private:
    // A button of a pane (BUTTONEX key index, or a chip of the BUTTON
    // section): the listed one when the id is up already.
    CSpriteButtonEx* MakePaneButton(int id, int keyIndex);
    CSpriteButtonEx* MakeChip(int id, int jetonIndex);
    // The chips of a pane (jeton keys from firstJeton), enabled up to the
    // table's largest multiple, the current one checked for a player.
    void MakeChips(int firstJeton);
    void RemoveChips();
    CSpriteButtonEx* PaneButton(int id);
    void RemovePaneButton(int id);
    void RemovePaneSprite(int id);
    void HidePaneSprite(int id);
    // The image of the id in the image list; made (loaded from the pane
    // layout file) and listed when missing. Null when it cannot be made.
    CPaneImage* FindOrMakePane(int imageId, const std::function<CPaneImage*(int id)>& make);
    // Puts the pane's sprite at the point and shows it; an existing sprite
    // of another image is replaced.
    POSITION PlacePane(int spriteId, CPaneImage* image, const CSpritePos& at, int layer,
                       BOOL animate = FALSE);
    // A seat's pane moved, as little as it takes, clear of what it would hide.
    CSpritePos ClearSeatPane(int spriteId, CPaneImage* pane, const CSpritePos& at);
    // The pane centred in the window, moved dy down.
    static CSpritePos CenteredPos(CPaneImage* image, int dy);
    // Centred, but above my play (the play buttons, my clock, my hand) where
    // the table is high enough for it.
    CSpritePos AboveMyPlay(CPaneImage* image);
    // Without a client nothing can be sent: the table is treated as watched.
    bool IsWatcher() const;

    const CGameLogic& m_board;
    CSpriteWnd& m_wnd;
    CPaneHost& m_host;
    CTableWndFields& m_fields;
    const CTableRecords& m_records;
    CGameNetClient* m_client = nullptr;
    CString m_strLayoutFile;

    // The buttons of the panes, each with the layout key it was made from.
    struct PaneButtonEntry {
        std::unique_ptr<CSpriteButtonEx> button;
        int key;
    };
    std::map<int, PaneButtonEntry> m_paneButtons;
    // Cleared once a result pane has been up: the start pane comes no more.
    int m_bStartPaneAllowed = 1;
    // The finishing order of the last game, drawn by the result pane.
    int m_placeSeat[kSeatCount] = {};
    int m_nResultCountdown = 30;
    int m_bReelPaneShown = 0;
    int m_bLastCardPaneShown = 0;
    std::vector<CString> m_reelLines;
};
