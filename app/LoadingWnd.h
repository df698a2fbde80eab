#pragma once
// The loading splash: a borderless picture on top of the screen with a
// marker that runs along a track while the program connects and logs in.
// A worker thread moves the marker every 20 ms; the picture itself is drawn
// on the user-interface thread (the display is driven from that thread
// only), which keeps pumping messages during the login.

#include "platform/gdi/GdiWrappers.h"
#include "platform/window/Wnd.h"
#include "sprite/AppServices.h"
#include "sprite/WindowMessages.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

class CLoadingWnd : public CWnd {
public:
    enum { kBackBitmap = 3000, kMarkBitmap = 3002, kStepMs = 20 };
    enum { kMarkWidth = 32, kMarkHeight = 3, kMarkY = 109 };
    // Posted by the worker: the marker moved, draw it.

    CLoadingWnd();
    ~CLoadingWnd() override;

    // Shows the splash and starts the worker. FALSE when the pictures are
    // missing from the resources (nothing is shown then).
    BOOL Create();
    // Advances the marker by one, from 100 back to 0.
    void Step();
    // Draws picture and marker with the marker at the position.
    void SetProgress(int position);
    int GetProgress() const { return m_nProgress.load(); }
    BOOL IsWorkerRunning() const { return m_thread.joinable(); }
    // The marker's x for a position.
    static int MarkerX(int position) { return position * 200 / 100 + 10; }
    // The window's shape: the picture without its black pixels.
    static HRGN ShapeOf(CBitmap& picture);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    void OnDestroy() override;
    BOOL OnEraseBkgnd(CDC*) override { return TRUE; }

private:
    void RunWorker();
    void StopWorker();
    void DrawMarker(CDC& dc);

    std::atomic<int> m_nProgress;
    CBitmap m_bmpBack;
    CBitmap m_bmpMark;
    // The stop flag and the worker's wait: a stop wakes the worker at once.
    std::mutex m_lock;
    std::condition_variable m_wake;
    bool m_bStop = false;
    std::thread m_thread;
};
