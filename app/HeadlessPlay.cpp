#include "app/HeadlessPlay.h"

#include "app/GameApp.h"
#include "app/MainFrame.h"
#include "game/GameRecords.h"
#include "platform/CodePage.h"
#include "platform/system/Path.h"
#include "platform/window/NonClient.h"
#include "sprite/AppServices.h"
#include "sprite/WindowMessages.h"
#include "table/client/GameNetClient.h"
#include "table/window/GameWnd.h"

#include <cstdio>
#include <cstring>

namespace {

// Posted to itself: act on a record once the table has handled it.

CHeadlessPlay* g_play = nullptr;

} // namespace

CHeadlessPlay::CHeadlessPlay() = default;

CHeadlessPlay::~CHeadlessPlay() {
    if (m_hTable != nullptr && ::IsWindow(m_hTable) && m_pfnTableProc != nullptr)
        SetWindowLongPtr(m_hTable, GWLP_WNDPROC, LONG_PTR(m_pfnTableProc));
    if (g_play == this)
        g_play = nullptr;
    if (m_hWnd != nullptr)
        DestroyWindow();
}

int CHeadlessPlay::AnswerUnattended(const CString& text) {
    WriteLog("Unattended, answered OK: %s", (LPCSTR)text);
    printf("Pellor: %s\n", platform::GbkToUtf8((LPCSTR)text).c_str());
    fflush(stdout);
    return IDOK;
}

BOOL CHeadlessPlay::Start(const Options& options) {
    CMainFrame* frame = theApp.m_pMainWnd;
    CGameWnd* table = frame != nullptr ? frame->GetGameWnd() : nullptr;
    if (table == nullptr || !CreateEx(0, AfxRegisterWndClass(0), "headless play", WS_POPUP, 0, 0, 0,
                                      0, nullptr, nullptr))
        return FALSE;
    g_play = this;
    m_hTable = table->m_hWnd;
    m_pfnTableProc =
        WNDPROC(SetWindowLongPtr(m_hTable, GWLP_WNDPROC, LONG_PTR(&CHeadlessPlay::TableProc)));
    SetTimer(kPollTimer, kPollMs);
    SetTimer(kShotTimer, options.shotEveryMs);
    SetTimer(kGiveUpTimer, options.giveUpMs);
    return TRUE;
}

LRESULT CALLBACK CHeadlessPlay::TableProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CHeadlessPlay* play = g_play;
    if (play == nullptr || play->m_pfnTableProc == nullptr)
        return ::DefWindowProc(hwnd, message, wParam, lParam);
    if (message == WM_GAME_RECORD && lParam != 0 && wParam >= 8) {
        int32_t id = 0;
        memcpy(&id, reinterpret_cast<const void*>(lParam), sizeof id);
        play->PostMessage(WM_PLAY_RECORD, WPARAM(id), 0);
    }
    return CallWindowProc(play->m_pfnTableProc, hwnd, message, wParam, lParam);
}

void CHeadlessPlay::OnRecord(int id) {
    switch (id) {
    case kMsgTableInfo:
    case kMsgSnapshot:
        m_bTableSeen = TRUE;
        break;
    case kMsgDeal:
        if (!m_bTrustSent) {
            m_bTrustSent = TRUE;
            theClient.SendTrust(1, 0);
            Say("Pellor: the cards are dealt; the seat plays under trusteeship");
        }
        break;
    case kMsgGameOver:
        m_bGameOver = TRUE;
        Shot("at game over");
        Finish("the game is over");
        break;
    default:
        break;
    }
}

void CHeadlessPlay::OnTimer(UINT_PTR id) {
    switch (id) {
    case kPollTimer:
        if (m_bTableSeen && !m_bStartSent && theClient.m_pGameWnd != nullptr) {
            m_bStartSent = TRUE;
            theClient.SendStart(1);
            Say("Pellor: the seat pressed start");
        }
        break;
    case kShotTimer:
        if (m_bTrustSent && !m_bFinished)
            Shot("during play");
        break;
    case kGiveUpTimer:
        Shot("when the time ran out");
        Finish("the game did not end in time");
        break;
    default:
        break;
    }
}

LRESULT CHeadlessPlay::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PLAY_RECORD) {
        OnRecord(int(wParam));
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CHeadlessPlay::Shot(LPCSTR when) {
    CString notice;
    if (!theApp.SaveSnapshot(theApp.m_settings.m_strPhotoPath, notice)) {
        Say(std::string("Pellor: no screenshot could be saved ") + when);
        return;
    }
    ++m_nShots;
    const CString file = notice.Mid(int(strlen("截图已存储到")));
    Say(std::string("Pellor: screenshot ") + when + ": ", file);
}

void CHeadlessPlay::Finish(LPCSTR why) {
    if (m_bFinished)
        return;
    m_bFinished = TRUE;
    KillTimer(kPollTimer);
    KillTimer(kShotTimer);
    KillTimer(kGiveUpTimer);
    Say(std::string("Pellor: ") + why + "; leaving the table");
    if (theApp.m_pMainWnd != nullptr)
        theApp.m_pMainWnd->PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
}

void CHeadlessPlay::Say(const std::string& line, LPCSTR gbkPath) {
    const bool withPath = gbkPath != nullptr && *gbkPath != '\0';
    WriteLog("%s%s", line.c_str(), withPath ? DesktopPath(gbkPath).c_str() : "");
    const std::string text = platform::GbkToUtf8(line) + (withPath ? NativePath(gbkPath) : "");
    if (report)
        report(text);
    else {
        printf("%s\n", text.c_str());
        fflush(stdout);
    }
}
