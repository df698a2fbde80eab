// The start and result panes with their start buttons and chips, the
// pane helpers, and the clearing of the panes.

#include "table/panes/TablePanes.h"

#include "game/Seats.h"
#include "sprite/AppServices.h"
#include "sprite/GameLayout.h"
#include "sprite/SpriteButton.h"
#include "sprite/SpriteWnd.h"
#include "table/client/GameNetClient.h"
#include "table/common/GameWndActionRules.h"
#include "table/common/TableWndFields.h"
#include "table/panes/ResultPaneImage.h"
#include "table/panes/TextPaneImage.h"
#include "table/records/TableRecords.h"

namespace {

enum PaneIds {
    kStartPaneSprite = 500,
    kResultPaneSprite = 501,
    kReelPaneSprite = 502,
    kCountdownPaneSprite = 515,
    kLastCardPaneSprite = 516,
    kStartPaneImage = 1063,
    kResultPaneImage = 1009,
    // Not 1015: that is the remnant pane of view 1, which the image list
    // would hand out in its place.
    kResultCoinPaneImage = 1062,
    kStartButtonId = 200,
    kRStartButtonId = 201,
    kPaneLayer = 500,
    kChipCount = 5,
    kStartChipsFirst = 0,  // "jetonA1"
    kResultChipsFirst = 5, // "jetonB1"
};

// A chip: a check button whose check shows the multiple chosen now. A
// press starts the game at the chip's multiple, so the chip that is
// checked takes a press as well; a press that ends off the chip leaves it
// checked as it was.
class CChipButton : public CSpriteButtonEx {
public:
    CChipButton() : CSpriteButtonEx(TRUE) {}
    void OnLButtonDown(UINT flags, int x, int y) override {
        m_bWasChecked = IsDown();
        if (m_bWasChecked)
            SetCheck(FALSE, FALSE);
        CSpriteButtonEx::OnLButtonDown(flags, x, y);
    }
    void OnLButtonUp(UINT flags, int x, int y) override {
        CSpriteButtonEx::OnLButtonUp(flags, x, y);
        if (m_bWasChecked && !IsDown())
            SetCheck(TRUE, TRUE);
        m_bWasChecked = FALSE;
    }

private:
    BOOL m_bWasChecked = FALSE;
};

// The key a chip is listed under: apart from the BUTTONEX keys.
int ChipKey(int jetonIndex) {
    return CGameLayout::BX_COUNT + jetonIndex;
}

bool IsCoinRoom(const CGameLogic& board) {
    return (board.GetRuleFlags() & kRuleRoomMode) != 0;
}

} // namespace

CTablePanes::CTablePanes(const CGameLogic& board, CSpriteWnd& wnd, CPaneHost& host,
                         CTableWndFields& fields, const CTableRecords& records)
    : m_board(board), m_wnd(wnd), m_host(host), m_fields(fields), m_records(records) {}

CTablePanes::~CTablePanes() = default;

bool CTablePanes::IsWatcher() const {
    return m_client == nullptr || m_fields.viewpoint.bWatcher;
}

CPaneImage* CTablePanes::FindOrMakePane(int imageId,
                                        const std::function<CPaneImage*(int id)>& make) {
    CSpriteImage* found = nullptr;
    if (m_wnd.GetImageList().Find(imageId, &found))
        return dynamic_cast<CPaneImage*>(found);
    CPaneImage* pane = make(imageId);
    if (pane == nullptr)
        return nullptr;
    // Made once: it stays in the image list while its sprite comes and goes.
    pane->m_bAutoFree = FALSE;
    m_wnd.GetImageList().Add(pane);
    return pane;
}

CSpritePos CTablePanes::CenteredPos(CPaneImage* image, int dy) {
    const SIZE size = image->GetSize(nullptr);
    return PosAt(-size.cx / 2, -size.cy / 2 + dy, 4);
}

