#include "app/AppServices.h"

#include "platform/Crt.h"
#include "platform/controls/ControlHost.h"
#include "platform/resources/ResourceStyles.h"
#include "platform/system/Module.h"
#include "platform/system/Path.h"

#include <cstdarg>
#include <cstdio>

namespace {

CString g_exeFolderOverride;
CString g_logFileOverride;
std::function<time_t()> g_logClock;
MessageBoxPresenter g_presenter = nullptr;

// The one log lock of the process, made before anything can log.
CLock& LogLock() {
    static CLock lock;
    return lock;
}

CString LogFilePath() {
    if (!g_logFileOverride.IsEmpty())
        return g_logFileOverride;
    return GetExeFolder() + "Pellor2.log";
}

} // namespace

int WriteLog(LPCSTR format, ...) {
    CLockGuard guard(LogLock());
    char text[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args); // a longer message is cut
    va_end(args);

    const time_t now = g_logClock ? g_logClock() : time(nullptr);
    struct tm local {};
    localtime_s(&local, &now);
    char date[16], clock[16];
    strftime(date, sizeof date, "%m/%d/%y", &local);
    strftime(clock, sizeof clock, "%H:%M:%S", &local);

    FILE* file = fopen(NativePath(LogFilePath()).c_str(), "ab");
    if (!file)
        return 0;
    fprintf(file, "%s %s %s\r\n", date, clock, text);
    fclose(file); // closed before the lock is left, so lines never interleave
    return 0;
}

CString GetExeFolder() {
    if (!g_exeFolderOverride.IsEmpty())
        return g_exeFolderOverride;
    char path[MAX_PATH] = {};
    GetModuleFileName(nullptr, path, MAX_PATH);
    CString folder(path);
    return folder.Left(folder.ReverseFind('\\') + 1);
}

BOOL FileExists(LPCSTR path) {
    if (!path || !*path)
        return FALSE;
    const DWORD attributes = GetFileAttributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void SetExeFolderOverride(LPCSTR folder) {
    g_exeFolderOverride = folder ? folder : "";
}

void SetLogFileOverride(LPCSTR path) {
    g_logFileOverride = path ? path : "";
}

void SetLogClock(std::function<time_t()> now) {
    g_logClock = std::move(now);
}

void SetMessageBoxPresenter(MessageBoxPresenter presenter) {
    g_presenter = presenter;
}

int ShowMessageBox(CString text) {
    if (g_presenter)
        return g_presenter(text);
    WriteLog("Message box without a window: %s", (LPCSTR)text);
    return IDCANCEL;
}

CString ChatSysLine(LPCSTR text) {
    CString line;
    line.Format("\r\n<s=%d,c=#%02X#%02X#%02X,b>", 10, 0x00, 0x00, 0xFF);
    return line + (text ? text : "");
}

void AppendChatSysText(HWND chatCtrl, LPCSTR text) {
    if (!chatCtrl)
        return;
    const DispatchArgs args{DispatchValue::Text(ChatSysLine(text))};
    DispatchValue result;
    ControlInvocation call;
    call.id = kChatAppendTextId;
    call.args = &args;
    call.result = &result;
    ::SendMessage(chatCtrl, WM_CONTROLINVOKE, 0, reinterpret_cast<LPARAM>(&call));
}
