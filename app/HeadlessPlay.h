#pragma once
// Play without a screen: the program's seat presses start, is handed to
// trusteeship when the cards are dealt, and plays one whole game. Pictures
// of the table are saved while it plays and at game over, and their paths
// printed; then the program leaves the table and ends. Questions are
// answered OK and printed, since nobody is there to click.

#include "platform/window/Wnd.h"

#include <functional>
#include <string>

class CHeadlessPlay : public CWnd {
public:
    enum { kPollTimer = 1, kShotTimer = 2, kGiveUpTimer = 3 };
    enum { kPollMs = 1000 };
    struct Options {
        UINT shotEveryMs = 20000;
        // A game that has not ended by then ends the run all the same.
        UINT giveUpMs = 5 * 60 * 1000;
    };
    // Where each saved picture's path and each question go (stdout by default).
    std::function<void(const std::string&)> report;

    CHeadlessPlay();
    ~CHeadlessPlay() override;

    // Watches the table window's records and starts the timers.
    BOOL Start(const Options& options);
    // A game record reached the table window.
    void OnRecord(int id);
    BOOL IsGameOver() const { return m_bGameOver; }
    int GetShotCount() const { return m_nShots; }

    // The answer to every question while unattended.
    static int AnswerUnattended(const CString& text);

protected:
    void OnTimer(UINT_PTR id) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static LRESULT CALLBACK TableProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Shot(LPCSTR when);
    void Finish(LPCSTR why);
    // The line (GBK) goes to the log as it is and to the report in UTF-8; a
    // file path at its end is logged as the desktop writes it and reported as
    // the file system's own name.
    void Say(const std::string& line, LPCSTR gbkPath = nullptr);

    WNDPROC m_pfnTableProc = nullptr;
    HWND m_hTable = nullptr;
    BOOL m_bTableSeen = FALSE;
    BOOL m_bStartSent = FALSE;
    BOOL m_bTrustSent = FALSE;
    BOOL m_bGameOver = FALSE;
    BOOL m_bFinished = FALSE;
    int m_nShots = 0;
};