POSITION CTablePanes::PlacePane(int spriteId, CPaneImage* image, const CSpritePos& at, int layer,
                                BOOL animate) {
    CSpriteImage* found = nullptr;
    POSITION imagePos = m_wnd.GetImageList().Find(image->m_nId, &found);
    if (imagePos == nullptr || found != image)
        return nullptr;
    POSITION pos = m_wnd.FindSpritePos(spriteId);
    if (pos != nullptr && m_wnd.GetSpriteAt(pos)->posImage != imagePos) {
        m_wnd.RemoveSprite(pos);
        pos = nullptr;
    }
    if (pos == nullptr) {
        auto* line = new CFixedLine;
        line->SetFrom(at.x, at.y, at.anchor, 255);
        pos = m_wnd.AddSprite(imagePos, line, spriteId, layer, 0, 0, nullptr, FALSE);
    } else {
        m_wnd.MoveSprite(pos, at.x, at.y, at.anchor);
    }
    if (!m_wnd.StartSprite(pos, kNotifyNone, 0, layer, 0, animate))
        WriteLog("The table could not show pane %d", spriteId);
    m_wnd.InvalidateSprite(pos);
    return pos;
}

void CTablePanes::RemovePaneSprite(int id) {
    if (POSITION pos = m_wnd.FindSpritePos(id))
        m_wnd.RemoveSprite(pos);
}

void CTablePanes::HidePaneSprite(int id) {
    if (POSITION pos = m_wnd.FindSpritePos(id))
        m_wnd.StopSprite(pos, TRUE, TRUE);
}

CSpriteButtonEx* CTablePanes::PaneButton(int id) {
    auto it = m_paneButtons.find(id);
    if (it == m_paneButtons.end() || m_wnd.FindItem(id) != it->second.button.get())
        return nullptr;
    return it->second.button.get();
}

void CTablePanes::RemovePaneButton(int id) {
    auto it = m_paneButtons.find(id);
    if (it == m_paneButtons.end())
        return;
    if (m_wnd.FindItem(id) == it->second.button.get())
        m_wnd.RemoveItem(id);
    m_paneButtons.erase(it);
}

CSpriteButtonEx* CTablePanes::MakePaneButton(int id, int keyIndex) {
    auto it = m_paneButtons.find(id);
    if (it != m_paneButtons.end() && it->second.key == keyIndex && PaneButton(id) != nullptr)
        return it->second.button.get();
    RemovePaneButton(id);
    if (m_fields.pLayout == nullptr || keyIndex < 0 || keyIndex >= CGameLayout::BX_COUNT)
        return nullptr;
    const CThemeImagePair& record = m_fields.pLayout->m_buttonsEx[keyIndex];
    auto button = std::make_unique<CSpriteButtonEx>();
    const HBITMAP channel = record.m_channel.GetSafeHandle() ? HBITMAP(record.m_channel) : nullptr;
    // A failed make (an id listed by someone else, a missing picture) leaves
    // nothing behind.
    if (!record.IsLoaded() ||
        !button->CreateEx(record.m_bitmap, channel, record.m_nSameChannel, &m_wnd, record.m_pos.x,
                          record.m_pos.y, record.m_pos.anchor, record.m_nLayer, id)) {
        WriteLog("The table could not make button %d (%s)", id,
                 CGameLayout::kButtonExNames[keyIndex]);
        return nullptr;
    }
    CSpriteButtonEx* made = button.get();
    m_paneButtons[id] = PaneButtonEntry{std::move(button), keyIndex};
    return made;
}

CSpriteButtonEx* CTablePanes::MakeChip(int id, int jetonIndex) {
    auto it = m_paneButtons.find(id);
    const int key = ChipKey(jetonIndex);
    if (it != m_paneButtons.end() && it->second.key == key && PaneButton(id) != nullptr)
        return it->second.button.get();
    RemovePaneButton(id);
    if (m_fields.pLayout == nullptr)
        return nullptr;
    const CThemeImage& record = m_fields.pLayout->m_jetons[jetonIndex];
    std::unique_ptr<CSpriteButtonEx> button = std::make_unique<CChipButton>();
    if (!record.IsLoaded() ||
        !button->Create(record.m_bitmap, record.m_nKind, record.m_nMask, &m_wnd, record.m_pos.x,
                        record.m_pos.y, record.m_pos.anchor, record.m_nLayer, id)) {
        WriteLog("The table could not make chip %d (%s)", id, CGameLayout::kJetonNames[jetonIndex]);
        return nullptr;
    }
    CSpriteButtonEx* made = button.get();
    m_paneButtons[id] = PaneButtonEntry{std::move(button), key};
    return made;
}

