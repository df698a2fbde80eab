// The screenshot: the whole main window, frame included, onto the clipboard
// and into a JPEG file named after the moment it was taken.

#include "app/AppServices.h"
#include "app/GameApp.h"
#include "app/MainFrame.h"
#include "app/Snapshot.h"
#include "knclientUI05/JpegBinding.h"
#include "knclientUI05/KnClientPublic.h"
#include "platform/CodePage.h"
#include "platform/Crt.h"
#include "platform/system/FileOps.h"
#include "platform/system/Path.h"
#include "platform/window/WindowDcs.h"

#include <ctime>

namespace {

std::function<SnapshotTime()> g_snapshotClock;

const char kSnapshotSaved[] = "截图已存储到%s";
const char kSnapshotFailed[] = "截图未能存储到%s";

BOOL IsFolder(LPCSTR path) {
    const DWORD attributes = GetFileAttributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

CString SnapshotFileName(LPCSTR folder, const SnapshotTime& t) {
    CString name;
    name.Format("%s\\%04d年%02d月%02d日%02d时%02d分%02d秒%03d.jpg", folder, t.year, t.month, t.day,
                t.hour, t.minute, t.second, t.millisecond);
    return name;
}

SnapshotTime SnapshotNow() {
    if (g_snapshotClock)
        return g_snapshotClock();
    timespec now{};
    timespec_get(&now, TIME_UTC);
    const time_t seconds = now.tv_sec;
    const int millisecond = int(now.tv_nsec / 1000000);
    struct tm local {};
    localtime_s(&local, &seconds);
    return SnapshotTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                        local.tm_min,         local.tm_sec,     millisecond};
}

void SetSnapshotClock(std::function<SnapshotTime()> clock) {
    g_snapshotClock = std::move(clock);
}

BOOL MakeFolderPath(LPCSTR folder) {
    CString path(folder);
    path.Replace('/', '\\');
    // Stepping by character: a double-byte character's trail byte may be '\\'.
    bool afterSeparator = true; // nothing to make before the first one
    for (int i = 0; i < path.GetLength();) {
        const int length = IsDBCSLeadByte(BYTE(path[i])) && i + 1 < path.GetLength() ? 2 : 1;
        const bool separator = length == 1 && path[i] == '\\';
        if (separator && !afterSeparator && path[i - 1] != ':')
            CreateDirectory(path.Left(i), nullptr);
        afterSeparator = separator;
        i += length;
    }
    CreateDirectory(path, nullptr);
    return IsFolder(path);
}

BOOL CGameApp::SaveSnapshot(LPCSTR folder, CString& out) {
    CWnd* main = m_pMainWnd;
    if (main == nullptr || !::IsWindow(main->m_hWnd))
        return FALSE;
    CMainFrame* frame = dynamic_cast<CMainFrame*>(main);
    // The notice, saved or not, goes to the chat area too.
    const auto tell = [&](LPCSTR format, LPCSTR file) {
        out.Format(format, DesktopPath(file).c_str());
        if (frame)
            frame->AppendChatSysText(out);
    };
    CRect rect;
    main->GetWindowRect(&rect);
    HBITMAP picture = nullptr;
    {
        CWindowDC windowDC(main);
        CDC memDC;
        memDC.CreateCompatibleDC(&windowDC);
        CBitmap bitmap;
        bitmap.CreateCompatibleBitmap(&windowDC, rect.Width(), rect.Height());
        CBitmap* old = memDC.SelectObject(&bitmap);
        memDC.BitBlt(0, 0, rect.Width(), rect.Height(), &windowDC, 0, 0, SRCCOPY);
        memDC.SelectObject(old);
        picture = HBITMAP(bitmap.Detach());
    }
    HGLOBAL dib = CreateDibFromBitmap(picture, BI_RGB, nullptr);
    // From here the bitmap is the clipboard's.
    if (!CopyBitmapToClipboard(picture))
        DeleteObject(picture);
    const CString file = SnapshotFileName(folder, SnapshotNow());
    if (dib == nullptr) {
        WriteLog("截图保存失败: no picture of the window for %s", (LPCSTR)file);
        tell(kSnapshotFailed, file);
        return FALSE;
    }
    const BOOL folderThere = MakeFolderPath(folder);
    const BOOL written = folderThere && CallWriteDibToJpeg(dib, file, 100) != 0;
    FreeDib(dib);
    if (!written) {
        // A failed write is not reported as a saved picture, and not kept
        // from the player either.
        WriteLog("截图保存失败: %s", (LPCSTR)file);
        tell(kSnapshotFailed, file);
        return FALSE;
    }
    tell(kSnapshotSaved, file);
    return TRUE;
}
