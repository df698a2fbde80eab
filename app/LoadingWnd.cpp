#include "app/LoadingWnd.h"

#include "platform/gdi/Dc.h"
#include "platform/resources/Resource.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/WindowDcs.h"
#include "sprite/GdiRoutines.h"

#include <vector>

CLoadingWnd::CLoadingWnd() : m_nProgress(0) {}

CLoadingWnd::~CLoadingWnd() {
    StopWorker();
    if (m_hWnd != nullptr)
        DestroyWindow();
}

HRGN CLoadingWnd::ShapeOf(CBitmap& picture) {
    const CSize size = GetBitmapSize(picture);
    std::vector<uint32_t> pixels;
    if (size.cx <= 0 || size.cy <= 0 || !ReadBitmapPixels(picture, size, pixels))
        return nullptr;
    // Black itself is the see-through colour, whatever the corner pixel is.
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    for (int y = 0; y < size.cy; ++y) {
        const uint32_t* row = pixels.data() + size_t(y) * size_t(size.cx);
        for (int x = 0; x < size.cx;) {
            if ((row[x] & 0xFFFFFF) == 0) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < size.cx && (row[x] & 0xFFFFFF) != 0)
                ++x;
            HRGN run = CreateRectRgn(start, y, x, y + 1);
            CombineRgn(shape, shape, run, RGN_OR);
            DeleteObject(run);
        }
    }
    return shape;
}

BOOL CLoadingWnd::Create() {
    HINSTANCE resources = AfxGetResourceHandle();
    if (!m_bmpBack.Attach(LoadBitmap(resources, MAKEINTRESOURCE(kBackBitmap))) ||
        !m_bmpMark.Attach(LoadBitmap(resources, MAKEINTRESOURCE(kMarkBitmap)))) {
        WriteLog("The loading picture is missing from the resources; no splash is shown");
        return FALSE;
    }
    const CSize size = GetBitmapSize(m_bmpBack);
    LPCTSTR className =
        AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, LoadCursor(nullptr, IDC_ARROW), nullptr);
    if (!CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, className, nullptr, WS_POPUP, 0, 0, size.cx,
                  size.cy, nullptr, nullptr))
        return FALSE;
    MoveWindow((GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2, size.cx, size.cy, FALSE);
    if (HRGN shape = ShapeOf(m_bmpBack))
        SetWindowRgn(shape, TRUE);
    ShowWindow(SW_SHOW);
    SetProgress(0);
    {
        // A splash made again in the same run animates again.
        std::lock_guard<std::mutex> guard(m_lock);
        m_bStop = false;
    }
    m_thread = std::thread(&CLoadingWnd::RunWorker, this);
    return TRUE;
}

void CLoadingWnd::RunWorker() {
    std::unique_lock<std::mutex> guard(m_lock);
    while (!m_bStop) {
        guard.unlock();
        const int next = m_nProgress.load() + 1;
        m_nProgress.store(next > 100 ? 0 : next);
        ::PostMessage(m_hWnd, WM_LOADING_STEP, 0, 0);
        guard.lock();
        m_wake.wait_for(guard, std::chrono::milliseconds(kStepMs), [this] { return m_bStop; });
    }
}

void CLoadingWnd::StopWorker() {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_bStop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void CLoadingWnd::Step() {
    const int next = m_nProgress.load() + 1;
    SetProgress(next > 100 ? 0 : next);
}

void CLoadingWnd::SetProgress(int position) {
    m_nProgress.store(position);
    if (m_hWnd == nullptr)
        return;
    CClientDC dc(this);
    const CSize size = GetBitmapSize(m_bmpBack);
    BlitBitmap(dc.GetSafeHdc(), 0, 0, size.cx, size.cy, m_bmpBack, 0, 0, SRCCOPY);
    DrawMarker(dc);
}

void CLoadingWnd::DrawMarker(CDC& dc) {
    BlitBitmap(dc.GetSafeHdc(), MarkerX(m_nProgress.load()), kMarkY, kMarkWidth, kMarkHeight,
               m_bmpMark, 0, 0, SRCCOPY);
}

LRESULT CLoadingWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LOADING_STEP) {
        SetProgress(m_nProgress.load());
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CLoadingWnd::OnPaint() {
    CPaintDC dc(this);
    const CSize size = GetBitmapSize(m_bmpBack);
    BlitBitmap(dc.GetSafeHdc(), 0, 0, size.cx, size.cy, m_bmpBack, 0, 0, SRCCOPY);
    DrawMarker(dc);
}

void CLoadingWnd::OnDestroy() {
    // No step is drawn once the window goes.
    StopWorker();
    CWnd::OnDestroy();
}