void CTablePanes::MakeChips(int firstJeton) {
    const int largest = m_board.GetTableHead().nMaxMultiple;
    const bool watcher = IsWatcher();
    for (int i = 0; i < kChipCount; ++i) {
        const int multiple = kChipMultiples[i];
        CSpriteButtonEx* chip = MakeChip(kChipBaseId + multiple, firstJeton + i);
        if (chip == nullptr)
            continue;
        chip->Enable(ChipEnabled(multiple, largest, watcher));
        chip->SetCheck(!watcher && multiple == m_records.GetMultiple(), FALSE);
    }
}

void CTablePanes::RemoveChips() {
    for (int multiple : kChipMultiples)
        RemovePaneButton(kChipBaseId + multiple);
}

void CTablePanes::ShowStartPane(BOOL show, int) {
    const bool coinRoom = IsCoinRoom(m_board);
    const bool chips = !coinRoom && m_records.HasMultiples();
    if (!show) {
        if (chips)
            RemoveChips();
        RemovePaneButton(kStartButtonId);
        RemovePaneSprite(kStartPaneSprite);
        RemovePaneSprite(kCountdownPaneSprite);
        return;
    }
    // Made anew on every show: its variant follows the multiples flag.
    RemovePaneSprite(kStartPaneSprite);
    const CString file = m_strLayoutFile;
    const BOOL variant = coinRoom ? FALSE : BOOL(m_records.HasMultiples());
    CPaneImage* pane = FindOrMakePane(kStartPaneImage, [&](int id) -> CPaneImage* {
        auto* text = new CTextPaneImage(id);
        text->LoadTextPane(file, "PANE_START", variant);
        return text;
    });
    if (pane != nullptr)
        PlacePane(kStartPaneSprite, pane, CenteredPos(pane, 0), kPaneLayer);
    if (chips)
        MakeChips(kStartChipsFirst);
    const int key =
        coinRoom || !m_records.HasMultiples() ? CGameLayout::BX_STARTMULTI : CGameLayout::BX_START;
    if (CSpriteButtonEx* start = MakePaneButton(kStartButtonId, key))
        start->Enable(!IsWatcher());
}

void CTablePanes::ShowResultPane(const tagGAMEOVERMSG& gameOver) {
    const bool coinRoom = IsCoinRoom(m_board);
    const CString file = m_strLayoutFile;
    const int imageId = coinRoom ? kResultCoinPaneImage : kResultPaneImage;
    CPaneImage* image = FindOrMakePane(imageId, [&](int id) -> CPaneImage* {
        if (coinRoom) {
            auto* coin = new CResultCoinPaneImage(id);
            coin->LoadResultCoinPane(file, "PANE_RESULT");
            return coin;
        }
        auto* score = new CResultPaneImage(id);
        score->LoadResultPane(file, "PANE_RESULT");
        return score;
    });
    // The marks of the plays of the game that ended do not outlive it; the
    // finishing places stay beside the result.
    m_host.ClearPlayMarks();
    const int me = m_fields.viewpoint.nMySeat;
    CSpritePos paneAt = PosAt(0, 0, 4);
    if (auto* pane = dynamic_cast<CResultPaneImage*>(image)) {
        pane->SetMySeat(me);
        pane->SetResult(&gameOver, m_placeSeat);
        paneAt = CenteredPos(pane, 50);
        PlacePane(kResultPaneSprite, pane, paneAt, kPaneLayer);
    }
    const int result = IsSeat(me) ? gameOver.nResult[me] : 0;
    if (result != 0) {
        if (result == 2)
            m_host.ShowResultBanner("胜利", kWinSprite, paneAt.y);
        else if (result == 1)
            m_host.ShowResultBanner("失败", kLoseSprite, paneAt.y);
    }
    if (CSpriteButtonEx* again = MakePaneButton(kRStartButtonId, CGameLayout::BX_RSTART))
        again->Enable(!IsWatcher());
    m_bStartPaneAllowed = 0;
    if (!coinRoom && m_records.HasMultiples())
        MakeChips(kResultChipsFirst);
    // The table's own countdown is its first time limit.
    m_nResultCountdown = m_board.GetTableHead().nTimeLimit[kLimitResultCountdown];
    if (m_nResultCountdown > 0) {
        ShowCountdownPane(m_nResultCountdown, kCountdownOnResult);
        m_wnd.SetTimer(kResultCountdownTimer, 1000, nullptr);
    }
}

void CTablePanes::ShowStartButtons(BOOL show) {
    const bool watcher = IsWatcher();
    if (CSpriteButtonEx* again = PaneButton(kRStartButtonId))
        again->Enable(show && !watcher);
    if (!m_records.HasMultiples())
        return;
    const int largest = m_board.GetTableHead().nMaxMultiple;
    for (int multiple : kChipMultiples) {
        CSpriteButtonEx* chip = PaneButton(kChipBaseId + multiple);
        if (chip == nullptr)
            continue;
        chip->Enable(show && ChipEnabled(multiple, largest, watcher));
        if (!watcher && multiple == m_records.GetMultiple())
            chip->SetCheck(TRUE, TRUE);
    }
}

void CTablePanes::ResetPanes() {
    HidePaneSprite(kResultPaneSprite);
    // The result pane's buttons go with it: a "play again" left on the
    // table would start a game that is already running.
    RemovePaneButton(kRStartButtonId);
    for (int i = 0; i < kChipCount; ++i) {
        const int id = kChipBaseId + kChipMultiples[i];
        auto it = m_paneButtons.find(id);
        if (it != m_paneButtons.end() && it->second.key == ChipKey(kResultChipsFirst + i))
            RemovePaneButton(id);
    }
    // Nor may its countdown start one.
    m_wnd.KillTimer(kResultCountdownTimer);
    m_wnd.KillTimer(kAutoStartTimer);
    m_nResultCountdown = -1;
    ShowCountdownPane(0, kCountdownOnResult);
    RemovePaneSprite(kWinSprite);
    RemovePaneSprite(kLoseSprite);
}

void CTablePanes::ClearAllPanes() {
    RemovePaneButton(kStartButtonId);
    RemoveChips();
    RemovePaneSprite(kStartPaneSprite);
    RemovePaneSprite(kResultPaneSprite);
    RemovePaneButton(kRStartButtonId);
    for (int id : {int(kCountdownPaneSprite), int(kWinSprite), int(kLoseSprite), int(kWaitSprite),
                   int(kReelPaneSprite)})
        RemovePaneSprite(id);
    HidePaneSprite(kLastCardPaneSprite);
    m_bReelPaneShown = m_bLastCardPaneShown = 0;
}

void CTablePanes::OnResultCountdownTick() {
    if (m_nResultCountdown < 0)
        return;
    if (m_nResultCountdown > 0)
        --m_nResultCountdown;
    ShowCountdownPane(m_nResultCountdown, kCountdownOnResult);
    if (m_nResultCountdown != 0)
        return;
    m_wnd.KillTimer(kResultCountdownTimer);
    m_nResultCountdown = -1;
    const int me = m_client != nullptr ? m_fields.viewpoint.nMySeat : -1;
    if (m_board.GetUserInfo(me).nBeans < m_board.GetTableHead().nMinBeans)
        m_wnd.SetTimer(kAutoStartTimer, 10000, nullptr);
    else if (m_client != nullptr)
        m_client->SendStart(m_records.GetMultiple());
}

void CTablePanes::SetFinishingOrder(const int placeSeat[kSeatCount]) {
    for (int place = 0; place < kSeatCount; ++place)
        m_placeSeat[place] = placeSeat[place];
}
